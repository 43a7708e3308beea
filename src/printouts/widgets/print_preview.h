#pragma once

#include "printouts/job_printout.h"

class QPrinter;
class QWidget;

namespace printing {
class PrintDialogs;
}

namespace printouts {

// Opens "Preview and Print" modally on a printout; a label printout gets the sheet controls beside the
// page controls.
void showPrintPreview(JobPrintout& printout, QPrinter& printer, printing::PrintDialogs& dialogs, QWidget* parent);

} // namespace printouts
