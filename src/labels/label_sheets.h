#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

namespace labels {

// A sheet of self-adhesive labels, or a roll of single labels for a label printer (one label a page).
// Lengths are millimetres from the paper's top left corner.
struct LabelSheet {
    QString name;             // as the command line names it: "a4-3x8"
    const char* caption = ""; // as the preview lists it, in English: "A4 3 × 8 (70 × 37 mm)"
    QSizeF paper;
    int columns = 1;
    int rows = 1;
    QSizeF label;
    QPointF firstLabel; // the top left corner of the first label
    QSizeF pitch;       // from one label's corner to the next one's, across and down
    // What printers leave unprinted at the paper's edges; labels that run to the edge keep their texts
    // and barcode inside it.
    double unprintable = 0;

    int labelsPerSheet() const { return columns * rows; }
};

// The sheets offered, the first the default: A4 3 × 8, A4 2 × 7, Letter 3 × 10, then the single labels
// 62 × 29 mm and 4 × 2 in.
const std::vector<LabelSheet>& labelSheets();
// The sheet's caption in the current language.
QString sheetCaption(const LabelSheet& sheet);
// The sheet of that name, or nothing.
const LabelSheet* labelSheetNamed(const QString& name);

// Where one label goes: its page, the label's rectangle and the part of it that is printed on.
struct LabelPlace {
    int page = 0;
    QRectF label;
    QRectF content;
};

// The places of `count` labels on sheets, row by row, the first `skip` places of the first sheet left
// empty (a sheet used before). skip must be below the labels of a sheet.
std::vector<LabelPlace> placeLabels(const LabelSheet& sheet, int count, int skip);

} // namespace labels
