// The check that keeps the catalogs complete, run over a small program and two catalogs of it: one complete,
// one with a text of each flaw.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(CatalogCheck, namesEveryFlawedTextOfEveryCatalog)
{
    QProcess check;
    check.start(QStringLiteral("bash"), {QStringLiteral(BARVIK_SOURCE_DIR "/scripts/check-catalogs"),
                                         QStringLiteral(BARVIK_TEST_DATA "/catalog_check"),
                                         QStringLiteral(BARVIK_TEST_DATA "/catalog_check/locale")});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 1) << check.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(check.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, QStringList({
                         QStringLiteral("de_de: missing: \"Blade Width:\""),
                         QStringLiteral("de_de: empty: \"Stub Length:\""),
                         QStringLiteral("de_de: fuzzy: \"Stop\""),
                         QStringLiteral("de_de: obsolete: \"Gone\""),
                         QStringLiteral("de_de: obsolete: \"Old caption\""),
                     }))
        << lines.join(u'\n').toStdString();
}

} // namespace
