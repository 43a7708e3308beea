#pragma once

#include "diagrams/bar_geometry.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

namespace labels {

// One label: a piece as it comes off the saw, or a reusable remnant left on its bar.
struct PieceLabel {
    bool remnant = false;
    QString label;  // the part's label, or the remnant's
    QString length; // the part's length as typed, or the remnant's as "Left Len" writes it
    int layout = 0; // the pattern's number in the layout table
    int bar = 0;    // which of the pattern's bars, 1 to bars
    int bars = 0;
    int piece = 0;    // the piece's place on its bar from the bar's start, from 1; 0 for a remnant
    QString position; // where the saw cuts the piece off, from the bar's start
    QString stock;    // the stock the bar is
};

// The job that labels belong to.
struct LabelJob {
    QString title;
    QString unit;
};

// A label for every piece in cutting order (layout by layout, bar by bar, pieces from the bar's start),
// each bar's reusable remnant right after its pieces.
std::vector<PieceLabel> pieceLabels(const diagrams::PlanDiagrams& plan);

// The text a label's barcode holds and a scanner returns: "BARVIK1" then KEY=value fields, each after a
// semicolon. A piece: JOB, PART, LEN, UNIT, LAYOUT, BAR (bar/bars), POS; a remnant: JOB, REMNANT, LEN,
// UNIT, STOCK, LAYOUT, BAR. In values a backslash, a semicolon and control characters are written \\, \;
// and \xHH.
QString barcodeText(const PieceLabel& label, const LabelJob& job);
// The fields of a barcode text by key; empty for a text that is not a label's.
QMap<QString, QString> barcodeFields(const QString& text);

// The two small lines of a label, in the current language: the layout and bar it comes from, then where
// the piece is cut off or which stock the remnant is.
QStringList labelOrigin(const PieceLabel& label);

} // namespace labels
