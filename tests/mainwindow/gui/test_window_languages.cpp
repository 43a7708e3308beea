// The interface language in the window: switching it at run time, the start in the saved language, a
// catalog that is refused, and the help of the language. The catalogs are the fixtures, built at start.

#include "window_fixture.h"

#include "localization/catalogs.h"
#include "localization/language_settings.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

using calculation::GridModel;

namespace {

constexpr int kFirst = GridModel::kFirstDataRow;

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList itemTexts(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

} // namespace

class TestWindowLanguages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void switchingRetranslatesTheWindowAndKeepsWhatWasChosen();
    void startsInTheSavedLanguage();
    void reportsACatalogWithoutUtf8Once();
    void helpOpensTheManualOfTheLanguage();

private:
    QString settings() const { return m_dir.filePath(QStringLiteral("rodplan.db")); }
    void save(const char* content) const
    {
        QFile file(settings());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    int languageItem(const char* code) const
    {
        const QStringList items = itemTexts(m.find<QComboBox>("cmbLang"));
        for (int i = 0; i < items.size(); ++i) {
            if (items[i].startsWith(QLatin1String(code)))
                return i;
        }
        return -1;
    }

    WindowFixture m;
    QTemporaryDir m_dir;
};

void TestWindowLanguages::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString locale = m_dir.filePath(QStringLiteral("locale"));
    QDirIterator sources(QStringLiteral(BARVIK_TEST_DATA "/window_languages"), {QStringLiteral("default.po")},
                         QDir::Files, QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        const QString po = sources.next();
        QDir folder = QFileInfo(po).dir();
        folder.cdUp();
        const QString code = folder.dirName();
        const QString messages = locale + u'/' + code + QStringLiteral("/LC_MESSAGES");
        QVERIFY(QDir().mkpath(messages));
        QProcess msgfmt;
        msgfmt.start(QStringLiteral(BARVIK_MSGFMT),
                     {QStringLiteral("-o"), messages + QStringLiteral("/default.mo"), po});
        QVERIFY(msgfmt.waitForFinished(30000));
        QCOMPARE(msgfmt.exitCode(), 0);
    }
    // A language folder without a catalog is not offered.
    QVERIFY(QDir().mkpath(locale + QStringLiteral("/xx/LC_MESSAGES")));
    localization::setLocaleFolder(locale);
    localization::setSettingsFile(settings());
    m.ownSettings = false;
}

void TestWindowLanguages::init()
{
    QFile::remove(settings());
}

void TestWindowLanguages::cleanup()
{
    m.window.reset();
    localization::useLanguage();
}

void TestWindowLanguages::cleanupTestCase()
{
    localization::setLocaleFolder({});
    localization::setSettingsFile({});
}

