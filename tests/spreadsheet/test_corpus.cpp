// The jobs that make_corpus.py wrote through every writer Debian has: each reads as its text list, or is
// refused for its content with the message a planner reads.

#include "spreadsheet_fixture.h"

#include "calculation/grids.h"
#include "spreadsheet/sheet_import.h"

#include <QDir>
#include <QFile>

#include <memory>

using calculation::GridModel;

namespace {

QString corpus(const QString& name)
{
    return workbookPath(QStringLiteral("corpus/") + name);
}

// The text list's rows as the grid holds them: label, length, quantity (and cost, priority).
std::vector<QStringList> textListRows(const QString& name)
{
    QFile file(corpus(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<QStringList> rows;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            rows.push_back(QString::fromUtf8(line.trimmed()).split(u'\t'));
    return rows;
}

} // namespace

class CorpusTest : public GridTest {};

TEST_F(CorpusTest, EveryWritersJobReadsAsItsTextList)
{
    const QStringList files = QDir(corpus(QString())).entryList({"*_parts*", "*_stocks*"}, QDir::Files);
    ASSERT_GE(files.size(), 36);
    int read = 0;
    int refused = 0;
    for (const QString& name : files) {
        if (name.contains(u"_formulas") || name.contains(u"biff5")) {
            ++refused;
            continue;
        }
        SCOPED_TRACE(name.toStdString());
        const bool stocks = name.contains(u"_stocks");
        const std::unique_ptr<GridModel> grid(stocks ? calculation::createStocksGrid()
                                                     : calculation::createPartsGrid());
        const calculation::FileResult imported =
            stocks ? spreadsheet::ImportStocksWorkbook(*grid, corpus(name), *spreadsheet::kindFromPath(name))
                   : spreadsheet::ImportPartsWorkbook(*grid, corpus(name), *spreadsheet::kindFromPath(name));
        ASSERT_TRUE(imported.ok) << imported.message().toStdString();
        EXPECT_EQ(imported.notice, QString());
        const std::vector<QStringList> expected = textListRows(stocks ? "stocks.txt" : "parts.txt");
        ASSERT_EQ(grid->rows(), GridModel::kFirstDataRow + int(expected.size()) + 1);
        for (int r = 0; r < int(expected.size()); ++r)
            EXPECT_EQ(row(*grid, GridModel::kFirstDataRow + r).mid(0, expected[r].size()), expected[r]);
        ++read;
    }
    EXPECT_EQ(refused, 6);
    EXPECT_EQ(read, 32);
}

TEST_F(CorpusTest, WhatNoLibraryHereReadsIsRefusedForItsRow)
{
    const struct {
        const char* file;
        const char* error;
    } cases[] = {
        {"libreoffice_parts_formulas.xls", "row 2: the length is empty; if it holds a formula"},
        {"gnumeric_stocks_formulas.xls", "row 1: the cost is empty; if it holds a formula"},
        {"openpyxl_formula_without_result.xlsx", "row 2: the length is a formula without a stored result"},
        {"gnumeric_stocks_biff5.xls", "is an Excel 5.0/95 workbook; save it as .xlsx or as Excel 97-2003"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::unique_ptr<GridModel> grid(calculation::createStocksGrid());
        const QString path = corpus(c.file);
        const calculation::FileResult imported =
            QString(c.file).contains(u"stocks")
                ? spreadsheet::ImportStocksWorkbook(*grid, path, *spreadsheet::kindFromPath(path))
                : spreadsheet::ImportPartsWorkbook(*grid, path, *spreadsheet::kindFromPath(path));
        EXPECT_FALSE(imported.ok);
        EXPECT_TRUE(imported.message().startsWith(path + " " + c.error)) << imported.message().toStdString();
    }
}
