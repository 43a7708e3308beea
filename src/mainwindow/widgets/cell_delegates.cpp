#include "cell_delegates.h"

#include "grid_view.h"

#include "calculation/grid_model.h"
#include "calculation/grids.h"
#include "calculation/layout_table.h"
#include "diagrams/painting/diagram_painter.h"
#include "lists/split_fields.h"
#include "localization/translate.h"
#include "mainwindow/grid_input.h"
#include "mainwindow/layout_wrap.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace mainwindow::widgets {

using calculation::GridModel;
using localization::translate;

namespace {

constexpr int kTextIndent = 2;
constexpr const char* kTypedProperty = "barvikTyped";

bool isDataRow(const QModelIndex& index)
{
    return index.row() >= GridModel::kFirstDataRow;
}

QColor shadeColour(calculation::LeftLenShade shade)
{
    // The diagrams shade their left-overs the same way.
    return diagrams::toColor(diagrams::leftOverFill(shade));
}

} // namespace

QColor totalsShade()
{
    return {240, 240, 240};
}

void paintShadedCell(QPainter* painter, const QStyleOptionViewItem& option, const QColor& colour, const QString& text)
{
    painter->save();
    painter->fillRect(option.rect, colour);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(option.rect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      text);
    painter->restore();
}

InputCellDelegate::InputCellDelegate(InputGrid kind, QObject* parent) : QStyledItemDelegate(parent), m_kind(kind) {}

QWidget* InputCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    if (m_kind == InputGrid::Stocks && index.column() == calculation::kPriorityColumn) {
        auto* list = new QComboBox(parent);
        list->addItems({translate("Yes"), translate("No")});
        return list;
    }
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        // A cell holds one line: a paste with TABs or line breaks from the context menu is refused whole.
        line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\t\\r\\n]*")), line));
        // Like a string grid, the cell follows the editor as it is typed into, through the rule of its column:
        // a text that may not stand is removed from the cell at once, while the editor keeps what was typed,
        // so "12.5" typed into an integer column ends empty rather than as "5".
        const InputGrid kind = m_kind;
        const QPersistentModelIndex cell(index);
        auto* self = const_cast<InputCellDelegate*>(this);
        connect(line, &QLineEdit::textEdited, line, [self, line, kind, cell](const QString& text) {
            if (!cell.isValid())
                return;
            line->setProperty(kTypedProperty, true);
            auto* model = const_cast<QAbstractItemModel*>(cell.model());
            model->setData(cell, acceptTypedText(kind, cell.column(), cell.row(), text), Qt::EditRole);
            const QString refusal = typedTextRefusal(kind, cell.column(), cell.row(), text);
            if (!refusal.isEmpty())
                Q_EMIT self->typedTextRefused(refusal);
        });
    }
    return editor;
}

void InputCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* list = qobject_cast<QComboBox*>(editor);
    if (!list) {
        // Once typed into, the editor shows what was typed, not the cell it keeps up to date.
        if (!editor->property(kTypedProperty).toBool())
            QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    // An empty cell starts at "Yes"; a text from a file that is neither word stays choosable.
    const QString text = index.data(Qt::EditRole).toString();
    int item = list->findText(text);
    if (item < 0 && !text.isEmpty()) {
        list->addItem(text);
        item = list->count() - 1;
    }
    list->setCurrentIndex(std::max(item, 0));
}

void InputCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* list = qobject_cast<QComboBox*>(editor))
        model->setData(index, list->currentText(), Qt::EditRole);
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        model->setData(index, acceptTypedText(m_kind, index.column(), index.row(), line->text()), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

void InputCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (m_kind == InputGrid::Parts && index.row() == GridModel::kTotalsRow) {
        paintShadedCell(painter, option, totalsShade(), index.data().toString());
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}

void InputCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_kind == InputGrid::Stocks && index.column() == calculation::kLeftQtyColumn && isDataRow(index))
        option->backgroundBrush = option->palette.button();
}

bool InputCellDelegate::pasteIntoEditor(QWidget* editor)
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    const QString text = QGuiApplication::clipboard()->text();
    if (!line || !text.contains(QRegularExpression(QStringLiteral("[\\t\\r\\n]"))))
        return false;
    const QStringList lines = lists::splitLines(text);
    if (lines.size() >= 2) {
        Q_EMIT commitData(editor);
        Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
        Q_EMIT rowsPasted();
    } else if (!lines.value(0).contains(u'\t')) {
        line->insert(lines.value(0));
    } else {
        Q_EMIT typedTextRefused(translate("A cell takes one line: paste rows with the cell editor closed"));
    }
    return true;
}

bool InputCellDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && keyEvent->matches(QKeySequence::Paste) && pasteIntoEditor(editor))
            return true;
        if (editor && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            Q_EMIT enterPressed();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

LayoutCellDelegate::LayoutCellDelegate(std::function<QString()> reuseText, QObject* parent)
    : QStyledItemDelegate(parent), m_reuseText(std::move(reuseText))
{
}

void LayoutCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data().toString();
    if (index.row() == GridModel::kTotalsRow) {
        paintShadedCell(painter, option, totalsShade(), text);
        return;
    }
    calculation::LeftLenShade shade;
    if (isDataRow(index) && index.column() == calculation::kLayoutLeftLenColumn &&
        calculation::leftLenShade(text, m_reuseText ? m_reuseText() : QString(), shade)) {
        QStyleOptionViewItem shaded = option;
        initStyleOption(&shaded, index);
        paintShadedCell(painter, shaded, shadeColour(shade), text);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}

QSize LayoutCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!isDataRow(index) || index.column() != calculation::kLayoutPiecesColumn)
        return {option.rect.width(), GridView::kMinTextRowHeight};
    QStyleOptionViewItem wrapped = option;
    initStyleOption(&wrapped, index);
    const QStyle* style = wrapped.widget ? wrapped.widget->style() : QApplication::style();
    const QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &wrapped, QSize(), wrapped.widget);
    return {size.width(), std::max(size.height(), GridView::kMinTextRowHeight)};
}

void LayoutCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!isDataRow(index))
        return;
    if (m_stale)
        option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Disabled, QPalette::Text));
    if (index.column() == calculation::kLayoutPiecesColumn) {
        // Lines break between pieces only, never between a piece and its count; the style then draws the
        // lines as they are, vertically centred like the other columns.
        const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
        const QFontMetrics metrics(option->font);
        const auto textWidth = [&metrics](const QString& line) { return metrics.horizontalAdvance(line); };
        const QStringList lines =
            wrapLayoutText(option->text, option->rect.width() - 2 * margin, textWidth, m_pieceNames);
        option->text = lines.join(QChar::LineSeparator);
        option->features &= ~QStyleOptionViewItem::WrapText;
        option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace mainwindow::widgets