void TestWindowLanguages::switchingRetranslatesTheWindowAndKeepsWhatWasChosen()
{
    QVERIFY(m.open());
    auto* languages = m.find<QComboBox>("cmbLang");
    QCOMPARE(itemTexts(languages), QStringList({QStringLiteral("de_de - Deutsch"), QStringLiteral("en_us - English"),
                                                QStringLiteral("qq_qq")}));
    QCOMPARE(languages->currentIndex(), 1);
    // What the user chose and typed before the change.
    m.find<QComboBox>("cbxFormat")->setCurrentIndex(3);
    m.find<QComboBox>("cbxDisplay")->setCurrentIndex(2);
    m.find<QComboBox>("cbxPrint")->setCurrentIndex(0);
    GridModel* stocks = m.grid("sgStock");
    WindowFixture::fill(*stocks, {{"Bar", "6000", "2", "", "Yes"}, {"Tube", "3000", "1", "", "No"}});
    stocks->setCell(0, GridModel::kTotalsRow, QStringLiteral("Total"));
    m.find<QLabel>("lbQuality")->setText(QStringLiteral("Optimal: no plan uses fewer bars."));

    languages->setCurrentIndex(languageItem("de_de"));

    QVERIFY(m.window->windowTitle().endsWith(QStringLiteral("[*] - Barvik Rohrzuschnitt")));
    QCOMPARE(m.find<QPushButton>("btnCalc")->text(), QStringLiteral("Berechnen"));
    QCOMPARE(m.find<QPushButton>("btnPartSave")->toolTip(), QStringLiteral("Teile speichern"));
    QCOMPARE(m.find<QLabel>("lbGap")->text(), QStringLiteral("Sägeblattstärke:"));
    QCOMPARE(m.find<QAction>("H2")->text(), QStringLiteral("Inhalt(&I)..."));
    QCOMPARE(m.find<QComboBox>("cbxDisplay")->currentText(), QStringLiteral("Bezeichnung X Anzahl"));
    QCOMPARE(m.find<QComboBox>("cbxPrint")->currentText(), QStringLiteral("Alles drucken"));
    QCOMPARE(m.find<QComboBox>("cbxFormat")->currentIndex(), 3);
    QCOMPARE(languages->currentIndex(), languageItem("de_de"));
    // Headers rewritten, the cells kept, the Priority words in the new language.
    QCOMPARE(m.grid("sgPart")->cell(0, GridModel::kHeaderRow), QStringLiteral("Bezeichnung"));
    QCOMPARE(m.grid("sgLayout")->cell(6, GridModel::kHeaderRow), QStringLiteral("Restbezeichnung"));
    QCOMPARE(stocks->cell(0, GridModel::kTotalsRow), QStringLiteral("Summe"));
    QCOMPARE(stocks->cell(0, kFirst), QStringLiteral("Bar"));
    QCOMPARE(stocks->cell(4, kFirst), QStringLiteral("Ja"));
    QCOMPARE(stocks->cell(4, kFirst + 1), QStringLiteral("Nein"));
    QCOMPARE(m.find<QLabel>("lbQuality")->text(), QStringLiteral("Optimal: no plan uses fewer bars."));
    // The Priority editor offers the words of the new language.
    m.focusCell("sgStock", kFirst, 4);
    m.view("sgStock")->edit(m.view("sgStock")->currentIndex());
    auto* priority = qobject_cast<QComboBox*>(m.editor("sgStock"));
    QVERIFY(priority);
    QCOMPARE(itemTexts(priority).mid(0, 2), QStringList({QStringLiteral("Ja"), QStringLiteral("Nein")}));
    QCOMPARE(fileContent(settings()), QByteArray("[Common]\r\nLanguage=de_de\r\n"));

    // And back: the English design texts again.
    languages->setCurrentIndex(languageItem("en_us"));
    QCOMPARE(m.find<QPushButton>("btnCalc")->text(), QStringLiteral("Calc"));
    QCOMPARE(m.find<QComboBox>("cbxDisplay")->currentText(), QStringLiteral("Label X Qty"));
    QCOMPARE(stocks->cell(4, kFirst), QStringLiteral("Yes"));
    QVERIFY(m.dialogs.titled.isEmpty());
}

void TestWindowLanguages::startsInTheSavedLanguage()
{
    save("[Common]\nLanguage=de_de\n");
    QVERIFY(m.open());
    QVERIFY(m.window->windowTitle().endsWith(QStringLiteral("[*] - Barvik Rohrzuschnitt")));
    QCOMPARE(m.find<QComboBox>("cmbLang")->currentIndex(), languageItem("de_de"));
    QCOMPARE(m.grid("sgStock")->cell(0, GridModel::kTotalsRow), QStringLiteral("Summe"));
    m.window.reset();

    // A saved language without a catalog: English, and English selected, so that the list never shows empty.
    save("[Common]\nLanguage=xx\n");
    QVERIFY(m.open());
    QCOMPARE(m.window->windowTitle(), QStringLiteral("untitled[*] - Barvik pipe cutting system"));
    QCOMPARE(m.find<QComboBox>("cmbLang")->currentIndex(), languageItem("en_us"));
}

void TestWindowLanguages::reportsACatalogWithoutUtf8Once()
{
    QVERIFY(m.open());
    auto* languages = m.find<QComboBox>("cmbLang");
    for (const char* code : {"qq_qq", "en_us", "qq_qq"})
        languages->setCurrentIndex(languageItem(code));
    QCOMPARE(m.dialogs.titled.size(), 1);
    QCOMPARE(m.dialogs.titled[0].title, QStringLiteral("Localization problem"));
    QVERIFY2(m.dialogs.titled[0].text.startsWith(QStringLiteral("The translation for the language code qq_qq (in ")),
             qPrintable(m.dialogs.titled[0].text));
    QVERIFY(m.dialogs.titled[0].text.endsWith(
        QStringLiteral(") does not have charset=utf-8 in its Content-Type. Translations are turned off.")));
    QCOMPARE(m.find<QPushButton>("btnCalc")->text(), QStringLiteral("Calc"));
}

void TestWindowLanguages::helpOpensTheManualOfTheLanguage()
{
    const QString manual = m_dir.filePath(QStringLiteral("locale/en_us/LC_MESSAGES/rodplan.html"));
    QFile file(manual);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(m.open());
    m.find<QAction>("H2")->trigger();
    QCOMPARE(m.dialogs.opened, QStringList({manual}));

    m.find<QComboBox>("cmbLang")->setCurrentIndex(languageItem("de_de"));
    m.find<QAction>("H2")->trigger();
    QCOMPARE(m.dialogs.opened.size(), 1);
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("Die Hilfedatei fehlt!"));
    QFile::remove(manual);
}

QTEST_MAIN(TestWindowLanguages)
#include "test_window_languages.moc"
