#include "form_helpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace mainwindow::widgets::form {

namespace {

constexpr int kSmallButtonWidth = 24;
constexpr int kRowSpacing = 4;

} // namespace

QPushButton* button(QWidget* parent, const char* name)
{
    return named(new QPushButton(parent), name);
}

QPushButton* smallButton(QWidget* parent, const char* name)
{
    QPushButton* result = button(parent, name);
    result->setFixedWidth(kSmallButtonWidth);
    return result;
}

QLineEdit* settingField(QWidget* parent, const char* name, const QString& text)
{
    auto* field = named(new QLineEdit(text, parent), name);
    field->setCursorPosition(0);
    return field;
}

QComboBox* dropDown(QWidget* parent, const char* name, int items, int item)
{
    auto* list = named(new QComboBox(parent), name);
    for (int i = 0; i < items; ++i)
        list->addItem(QString());
    list->setCurrentIndex(item);
    return list;
}

QCheckBox* checkBox(QWidget* parent, const char* name)
{
    auto* box = named(new QCheckBox(parent), name);
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

void setCaption(QAbstractButton* control, const QString& caption, const QString& hint)
{
    control->setText(caption);
    control->setToolTip(hint);
}

void setFileCaption(QPushButton* control, const QString& caption, const QString& hint)
{
    constexpr int kCaptionMargin = 16;
    setCaption(control, caption, hint);
    control->setMinimumWidth(control->fontMetrics().horizontalAdvance(caption) + kCaptionMargin);
    control->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void setItems(QComboBox* list, std::initializer_list<QString> texts)
{
    int item = 0;
    for (const QString& text : texts) {
        if (item < list->count())
            list->setItemText(item, text);
        else
            list->addItem(text);
        ++item;
    }
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    layout->setSpacing(kRowSpacing);
    for (QWidget* widget : widgets) {
        if (widget)
            layout->addWidget(widget);
        else
            layout->addStretch();
    }
    return layout;
}

} // namespace mainwindow::widgets::form
