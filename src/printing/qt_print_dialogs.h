#pragma once

#include "print_dialogs.h"

#include <QPointer>
#include <QWidget>

namespace printing {

// The real dialogs of printing, over the window that owns them; messages in the program's message box.
class QtPrintDialogs final : public PrintDialogs {
public:
    explicit QtPrintDialogs(QWidget* window) : m_window(window) {}

    void showMessage(const QString& text, calculation::MessageIcon icon) override;
    bool hasPrinter() override;
    bool askPrinterSetup(QPrinter& printer) override;
    bool askPageSetup(QPrinter& printer) override;
    std::optional<QString> askLogoFile() override;
    std::optional<QString> askPdfFile() override;

private:
    QPointer<QWidget> m_window;
};

} // namespace printing
