#include "label_sheets.h"

#include "localization/translate.h"

#include <algorithm>

namespace labels {

namespace {

constexpr double kInch = 25.4;
// Between a label's edge and what is printed on it.
constexpr double kPadding = 2.0;
// Laser and ink-jet printers leave about 4 mm at every edge of a sheet; label printers print almost to it.
constexpr double kSheetUnprintable = 4.0;
constexpr double kRollUnprintable = 1.0;

LabelSheet sheet(const char* name, const char* caption, QSizeF paper, int columns, int rows, QSizeF label,
                 QPointF first, QSizeF pitch, double unprintable)
{
    return {QString::fromUtf8(name), caption, paper, columns, rows, label, first, pitch, unprintable};
}

} // namespace

const std::vector<LabelSheet>& labelSheets()
{
    static const std::vector<LabelSheet> sheets = {
        sheet("a4-3x8", localization::translatable("A4 3 × 8 (70 × 37 mm)"), {210, 297}, 3, 8, {70, 37}, {0, 0.5},
              {70, 37}, kSheetUnprintable),
        sheet("a4-2x7", localization::translatable("A4 2 × 7 (99.1 × 38.1 mm)"), {210, 297}, 2, 7, {99.1, 38.1},
              {4.65, 15.15}, {101.6, 38.1}, kSheetUnprintable),
        sheet("letter-3x10", localization::translatable("Letter 3 × 10 (2⅝ × 1 in)"), {8.5 * kInch, 11 * kInch}, 3, 10,
              {2.625 * kInch, 1 * kInch}, {0.1875 * kInch, 0.5 * kInch}, {2.75 * kInch, 1 * kInch}, kSheetUnprintable),
        sheet("62x29", localization::translatable("62 × 29 mm, one a page"), {62, 29}, 1, 1, {62, 29}, {0, 0}, {62, 29},
              kRollUnprintable),
        sheet("4x2in", localization::translatable("4 × 2 in, one a page"), {4 * kInch, 2 * kInch}, 1, 1,
              {4 * kInch, 2 * kInch}, {0, 0}, {4 * kInch, 2 * kInch}, kRollUnprintable),
    };
    return sheets;
}

QString sheetCaption(const LabelSheet& sheet)
{
    return localization::translate(sheet.caption);
}

const LabelSheet* labelSheetNamed(const QString& name)
{
    for (const LabelSheet& sheet : labelSheets())
        if (sheet.name.compare(name, Qt::CaseInsensitive) == 0)
            return &sheet;
    return nullptr;
}

std::vector<LabelPlace> placeLabels(const LabelSheet& sheet, int count, int skip)
{
    std::vector<LabelPlace> places;
    const int perSheet = std::max(1, sheet.labelsPerSheet());
    skip = std::clamp(skip, 0, perSheet - 1);
    const QRectF printable =
        QRectF(QPointF(0, 0), sheet.paper)
            .adjusted(sheet.unprintable, sheet.unprintable, -sheet.unprintable, -sheet.unprintable);
    for (int index = 0; index < count; ++index) {
        const int slot = index + skip;
        const int onSheet = slot % perSheet;
        const QPointF corner(sheet.firstLabel.x() + (onSheet % sheet.columns) * sheet.pitch.width(),
                             sheet.firstLabel.y() + (onSheet / sheet.columns) * sheet.pitch.height());
        const QRectF label(corner, sheet.label);
        const QRectF padded = label.adjusted(kPadding, kPadding, -kPadding, -kPadding);
        places.push_back({slot / perSheet, label, padded.intersected(printable)});
    }
    return places;
}

} // namespace labels
