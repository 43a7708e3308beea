#include "qt_print_dialogs.h"

#include "desktop/message_box.h"
#include "localization/translate.h"

#include <QApplication>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace printing {

void QtPrintDialogs::showMessage(const QString& text, calculation::MessageIcon icon)
{
    desktop::showMessageBox(m_window ? m_window->window() : nullptr, text, icon);
}

bool QtPrintDialogs::hasPrinter()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool QtPrintDialogs::askPrinterSetup(QPrinter& printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrintDialogs::askPageSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtPrintDialogs::askLogoFile()
{
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(),
                                                      localization::translate("All supported files") +
                                                          QStringLiteral(" (*.bmp *.png *.jpg);;Bitmap Files "
                                                                         "(*.bmp);;Pictures (*.png *.jpg)"));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> QtPrintDialogs::askPdfFile()
{
    QFileDialog dialog(QApplication::activeWindow(), QString(), QString(), QStringLiteral("PDF Files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace printing
