#include "print_modes.h"

namespace printouts {

std::optional<PrintMode> printModeAt(int index)
{
    if (index < 0 || index >= kPrintModeCount)
        return std::nullopt;
    return PrintMode(index);
}

QStringList printModeNames()
{
    return {QStringLiteral("all"),      QStringLiteral("layouts"),       QStringLiteral("lists"),
            QStringLiteral("diagrams"), QStringLiteral("diagrams-rows"), QStringLiteral("cut-list"),
            QStringLiteral("labels")};
}

std::optional<PrintMode> printModeNamed(const QString& name)
{
    return printModeAt(int(printModeNames().indexOf(name)));
}

PrintContents printContents(PrintMode mode)
{
    PrintContents contents;
    switch (mode) {
    case PrintMode::All:
        contents.lists = true;
        break;
    case PrintMode::Layouts:
        break;
    case PrintMode::Lists:
        contents.lists = true;
        contents.layouts = false;
        break;
    case PrintMode::LayoutsAndDiagrams:
        contents.diagrams = diagrams::DiagramPlacement::AfterTable;
        break;
    case PrintMode::DiagramsInRows:
        contents.diagrams = diagrams::DiagramPlacement::UnderRows;
        break;
    case PrintMode::CutList:
        contents.cutList = true;
        break;
    case PrintMode::Labels:
        contents.layouts = false;
        contents.labels = true;
        break;
    }
    return contents;
}

} // namespace printouts
