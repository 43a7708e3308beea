#pragma once

#include "calculation/grid_model.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace mainwindow {

// The pieces of a "Cutting Layout" text: "A(1200) x 3 B(800)" is "A(1200) x 3" and "B(800)". A count
// " x N" always stays with the piece before it. A piece whose name holds blanks ("Gusset plate(275)")
// stays whole when it is one of names; other blanks part pieces.
QStringList layoutPieces(const QString& text, const QStringList& names = {});

// The names with blanks under which the parts of a grid stand in layout texts: labels, and labels with
// their length in parentheses.
QStringList piecesWithBlanks(const calculation::GridModel& parts);

// Breaks a "Cutting Layout" text into lines no wider than width, only between pieces; a piece wider than
// the width stands on a line of its own. textWidth measures a text as it will be drawn.
QStringList wrapLayoutText(const QString& text, int width, const std::function<int(const QString&)>& textWidth,
                           const QStringList& names = {});

} // namespace mainwindow
