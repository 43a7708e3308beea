// The About box, offscreen: its texts and where its links lead.

#include "localization/widgets/ridizavi.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

namespace {

class RecordingOpener final : public localization::UrlOpener {
public:
    void open(const QUrl& url) override { opened.append(url); }
    QList<QUrl> opened;
};

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheProductAndOpensItsLinks();
    void emptyContactsHideTheirRows();
};

void TestAboutBox::showsTheProductAndOpensItsLinks()
{
    RecordingOpener opener;
    const localization::MakerContacts contacts{QStringLiteral("https://maker.test/"), QStringLiteral("help@maker.test"),
                                               QStringLiteral("@maker"), QStringLiteral("+00 1")};
    localization::TAboutBox box(opener, contacts);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QStringList texts;
    for (const QLabel* label : box.findChildren<QLabel*>())
        texts.append(label->text());
    QVERIFY(texts.contains(QStringLiteral("Barvik pipe cutting system")));
    QVERIFY(texts.contains(QStringLiteral("Ver. 4.7.427")));
    for (const QString& shown : {contacts.web, contacts.mail, contacts.messenger, contacts.phone})
        QVERIFY2(texts.contains(shown), qPrintable(shown));

    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("imgLogo")), Qt::LeftButton);
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("lbWeb")), Qt::LeftButton);
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("lbMail")), Qt::LeftButton);
    QCOMPARE(opener.opened.size(), 3);
    QCOMPARE(opener.opened[0], QUrl(contacts.web));
    QCOMPARE(opener.opened[1], QUrl(contacts.web));
    QCOMPARE(opener.opened[2].path(), contacts.mail);
    QCOMPARE(opener.opened[2].scheme(), QStringLiteral("mailto"));
    QCOMPARE(QUrlQuery(opener.opened[2]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Barvik pipe cutting system"));

    QTest::mouseClick(box.findChild<QPushButton*>(), Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

// The build's default: no address of the maker at all, so no row for one and a logo that leads nowhere.
void TestAboutBox::emptyContactsHideTheirRows()
{
    RecordingOpener opener;
    localization::TAboutBox box(opener, localization::MakerContacts{});
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QStringList texts;
    for (const QLabel* label : box.findChildren<QLabel*>())
        texts.append(label->text());
    for (const char* caption : {"WEB:", "EMAIL:", "Messenger:", "Phone:"})
        QVERIFY2(!texts.contains(QLatin1String(caption)), caption);
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("imgLogo")), Qt::LeftButton);
    QVERIFY(opener.opened.isEmpty());
}

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
