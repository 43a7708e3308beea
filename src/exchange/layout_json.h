#pragma once

#include "calculation/grid_model.h"

#include "optimizer/records.h"

#include <QByteArray>
#include <QJsonObject>
#include <vector>

namespace exchange {

// The shown result as one JSON object, for scripts: "patterns" (no, stockLabel, stockLength, qty, leftLen,
// layout, leftLabel and the pieces with label, lengthText and count), "totals" (usedLength, bars,
// leftLength, cost, ratio), "stocks" (label and leftQty of every stock row the run read), "seconds", and the
// members of `extra`.
QByteArray layoutJson(const optimizer::strGroup& plan, const std::vector<optimizer::strPart>& partList,
                      const std::vector<optimizer::strStock>& stockList, const calculation::GridModel& layout,
                      double seconds, const QJsonObject& extra = {});

} // namespace exchange
