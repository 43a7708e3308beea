#pragma once

#include "calculation/grid_model.h"

#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Readable failure output for cell texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    if (texts.isEmpty())
        *out << "[]";
    else
        *out << "[\"" << texts.join(QStringLiteral("\", \"")).toStdString() << "\"]";
}

// Grids filled and read row by row, with "." as the decimal separator whatever the machine's locale.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    // Writes the rows from row 2 on and ends the grid after them.
    static void fill(calculation::GridModel& grid, const std::vector<QStringList>& rows)
    {
        grid.setRows(calculation::GridModel::kFirstDataRow + int(rows.size()));
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                grid.setCell(c, calculation::GridModel::kFirstDataRow + r, rows[r][c]);
    }

    static QStringList row(const calculation::GridModel& grid, int r)
    {
        QStringList cells;
        for (int c = 0; c < grid.columns(); ++c)
            cells.append(grid.cell(c, r));
        return cells;
    }
};
