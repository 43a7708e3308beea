#pragma once

#include "grid_model.h"

namespace calculation {

// Columns of the parts and stocks grids; the parts grid has the first three.
inline constexpr int kLabelColumn = 0;
inline constexpr int kLengthColumn = 1;
inline constexpr int kQtyColumn = 2;
inline constexpr int kCostColumn = 3;
inline constexpr int kPriorityColumn = 4;
inline constexpr int kLeftQtyColumn = 5;

inline constexpr int kPartColumns = 3;
inline constexpr int kStockColumns = 6;
inline constexpr int kLayoutColumns = 7;

// The three grids as the window starts with them: header texts written, one empty data row. The parts
// and stocks grids are editable except "Left Qty", which only a calculation writes; the layout table
// is read-only.
GridModel* createPartsGrid(QObject* parent = nullptr);
GridModel* createStocksGrid(QObject* parent = nullptr);
GridModel* createLayoutGrid(QObject* parent = nullptr);

// "Total" and the header row in the current language; written again after a language change.
void writePartsHeaders(GridModel& grid);
void writeStocksHeaders(GridModel& grid);
void writeLayoutHeaders(GridModel& grid);

} // namespace calculation
