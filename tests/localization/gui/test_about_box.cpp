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
};

void TestAboutBox::showsTheProductAndOpensItsLinks()
{
    RecordingOpener opener;
    localization::TAboutBox box(opener);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QStringList texts;
    for (const QLabel* label : box.findChildren<QLabel*>())
        texts.append(label->text());
    QVERIFY(texts.contains(QStringLiteral("Barvik pipe cutting system")));
    QVERIFY(texts.contains(QStringLiteral("Ver. 4.7.427")));

    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("imgLogo")), Qt::LeftButton);
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("lbWeb")), Qt::LeftButton);
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("lbMail")), Qt::LeftButton);
    QCOMPARE(opener.opened.size(), 3);
    QCOMPARE(opener.opened[0], localization::TAboutBox::webSite());
    QCOMPARE(opener.opened[2].scheme(), QStringLiteral("mailto"));
    QCOMPARE(QUrlQuery(opener.opened[2]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Barvik pipe cutting system"));

    QTest::mouseClick(box.findChild<QPushButton*>(), Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
