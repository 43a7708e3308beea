#pragma once

#include "diagrams/painting/plan_printouts.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace printouts {

// The items of the print list; projects keep the index.
enum class PrintMode { All, Layouts, Lists, LayoutsAndDiagrams, DiagramsInRows, CutList, Labels };
inline constexpr int kPrintModeCount = 7;

// The mode of a print list index, or nothing outside the list.
std::optional<PrintMode> printModeAt(int index);
// The command line's names, in the list's order: all, layouts, lists, diagrams, diagrams-rows, cut-list,
// labels.
QStringList printModeNames();
std::optional<PrintMode> printModeNamed(const QString& name);

// What a printout holds.
struct PrintContents {
    bool lists = false;
    bool layouts = true;
    diagrams::DiagramPlacement diagrams = diagrams::DiagramPlacement::None;
    bool cutList = false;
    bool labels = false;
};
PrintContents printContents(PrintMode mode);

} // namespace printouts
