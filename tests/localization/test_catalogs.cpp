#include "localization/catalogs.h"
#include "localization/languages.h"
#include "localization/translate.h"

#include "build_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<const char*, const char*>>;

const Entries kGerman = {{"Total", "Gesamt"}, {"Length", "Länge"}, {"Total cost= ", "Gesamtkosten= "}, {"Yes", "Ja"}};

// Each test gets its own locale folder and builds the catalogs it needs with msgfmt.
class CatalogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        localization::setLocaleFolder(m_dir.path());
    }

    void TearDown() override
    {
        localization::setLocaleFolder({});
        localization::useLanguage();
    }

    // Writes <folder>/LC_MESSAGES/default.po in `charset` (no header at all when it is empty) and
    // compiles it into default.mo beside it.
    void writeCatalog(const QString& folder, const QString& charset, const Entries& entries)
    {
        const QString messages = m_dir.filePath(folder + QStringLiteral("/LC_MESSAGES"));
        ASSERT_TRUE(QDir().mkpath(messages));
        QString po;
        if (!charset.isEmpty()) {
            po +=
                QStringLiteral("msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=%1\\n\"\n\n").arg(charset);
        }
        for (const auto& [english, translated] : entries) {
            po += QStringLiteral("msgid \"%1\"\nmsgstr \"%2\"\n\n")
                      .arg(QString::fromUtf8(english), QString::fromUtf8(translated));
        }
        QFile file(messages + QStringLiteral("/default.po"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(charset.compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) == 0 || charset.isEmpty()
                       ? po.toUtf8()
                       : po.toLatin1());
        file.close();

        QProcess msgfmt;
        msgfmt.start(QStringLiteral(BARVIK_MSGFMT),
                     {QStringLiteral("-o"), messages + QStringLiteral("/default.mo"), file.fileName()});
        ASSERT_TRUE(msgfmt.waitForFinished(30000));
        ASSERT_EQ(msgfmt.exitCode(), 0) << msgfmt.readAllStandardError().toStdString();
    }

    QTemporaryDir m_dir;
};

TEST_F(CatalogTest, translatesEntriesAndFallsBackToEnglish)
{
    writeCatalog(QStringLiteral("de_de"), QStringLiteral("UTF-8"), kGerman);

    ASSERT_TRUE(localization::useLanguage(QStringLiteral("de_de")));
    EXPECT_EQ(localization::currentLanguage(), "de_de");
    EXPECT_EQ(localization::catalogProblem(), "");
    EXPECT_EQ(localization::translate("Total"), "Gesamt");
    EXPECT_EQ(localization::translate(QStringLiteral("Length")), QStringLiteral("Länge"));
    EXPECT_EQ(localization::translate("Total cost= "), "Gesamtkosten= ");
    // Identifiers are exact: no entry for another spelling, nor for a text the catalog lacks.
    EXPECT_EQ(localization::translate("Total cost="), "Total cost=");
    EXPECT_EQ(localization::translate("total"), "total");
    EXPECT_EQ(localization::translate("Calc"), "Calc");
    EXPECT_EQ(localization::translate(QStringLiteral("Cant start")), "Cant start");

    // The default language has no catalog here: English again.
    EXPECT_FALSE(localization::useLanguage());
    EXPECT_EQ(localization::currentLanguage(), "en_us");
    EXPECT_EQ(localization::translate("Total"), "Total");
    EXPECT_EQ(localization::translate(QStringLiteral("Yes")), "Yes");
}

TEST_F(CatalogTest, listsEveryFolderWithACatalogOnceInLowerCase)
{
    writeCatalog(QStringLiteral("en_us"), QStringLiteral("UTF-8"), {{"Total", "Total"}});
    writeCatalog(QStringLiteral("De_DE"), QStringLiteral("UTF-8"), kGerman);
    writeCatalog(QStringLiteral("fr_FR"), QStringLiteral("UTF-8"), {{"Total", "Total général"}});
    writeCatalog(QStringLiteral("FR_fr"), QStringLiteral("UTF-8"), {{"Total", "Total général"}});
    // Folders without the catalog: an empty LC_MESSAGES, no LC_MESSAGES, only the catalog's source.
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("xx/LC_MESSAGES"))));
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("yy"))));
    writeCatalog(QStringLiteral("zz"), QStringLiteral("UTF-8"), kGerman);
    ASSERT_TRUE(QFile::remove(m_dir.filePath(QStringLiteral("zz/LC_MESSAGES/default.mo"))));

    EXPECT_EQ(localization::availableLanguages(),
              QStringList({QStringLiteral("de_de"), QStringLiteral("en_us"), QStringLiteral("fr_fr")}));
}

