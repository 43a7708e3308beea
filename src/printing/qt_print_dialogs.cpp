#include "qt_print_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace printing {

void QtPrintDialogs::showMessage(const QString& text, calculation::MessageIcon icon)
{
    QWidget* owner = m_window ? m_window->window() : nullptr;
    // The preview is modal over the main window, whose caption titles every message.
    const QString title = owner && owner->parentWidget() ? owner->parentWidget()->window()->windowTitle()
                          : owner                        ? owner->windowTitle()
                                                         : QString();
    QMessageBox box(icon == calculation::MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information, title,
                    text, QMessageBox::Ok, QApplication::activeWindow() ? QApplication::activeWindow() : owner);
    box.exec();
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
                                                      QStringLiteral("Bitmap Files (*.bmp);;Pictures (*.png *.jpg)"));
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
