#pragma once

#include "user_dialogs.h"

#include "document/list_file.h"

#include <QStringList>

namespace mainwindow {

// The file dialogs of the list files and of the layout export, texts in the current language. Every open
// dialog offers "All supported files" first; the list open dialogs then list the file types in the order of
// the loaders' source format numbers.
FileDialogSetup partsSaveDialog();
FileDialogSetup stocksSaveDialog();
FileDialogSetup partsOpenDialog();
FileDialogSetup stocksOpenDialog();
FileDialogSetup layoutExportDialog();
// Projects ("dat") and the remnant lists of Save Left, Exp Left and Imp Left.
FileDialogSetup projectSaveDialog();
FileDialogSetup projectOpenDialog();
FileDialogSetup leftStocksSaveDialog();
FileDialogSetup remnantExportDialog();
FileDialogSetup remnantImportDialog();

// The source format of a list chosen in its open dialog: by the entry chosen, or by the file's name under
// "All supported files".
int chosenFormat(document::ListKind kind, const FileChoice& choice);

// "Text file(*.txt)|*.txt|MST file(*.txt)|*.txt" as name filters of a Qt file dialog: one entry per pair,
// in the same order, the description's words kept and the pattern in parentheses behind it
// ("Text file (*.txt)", "MST file (*.txt)"). Patterns separated by ";" are listed with blanks.
QStringList nameFilters(const QString& filter);

} // namespace mainwindow
