#pragma once

#include <QString>

#include <initializer_list>

class QAbstractButton;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Small makers of the main window's controls, each under its own object name.
namespace mainwindow::widgets::form {

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name);
// "X", "+" and "-": square, as small as their caption allows.
QPushButton* smallButton(QWidget* parent, const char* name);
QLineEdit* settingField(QWidget* parent, const char* name, const QString& text);
// A drop-down list of empty items; the texts come later.
QComboBox* dropDown(QWidget* parent, const char* name, int items, int item);
// A check box with its text left of the box.
QCheckBox* checkBox(QWidget* parent, const char* name);

void setCaption(QAbstractButton* control, const QString& caption, const QString& hint = QString());
// The file buttons above the grids: in a narrow panel they give up their margins before the file name its room.
void setFileCaption(QPushButton* control, const QString& caption, const QString& hint);
// Replaces the texts of a list's items in place, so that the selected item stays selected.
void setItems(QComboBox* list, std::initializer_list<QString> texts);

// A row of controls; nullptr stands for a stretch.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets);

} // namespace mainwindow::widgets::form