TEST_F(CatalogTest, findsTheLanguageFolderWithoutRegardToCase)
{
    writeCatalog(QStringLiteral("De_DE"), QStringLiteral("UTF-8"), kGerman);

    EXPECT_EQ(localization::languageFolder(QStringLiteral("de_de")), m_dir.filePath(QStringLiteral("De_DE")));
    EXPECT_EQ(localization::languageFolder(QStringLiteral("xx")), "");
    ASSERT_TRUE(localization::useLanguage(QStringLiteral("de_de")));
    EXPECT_EQ(localization::translate("Yes"), "Ja");
    EXPECT_EQ(localization::currentLanguage(), "de_de");
}

TEST_F(CatalogTest, doesNotUseCatalogsThatAreNotUtf8)
{
    writeCatalog(QStringLiteral("de_de"), QStringLiteral("UTF-8"), kGerman);
    writeCatalog(QStringLiteral("latin"), QStringLiteral("ISO-8859-1"), kGerman);
    writeCatalog(QStringLiteral("bare"), QString(), kGerman);

    for (const QString& code : {QStringLiteral("latin"), QStringLiteral("bare")}) {
        SCOPED_TRACE(code.toStdString());
        // Start from a working catalog so that a leftover translation would show.
        ASSERT_TRUE(localization::useLanguage(QStringLiteral("de_de")));
        EXPECT_FALSE(localization::useLanguage(code));
        EXPECT_EQ(localization::currentLanguage(), code);
        EXPECT_EQ(localization::translate("Total"), "Total");
        const QString problem = localization::catalogProblem();
        EXPECT_TRUE(problem.contains(QStringLiteral("language code ") + code)) << problem.toStdString();
        EXPECT_TRUE(problem.contains(QStringLiteral("does not have charset=utf-8"))) << problem.toStdString();
        EXPECT_TRUE(localization::catalogLacksUtf8());
    }
    // Such catalogs are still listed: only using them is refused.
    EXPECT_TRUE(localization::availableLanguages().contains(QStringLiteral("latin")));
}

