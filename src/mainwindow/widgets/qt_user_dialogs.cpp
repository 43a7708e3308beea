#include "qt_user_dialogs.h"

#include "desktop/message_box.h"
#include "localization/translate.h"
#include "mainwindow/list_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace mainwindow::widgets {

void QtUserDialogs::showMessage(const QString& text, calculation::MessageIcon icon)
{
    desktop::showMessageBox(m_window, text, icon);
}

void QtUserDialogs::showTitledMessage(const QString& title, const QString& text, calculation::MessageIcon icon)
{
    desktop::showMessageBox(m_window, text, icon, title);
}

Answer QtUserDialogs::ask(const Question& question)
{
    QMessageBox box(QMessageBox::Warning, desktop::programCaption(), question.text, QMessageBox::NoButton, m_window);
    box.setInformativeText(question.details);
    QPushButton* accept = box.addButton(question.accept, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(question.discard, QMessageBox::DestructiveRole);
    QPushButton* cancel =
        question.cancel ? box.addButton(localization::translate("Cancel"), QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(accept);
    box.setEscapeButton(cancel ? cancel : discard);
    box.exec();
    if (box.clickedButton() == accept)
        return Answer::Accept;
    if (box.clickedButton() == discard)
        return Answer::Discard;
    return Answer::Cancel;
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
