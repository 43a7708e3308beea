#include "localization/language_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using localization::readSavedLanguage;
using localization::saveLanguage;

class LanguageSettingsTest : public testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString write(const QByteArray& content, const QString& name = QStringLiteral("rodplan.db")) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    QByteArray read(const QString& file) const
    {
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }

    QTemporaryDir m_dir;
};

TEST_F(LanguageSettingsTest, readsTheLanguageOfSectionCommonAndElseEnglish)
{
    const struct {
        const char* content;
        const char* language;
    } cases[] = {
        {"[Common]\r\nLanguage= de_de \r\n", "de_de"},
        {"; kept by hand\n[Other]\nx=1\n[common]\nlanguage=ru_ru\n", "ru_ru"},
        {"[Other]\nLanguage=fr_fr\n", "en_us"},
        {"Language=fr_fr\n[Common]\nx=1\n", "en_us"},
        {"[Common]\n", "en_us"},
        {"[Common]\nLanguage=\n", "en_us"},
        {"[Common]\nLanguage=de de!\n", "en_us"},
        {"[Common]\nLanguage=\xff\xfe\x64\x65\n", "en_us"},
        {"", "en_us"},
    };
    for (const auto& [content, language] : cases) {
        SCOPED_TRACE(content);
        EXPECT_EQ(readSavedLanguage(write(content)), language);
    }
    EXPECT_EQ(readSavedLanguage(write(QByteArray("[Common]\nLanguage=pl_pl\n\0\x01", 26))), "en_us");
    EXPECT_EQ(readSavedLanguage(path(QStringLiteral("missing.db"))), "en_us");
    EXPECT_EQ(readSavedLanguage(m_dir.path()), "en_us");
}

TEST_F(LanguageSettingsTest, writesOnlyTheLanguageAndAddsWhatIsMissing)
{
    // No file, not even its folder: both are made, with the section.
    const QString fresh = path(QStringLiteral("config/barvik/rodplan.db"));
    ASSERT_TRUE(saveLanguage(fresh, QStringLiteral("pl_pl")));
    EXPECT_EQ(read(fresh), "[Common]\r\nLanguage=pl_pl\r\n");

    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"[Common]\nLanguage=en_us\nOther=1\n", "[Common]\r\nLanguage=zh_cn\r\nOther=1\r\n"},
        {"[Common]\nOther=1\n\n[Next]\nLanguage=x\n",
         "[Common]\r\nOther=1\r\nLanguage=zh_cn\r\n\r\n[Next]\r\nLanguage=x\r\n"},
        {"; notes\n[Other]\nx=1", "; notes\r\n[Other]\r\nx=1\r\n[Common]\r\nLanguage=zh_cn\r\n"},
        {"\x01\x02\x00garbage", "[Common]\r\nLanguage=zh_cn\r\n"},
    };
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before);
        const QString file = write(QByteArray(before, before[0] == '\x01' ? 10 : int(qstrlen(before))));
        ASSERT_TRUE(saveLanguage(file, QStringLiteral("zh_cn")));
        EXPECT_EQ(read(file), after);
        EXPECT_EQ(readSavedLanguage(file), "zh_cn");
    }
    // A folder where the file should be: the write fails and leaves it.
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("taken.db"))));
    EXPECT_FALSE(saveLanguage(path(QStringLiteral("taken.db")), QStringLiteral("de_de")));
}

TEST_F(LanguageSettingsTest, keepsTheFileBesideTheProgramOnlyWhereItCanBeWritten)
{
    const QString program = path(QStringLiteral("program"));
    const QString config = path(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString beside = program + QStringLiteral("/rodplan.db");
    const QString own = config + QStringLiteral("/rodplan.db");

    // A portable copy: nothing saved yet anywhere, the program's folder writable.
    EXPECT_EQ(localization::settingsFilePath(program, config), beside);
    // A file the user already has in the configuration folder is kept on using.
    ASSERT_TRUE(QDir().mkpath(config));
    write("[Common]\n", QStringLiteral("config/rodplan.db"));
    EXPECT_EQ(localization::settingsFilePath(program, config), own);
    // Unless the program's folder has its own.
    write("[Common]\n", QStringLiteral("program/rodplan.db"));
    EXPECT_EQ(localization::settingsFilePath(program, config), beside);
    // A program folder that can't take the file.
    EXPECT_EQ(localization::settingsFilePath(path(QStringLiteral("nowhere")), config), own);
}

} // namespace