TEST_F(CatalogTest, refusesAFileThatIsNoCatalog)
{
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("xx/LC_MESSAGES"))));
    QFile file(m_dir.filePath(QStringLiteral("xx/LC_MESSAGES/default.mo")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a message catalog at all");
    file.close();

    EXPECT_FALSE(localization::useLanguage(QStringLiteral("xx")));
    // Told in the program's words, naming the file, never in the translation library's.
    EXPECT_EQ(localization::catalogProblem(),
              QStringLiteral("The translation for the language code xx (in %1) can't be read: it is no message catalog "
                             "or it is damaged. Translations are turned off.")
                  .arg(file.fileName()));
    EXPECT_FALSE(localization::catalogLacksUtf8());
    EXPECT_EQ(localization::translate("Total"), "Total");
    // Not offered either: the language has no catalog to speak of.
    EXPECT_EQ(localization::availableLanguages(), QStringList());
}

TEST_F(CatalogTest, offersEnglishAlwaysAndEachLanguageByItsOwnName)
{
    EXPECT_EQ(localization::offeredLanguages(), QStringList({QStringLiteral("en_us")}));
    writeCatalog(QStringLiteral("ru_RU"), QStringLiteral("UTF-8"), kGerman);
    writeCatalog(QStringLiteral("de_de"), QStringLiteral("UTF-8"), kGerman);
    EXPECT_EQ(localization::offeredLanguages(),
              QStringList({QStringLiteral("de_de"), QStringLiteral("en_us"), QStringLiteral("ru_ru")}));

    const std::pair<const char*, const char*> names[] = {
        {"de_de", "de_de - Deutsch"},  {"en_us", "en_us - English"},  {"es_es", "es_es - Español"},
        {"fr_fr", "fr_fr - Français"}, {"it_it", "it_it - Italiano"}, {"pl_pl", "pl_pl - Polski"},
        {"ru_ru", "ru_ru - Русский"},  {"zh_cn", "zh_cn - 简体中文"}, {"qq_qq", "qq_qq"},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(localization::languageDisplayName(QString::fromLatin1(code)), QString::fromUtf8(name));

    // The help lies beside the catalog, in the folder as it is spelled.
    EXPECT_EQ(localization::helpFilePath(QStringLiteral("ru_ru")),
              m_dir.filePath(QStringLiteral("ru_RU/LC_MESSAGES/rodplan.html")));
    EXPECT_EQ(localization::helpFilePath(QStringLiteral("en_us")),
              m_dir.filePath(QStringLiteral("en_us/LC_MESSAGES/rodplan.html")));
}

// A catalog damaged after msgfmt wrote it: a string that lies outside the file turns the catalog away at
// once (it would throw at the first look-up), a hash table with no empty slot is not needed at all (a
// look-up of a missing message would never end).
TEST_F(CatalogTest, damagedCatalogsNeitherThrowNorHang)
{
    writeCatalog(QStringLiteral("de_de"), QStringLiteral("UTF-8"), kGerman);
    QFile file(m_dir.filePath(QStringLiteral("de_de/LC_MESSAGES/default.mo")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray intact = file.readAll();
    file.close();
    auto word = [](const QByteArray& data, int offset) {
        uint32_t value = 0;
        std::memcpy(&value, data.constData() + offset, sizeof value);
        return value;
    };
    auto setWord = [](QByteArray& data, uint32_t offset, uint32_t value) {
        std::memcpy(data.data() + offset, &value, sizeof value);
    };
    auto install = [&](const QByteArray& data) {
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
        file.close();
    };

    QByteArray outside = intact;
    setWord(outside, word(intact, 16) + 8 + 4, 0xFFFFFF00u);
    install(outside);
    EXPECT_FALSE(localization::useLanguage(QStringLiteral("de_de")));
    EXPECT_TRUE(localization::catalogProblem().contains(QStringLiteral("is damaged")))
        << localization::catalogProblem().toStdString();
    EXPECT_FALSE(localization::availableLanguages().contains(QStringLiteral("de_de")));
    EXPECT_EQ(localization::translate("Total"), "Total");

    QByteArray fullHash = intact;
    ASSERT_GT(word(intact, 20), 2u);
    for (uint32_t slot = 0; slot < word(intact, 20); ++slot)
        setWord(fullHash, word(intact, 24) + 4 * slot, 1);
    install(fullHash);
    ASSERT_TRUE(localization::useLanguage(QStringLiteral("de_de")));
    EXPECT_EQ(localization::translate("Total"), "Gesamt");
    EXPECT_EQ(localization::translate("Not in the catalog"), "Not in the catalog");
}

TEST_F(CatalogTest, defaultFolderIsBesideTheExecutable)
{
    localization::setLocaleFolder({});
    EXPECT_EQ(localization::localeFolder(), "");
    EXPECT_TRUE(localization::availableLanguages().isEmpty());
    EXPECT_FALSE(localization::useLanguage(QStringLiteral("de_de")));

    int argc = 1;
    char name[] = "tests_localization";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    EXPECT_EQ(localization::localeFolder(), QCoreApplication::applicationDirPath() + QStringLiteral("/locale"));
}

// The programs in bin/ of a tree laid out as installed, with the folders that each case creates.
TEST(LocaleFolderOf, prefersTheFolderBesideTheProgramsThenTheInstalledOne)
{
    const QString beside = QStringLiteral("bin/locale");
    const QString installed = QDir::cleanPath(
        QStringLiteral("bin/") + QLatin1String(buildinfo::kDataFolderFromPrograms) + QStringLiteral("/locale"));
    const struct {
        QStringList folders;
        QString expected;
    } cases[] = {
        {{}, beside},
        {{installed}, installed},
        {{installed, beside}, beside},
    };
    for (const auto& c : cases) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
        for (const QString& folder : c.folders)
            ASSERT_TRUE(QDir(root.path()).mkpath(folder));
        EXPECT_EQ(localization::localeFolderOf(root.filePath(QStringLiteral("bin"))), root.filePath(c.expected))
            << c.folders.join(u',').toStdString();
    }
}

TEST_F(CatalogTest, translatesWhileAnotherThreadSwitchesLanguages)
{
    writeCatalog(QStringLiteral("de_de"), QStringLiteral("UTF-8"), kGerman);

    std::atomic<bool> stop = false;
    std::atomic<int> unexpected = 0;
    std::atomic<int> translated = 0;
    std::thread reader([&] {
        while (!stop) {
            const QString text = localization::translate("Total");
            if (text == QStringLiteral("Gesamt"))
                ++translated;
            else if (text != QStringLiteral("Total"))
                ++unexpected;
        }
    });
    for (int i = 0; i < 50; ++i) {
        localization::useLanguage(QStringLiteral("de_de"));
        localization::useLanguage(QStringLiteral("en_us"));
    }
    localization::useLanguage(QStringLiteral("de_de"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (translated == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    stop = true;
    reader.join();
    EXPECT_GT(translated, 0);
    EXPECT_EQ(unexpected, 0);
}

} // namespace
