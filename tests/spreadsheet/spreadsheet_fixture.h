#pragma once

#include "spreadsheet/workbook_reader.h"
#include "support/grid_fixture.h"

#include <QString>

// The workbooks that tests/data/spreadsheets/make_fixtures.py wrote.
inline QString workbookPath(const QString& name)
{
    return QStringLiteral(BARVIK_TEST_DATA "/spreadsheets/") + name;
}

inline spreadsheet::SheetCells readFixture(const QString& name)
{
    spreadsheet::SheetCells sheet;
    const QString path = workbookPath(name);
    const calculation::FileResult read = spreadsheet::readWorkbookFile(path, *spreadsheet::kindFromPath(path), sheet);
    EXPECT_TRUE(read.ok) << name.toStdString() << ": " << read.error.toStdString();
    return sheet;
}

inline QStringList sheetRow(const spreadsheet::SheetCells& sheet, int row, int columns = 3)
{
    QStringList cells;
    for (int c = 1; c <= columns; ++c)
        cells.append(sheet.cell(row, c));
    return cells;
}
