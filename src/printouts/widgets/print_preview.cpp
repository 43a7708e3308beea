#include "print_preview.h"

#include "labels/widgets/label_sheet_controls.h"
#include "printing/grid_preview.h"

namespace printouts {

void showPrintPreview(JobPrintout& printout, QPrinter& printer, printing::PrintDialogs& dialogs, QWidget* parent)
{
    printing::TjvGridPreview preview(printout.document(), printer, dialogs, parent);
    if (labels::LabelPrintout* labels = printout.labels()) {
        auto* controls = new labels::LabelSheetControls(*labels);
        preview.addControls(controls);
        QObject::connect(controls, &labels::LabelSheetControls::changed, &preview, &printing::TjvGridPreview::refresh);
    }
    preview.exec();
}

} // namespace printouts
