#include "run_checks.h"

#include "grids.h"
#include "number_text.h"

#include "localization/translate.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace calculation {

using localization::translatable;
using localization::translate;

namespace {

constexpr int kFirstRow = GridModel::kFirstDataRow;

// The highest cost of one bar. No price comes near it, and it keeps every sum of costs finite: the totals
// (at most 1024 rows of 2^31 bars, about 2.2e27), the score that adds them a hundred times over, and the
// weights of the exact engine's linear programs, which lose their footing far below a float's limit.
constexpr double kLargestCost = 1e15;

// The row number a user sees: the first data row is row 1.
QString shownRow(int row)
{
    return QString::number(row - kFirstRow + 1);
}

QString longestText()
{
    return QString::number(qint64(kLongestLength));
}

std::optional<InputRefusal> checkSettings(const CalcControls& controls)
{
    struct Setting {
        const QString* text;
        const char* notANumber;
        const char* tooLong; // nullptr when any size serves
    };
    const Setting settings[] = {
        {&controls.bladeWidth, translatable("The blade width must be a number of 0 or more, not \"%1\"."),
         translatable("The blade width can't be greater than %1.")},
        {&controls.stubLength, translatable("The stub length must be a number of 0 or more, not \"%1\"."),
         translatable("The stub length can't be greater than %1.")},
        {&controls.reuseLength, translatable("The reusable remnant length must be a number of 0 or more, not \"%1\"."),
         nullptr},
    };
    for (const Setting& setting : settings) {
        const std::optional<double> value = parseDecimal(*setting.text);
        if (!value || *value < 0)
            return InputRefusal{translate(setting.notANumber).arg(excerpt(*setting.text)), RunFocus::None};
        if (setting.tooLong && *value > kLongestLength)
            return InputRefusal{translate(setting.tooLong).arg(longestText()), RunFocus::None};
    }
    return std::nullopt;
}

std::optional<InputRefusal> checkRows(const GridModel& grid, const QString& name, bool withCost, int maxRows,
                                      RunFocus focus)
{
    auto refuse = [&](const QString& text) { return InputRefusal{text, focus}; };
    int filled = 0;
    for (int row = kFirstRow; row < grid.rows(); ++row) {
        const QString qty = grid.cell(kQtyColumn, row);
        if (qty.isEmpty())
            continue;
        ++filled;
        const QString where = shownRow(row);
        const std::optional<int32_t> count = parseInteger(qty);
        if (!count)
            return refuse(
                translate("%1, row %2: the quantity \"%3\" is not a whole number.").arg(name, where, excerpt(qty)));
        if (*count < 0)
            return refuse(translate("%1, row %2: the quantity can't be below 0.").arg(name, where));
        const QString length = grid.cell(kLengthColumn, row);
        const std::optional<double> value = parseDecimal(length);
        if (!value)
            return refuse(
                translate("%1, row %2: the length \"%3\" is not a number.").arg(name, where, excerpt(length)));
        // The length the optimizer gets is the float: one that rounds to 0 is no length.
        if (!(float(*value) > 0))
            return refuse(translate("%1, row %2: the length must be greater than 0.").arg(name, where));
        // A row that is not cut can't make the job fail.
        if (*count > 0 && *value > kLongestLength)
            return refuse(
                translate("%1, row %2: the length can't be greater than %3.").arg(name, where, longestText()));
        const QString cost = withCost ? grid.cell(kCostColumn, row) : QString();
        if (cost.isEmpty())
            continue;
        const std::optional<float> price = parseNumber(cost);
        if (!price)
            return refuse(translate("%1, row %2: the cost \"%3\" is not a number.").arg(name, where, excerpt(cost)));
        if (std::abs(*price) > kLargestCost)
            return refuse(translate("%1, row %2: the cost can't be greater than %3.")
                              .arg(name, where, QString::number(qint64(kLargestCost))));
    }
    if (filled > maxRows)
        return refuse(translate("%1: one calculation takes at most %2 filled rows, the list has %3.")
                          .arg(name, QString::number(maxRows), QString::number(filled)));
    return std::nullopt;
}

} // namespace

std::optional<InputRefusal> checkInput(const GridModel& parts, const GridModel& stocks, const CalcControls& controls)
{
    if (auto refusal = checkSettings(controls))
        return refusal;
    if (auto refusal = checkRows(parts, translate("Parts"), false, optimizer::kMaxPartKinds, RunFocus::Parts))
        return refusal;
    return checkRows(stocks, translate("Stocks"), true, optimizer::kMaxStockKinds, RunFocus::Stocks);
}

std::optional<InputRefusal> checkJob(const std::vector<optimizer::strPart>& parts,
                                     const std::vector<optimizer::strStock>& stocks,
                                     const optimizer::CutSettings& settings)
{
    using Extended = long double;
    // Lengths as the engines measure them.
    const optimizer::FitRule rule(parts, stocks, settings.bladeWidth, settings.stubLength);

    // 1 - something to cut
    Extended partsLength = 0;
    int64_t pieces = 0;
    Extended longestPart = 0;
    for (int32_t i = 0; i < int32_t(parts.size()); ++i) {
        if (parts[size_t(i)].qty <= 0)
            continue;
        partsLength += Extended(parts[size_t(i)].qty) * rule.part(i);
        pieces += parts[size_t(i)].qty;
        longestPart = std::max(longestPart, rule.part(i));
    }
    if (pieces == 0)
        return InputRefusal{translate("There are no pieces to cut: every part quantity is 0."), RunFocus::Parts};

    // 2 - total check: the bars' lengths less their stubs against the pieces and the least blade widths
    // they need, n - b for n pieces on at most b bars. Equality passes; the margin keeps the rounding of
    // huge sums from refusing a job that fits exactly.
    Extended room = 0;
    int64_t bars = 0;
    Extended longestUsable = -1;
    for (int32_t j = 0; j < int32_t(stocks.size()); ++j) {
        if (stocks[size_t(j)].qty <= 0)
            continue;
        const Extended usable = rule.usable(j);
        longestUsable = std::max(longestUsable, usable);
        if (usable <= 0)
            continue;
        room += Extended(stocks[size_t(j)].qty) * usable;
        bars += stocks[size_t(j)].qty;
    }
    const Extended need = partsLength + rule.blade() * Extended(std::max<int64_t>(0, pieces - bars));
    if (need > room + room * 1e-15L)
        return InputRefusal{
            translate("The total length of parts is greater than the total length of stocks, can't optimize!"),
            RunFocus::Stocks};

    // 3 - the longest piece must fit the longest bar there is after the stub; the blade plays no part
    if (longestPart > longestUsable)
        return InputRefusal{translate("The max length of parts, is beyond the max length of stocks, can't optimize!"),
                            RunFocus::Stocks};
    return std::nullopt;
}

std::optional<InputRefusal> checkCostOption(const GridModel& stocks)
{
    bool counted = false;
    for (int row = kFirstRow; row < stocks.rows(); ++row) {
        const int32_t qty = parseInteger(stocks.cell(kQtyColumn, row)).value_or(-1);
        const int32_t cost = parseInteger(stocks.cell(kCostColumn, row)).value_or(-1);
        if (qty <= 0)
            continue;
        counted = true;
        if (cost <= 0)
            return InputRefusal{translate("The cost of stock must be input, can choose cost optimization!")};
    }
    if (!counted)
        return InputRefusal{translate("No pipe stocks,please input!")};
    return std::nullopt;
}

} // namespace calculation
