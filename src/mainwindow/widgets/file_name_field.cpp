#include "file_name_field.h"

#include <QDir>
#include <QFileInfo>

namespace mainwindow::widgets {

FileNameField::FileNameField(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    setPalette(grey);
    // Room for a short file name when the panel is at its narrowest.
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("stocks.txt")) + 12);
}

void FileNameField::setPath(const QString& path)
{
    m_path = path;
    showPath();
}

void FileNameField::setHint(const QString& hint)
{
    m_hint = hint;
    showPath();
}

void FileNameField::showPath()
{
    setText(QFileInfo(m_path).fileName());
    setCursorPosition(0);
    setToolTip(m_path.isEmpty() ? m_hint : m_hint + u'\n' + QDir::toNativeSeparators(m_path));
}

} // namespace mainwindow::widgets
