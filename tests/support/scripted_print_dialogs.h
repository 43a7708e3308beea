#pragma once

#include "printing/print_dialogs.h"

#include <QList>
#include <QPrinter>

#include <functional>

// The printing dialogs, scripted: whether a printer exists, what the set-up dialogs do to the printer,
// and the file names answered; every message is recorded.
class ScriptedPrintDialogs final : public printing::PrintDialogs {
public:
    void showMessage(const QString& text, calculation::MessageIcon) override { messages.append(text); }
    bool hasPrinter() override { return printerInstalled; }
    bool askPrinterSetup(QPrinter& printer) override { return answerSetup(printer, setupsAsked); }
    bool askPageSetup(QPrinter& printer) override { return answerSetup(printer, pageSetupsAsked); }
    std::optional<QString> askLogoFile() override { return logoFile; }
    std::optional<QString> askPdfFile() override { return pdfFile; }

    bool printerInstalled = false;
    // Empty: the set-up dialog is cancelled.
    std::function<void(QPrinter&)> setup;
    std::optional<QString> logoFile;
    std::optional<QString> pdfFile;
    QStringList messages;
    int setupsAsked = 0;
    int pageSetupsAsked = 0;

private:
    bool answerSetup(QPrinter& printer, int& asked)
    {
        ++asked;
        if (setup)
            setup(printer);
        return bool(setup);
    }
};
