#include "qt_user_dialogs.h"

#include "mainwindow/list_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QStyle>
#include <QUrl>

namespace mainwindow::widgets {

void QtUserDialogs::showMessage(const QString& text, calculation::MessageIcon icon)
{
    showTitledMessage(m_window ? m_window->windowTitle() : QString(), text, icon);
}

void QtUserDialogs::showTitledMessage(const QString& title, const QString& text, calculation::MessageIcon icon)
{
    const QMessageBox::Icon shown =
        icon == calculation::MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(shown, title, text, QMessageBox::Ok, m_window);
    // The desktop theme's icon where it has one; the style's own otherwise.
    const QIcon themed =
        QIcon::fromTheme(icon == calculation::MessageIcon::Error ? QStringLiteral("dialog-error")
                                                                 : QStringLiteral("dialog-information"));
    if (!themed.isNull())
        box.setIconPixmap(themed.pixmap(box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box)));
    box.exec();
}

void QtUserDialogs::openDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::optional<FileChoice> QtUserDialogs::askOpenFile(const FileDialogSetup& setup)
{
    return ask(setup, false);
}

std::optional<FileChoice> QtUserDialogs::askSaveFile(const FileDialogSetup& setup)
{
    return ask(setup, true);
}

std::optional<FileChoice> QtUserDialogs::ask(const FileDialogSetup& setup, bool save)
{
    QFileDialog dialog(m_window, setup.title, m_lastFolder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(setup.filter);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(setup.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    m_lastFolder = QFileInfo(path).absolutePath();
    const int position = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return FileChoice{path, std::max(position, 1)};
}

} // namespace mainwindow::widgets
