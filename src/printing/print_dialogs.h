#pragma once

#include "calculation/run_seams.h"

#include <QString>

#include <optional>

class QPrinter;

namespace printing {

// What printing asks of the platform and the user: whether a printer is installed, the printer and page
// set-up dialogs, the logo and PDF file dialogs, and message boxes. The program shows real dialogs; tests script
// them (the test machine has no printer).
class PrintDialogs : public calculation::MessageSink {
public:
    virtual bool hasPrinter() = 0;
    // True when the user confirms the dialog; the printer then holds the choices.
    virtual bool askPrinterSetup(QPrinter& printer) = 0;
    // The page set-up: paper, orientation and margins. True when the user confirms it.
    virtual bool askPageSetup(QPrinter& printer) = 0;
    // Nothing when the user cancels.
    virtual std::optional<QString> askLogoFile() = 0;
    virtual std::optional<QString> askPdfFile() = 0;
};

} // namespace printing
