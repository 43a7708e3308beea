#pragma once

// What every load must leave behind, whatever the file held.

#include "calculation/grid_model.h"
#include "lists/text_file.h"

#include <cstdlib>

// A load that went through ends the grid with one empty data row; a refused one says why.
inline void checkLoad(const lists::FileResult& result, const calculation::GridModel& grid)
{
    if (!result.ok) {
        if (result.error.isEmpty())
            std::abort();
        return;
    }
    const int last = grid.rows() - 1;
    if (last < calculation::GridModel::kFirstDataRow)
        std::abort();
    for (int column = 0; column < grid.columns(); ++column) {
        if (!grid.cell(column, last).isEmpty())
            std::abort();
    }
}
