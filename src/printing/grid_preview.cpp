#include "grid_preview.h"

#include "layout_printout.h"
#include "print_options.h"

#include "localization/translate.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace printing {

using localization::translate;

namespace {

constexpr int kWidth = 650;
constexpr int kHeight = 450;
constexpr double kZoomStep = 1.25;
constexpr double kZoomUntil = 0.8;
// The zoom's range, as parts of the full page image's width.
constexpr double kLeastZoom = 0.1;
constexpr double kMostZoom = 4.0;
constexpr int kFontSizeItems = 6;
constexpr int kLogoItem = 4;

template <typename Widget> Widget* named(Widget* widget, const char* name, const QString& tip = {})
{
    widget->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty())
        widget->setToolTip(tip);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    return named(new QPushButton(caption, parent), name, tip);
}

} // namespace

void PageImage::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    Q_EMIT clicked();
}

TjvGridPreview::TjvGridPreview(PagedDocument& document, QPrinter& device, PrintDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_document(document), m_device(device), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TjvGridPreview"));
    setWindowTitle(QStringLiteral("Preview and Print"));
    setModal(true);
    resize(kWidth, kHeight);
    if (parent)
        move(parent->window()->geometry().center() - rect().center());
    m_document.setPageLayout(m_device.pageLayout());
    buildControls();
    connectControls();
    refresh();
}

void TjvGridPreview::buildControls()
{
    m_headerItems = named(new QComboBox(this), "cbHeader", translate("Which text of the page the field beside edits"));
    m_headerItems->addItems({QStringLiteral("Page Title"), QStringLiteral("Page Footer"), QStringLiteral("Date Format"),
                             QStringLiteral("Time Format"), QStringLiteral("Logo")});
    m_headerItems->setCurrentIndex(-1);
    m_headerItems->setPlaceholderText(translate("Text of the page"));
    m_headerText = named(new QLineEdit(QStringLiteral("Header"), this), "edHeader",
                         translate("The text chosen on the left; the page follows as you type"));
    m_marginItems =
        named(new QComboBox(this), "cbMargin", translate("Which margin or font size the number beside sets"));
    m_marginItems->addItems({QStringLiteral("Title Margin"), QStringLiteral("Top Margin"),
                             QStringLiteral("Left Margin"), QStringLiteral("Right Margin"),
                             QStringLiteral("Bottom Margin"), QStringLiteral("Left Padding"),
                             QStringLiteral("Header Font Size"), QStringLiteral("Footer Font Size")});
    m_marginItems->setCurrentIndex(-1);
    m_marginItems->setPlaceholderText(translate("Margin or font size"));
    m_marginValue = named(new QSpinBox(this), "seMargin", translate("Margins in screen pixels, font sizes in points"));
    m_marginValue->setEnabled(false);
    m_live = named(new QCheckBox(QStringLiteral("Live Show"), this), "ckLive",
                   translate("Draw the page again at every change"));
    m_live->setChecked(true);
    // Borders are off by default, so the box starts cleared.
    m_grid = named(new QCheckBox(QStringLiteral("Show Grid"), this), "ckGrid",
                   translate("Cell borders or label outlines on or off"));
    m_grid->setChecked(false);
    m_document.setOutlines(false);
    m_page = named(new QSpinBox(this), "sePage", translate("The page shown"));
    m_pageCount = named(new QLabel(this), "lbPages");
    auto* logo = named(new QPushButton(this), "btnLogo", translate("Choose a picture printed at the top left"));
    logo->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_image = named(new PageImage(this), "imgPage");
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_image);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->viewport()->installEventFilter(this);

    m_controls = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{m_headerItems, m_headerText, logo, m_marginItems,
                                                           m_marginValue, m_live, m_grid})
        m_controls->addWidget(widget);
    // A document without the grid printer's options (a label sheet) has nothing for these to edit.
    if (!m_document.printOptions())
        for (QWidget* widget :
             std::initializer_list<QWidget*>{m_headerItems, m_headerText, logo, m_marginItems, m_marginValue, m_live})
            widget->hide();
    auto* pages = new QHBoxLayout;
    pages->addWidget(m_page);
    pages->addWidget(m_pageCount);
    const std::initializer_list<std::tuple<const char*, QString, QString>> buttons = {
        {"btnSetup", QStringLiteral("Printer setup"), translate("Paper, orientation and margins of the printer")},
        {"btnPreview", QStringLiteral("Preview"), translate("Draw the page again")},
        {"btnZoomOut", QStringLiteral("-"), translate("Zoom out (Ctrl+wheel)")},
        {"btnZoomIn", QStringLiteral("+"), translate("Zoom in (Ctrl+wheel)")},
        {"btnShowAll", QStringLiteral("Show all"), translate("Fit the page's width to the window")},
        {"btnFitPage", QStringLiteral("Fit page"), translate("Show the whole page")},
        {"btnPrint", QStringLiteral("Print"), translate("Print every page")},
        {"btnPdf", QStringLiteral("Save PDF..."), translate("Save every page as a PDF file")}};
    for (const auto& [name, caption, tip] : buttons) {
        QPushButton* pushButton = button(this, name, caption, tip);
        // As narrow as their captions, so that the row fits the window's width.
        pushButton->setFixedWidth(std::max(28, pushButton->fontMetrics().horizontalAdvance(caption) + 20));
        pages->addWidget(pushButton);
    }
    pages->addStretch();
    // Labels bring their own paper.
    findChild<QPushButton*>(QStringLiteral("btnSetup"))->setEnabled(m_document.takesPrinterPaper());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_controls);
    layout->addLayout(pages);
    layout->addWidget(m_scroll, 1);
}

void TjvGridPreview::connectControls()
{
    auto clicked = [this](const char* name, void (TjvGridPreview::*slot)()) {
        connect(findChild<QPushButton*>(QString::fromLatin1(name)), &QPushButton::clicked, this, slot);
    };
    connect(m_headerItems, &QComboBox::currentIndexChanged, this, &TjvGridPreview::headerItemChanged);
    connect(m_headerText, &QLineEdit::textEdited, this, &TjvGridPreview::headerTextEdited);
    connect(m_marginItems, &QComboBox::currentIndexChanged, this, &TjvGridPreview::marginItemChanged);
    connect(m_marginValue, &QSpinBox::valueChanged, this, &TjvGridPreview::marginValueChanged);
    connect(m_grid, &QCheckBox::toggled, this, [this](bool on) {
        m_document.setOutlines(on);
        optionChanged();
    });
    connect(m_page, &QSpinBox::valueChanged, this, &TjvGridPreview::showPage);
    clicked("btnSetup", &TjvGridPreview::printerSetup);
    clicked("btnPreview", &TjvGridPreview::refresh);
    clicked("btnZoomOut", &TjvGridPreview::zoomOut);
    clicked("btnZoomIn", &TjvGridPreview::zoomIn);
    clicked("btnShowAll", &TjvGridPreview::fitWidth);
    clicked("btnFitPage", &TjvGridPreview::fitPage);
    clicked("btnPrint", &TjvGridPreview::print);
    clicked("btnPdf", &TjvGridPreview::savePdf);
    clicked("btnLogo", &TjvGridPreview::chooseLogo);
    connect(m_image, &PageImage::clicked, this, &TjvGridPreview::enlarge);
}

void TjvGridPreview::addControls(QWidget* controls)
{
    controls->setParent(this);
    m_controls->insertWidget(0, controls);
    m_controls->addStretch();
}

QString* TjvGridPreview::headerOption(int index)
{
    TPrintOptions* options = m_document.printOptions();
    if (!options)
        return nullptr;
    QString* const fields[] = {&options->PageTitle, &options->PageFooter, &options->DateFormat, &options->TimeFormat,
                               &options->Logo};
    return index >= 0 && index < int(std::size(fields)) ? fields[index] : nullptr;
}

int* TjvGridPreview::marginOption(int index)
{
    TPrintOptions* options = m_document.printOptions();
    if (!options)
        return nullptr;
    int* const fields[] = {&options->PageTitleMargin, &options->MarginTop,    &options->MarginLeft,
                           &options->MarginRight,     &options->MarginBottom, &options->Leftpadding,
                           &options->HeaderSize,      &options->FooterSize};
    return index >= 0 && index < int(std::size(fields)) ? fields[index] : nullptr;
}

void TjvGridPreview::optionChanged()
{
    if (m_live->isChecked())
        refresh();
}

void TjvGridPreview::headerItemChanged(int index)
{
    if (const QString* option = headerOption(index))
        m_headerText->setText(*option);
}

void TjvGridPreview::headerTextEdited(const QString& text)
{
    if (QString* option = headerOption(m_headerItems->currentIndex())) {
        *option = text;
        optionChanged();
    }
}

void TjvGridPreview::marginItemChanged(int index)
{
    const int* option = marginOption(index);
    m_marginValue->setEnabled(option != nullptr);
    if (!option)
        return;
    const bool fontSize = index >= kFontSizeItems;
    const QSignalBlocker blocker(m_marginValue);
    m_marginValue->setRange(fontSize ? 6 : 0, fontSize ? 72 : 400);
    m_marginValue->setValue(*option);
}

void TjvGridPreview::marginValueChanged(int value)
{
    if (int* option = marginOption(m_marginItems->currentIndex())) {
        *option = value;
        optionChanged();
    }
}

void TjvGridPreview::refresh()
{
    m_document.layOut();
    const int pages = std::max(1, m_document.pageCount());
    {
        const QSignalBlocker blocker(m_page);
        m_page->setRange(1, pages);
    }
    m_pageCount->setText(QStringLiteral("of %1").arg(m_document.pageCount()));
    // A new paper keeps the zoom as a part of the page's width.
    const int full = m_document.pageSize().width();
    m_shownWidth =
        m_fullWidth > 0 && m_shownWidth > 0 ? int(std::lround(double(m_shownWidth) * full / m_fullWidth)) : full;
    m_fullWidth = full;
    showPage();
}

int TjvGridPreview::fullWidth() const
{
    return m_fullWidth;
}

void TjvGridPreview::showPage()
{
    if (m_document.pageCount() == 0 || m_fullWidth <= 0)
        return;
    const int index = m_page->value() - 1;
    if (TPrintOptions* options = m_document.printOptions())
        options->PreviewPage = m_page->value();
    // Drawn at the size shown, so that a page zoomed in stays sharp.
    const QSize full = m_document.pageSize();
    const QSize shown(m_shownWidth, std::max(1, int(std::lround(double(m_shownWidth) * full.height() / full.width()))));
    const QImage image = m_document.pageImage(index, m_shownWidth == m_fullWidth ? QSize() : shown);
    m_image->setPixmap(QPixmap::fromImage(image));
    m_image->resize(image.size());
}

void TjvGridPreview::zoomTo(int width)
{
    m_shownWidth = std::clamp(width, std::max(1, int(kLeastZoom * m_fullWidth)), int(kMostZoom * m_fullWidth));
    showPage();
}

void TjvGridPreview::enlarge()
{
    const bool small = m_shownWidth <= kZoomUntil * fullWidth();
    zoomTo(small ? int(m_shownWidth * kZoomStep) : fullWidth());
}

void TjvGridPreview::zoomIn()
{
    zoomTo(int(std::lround(m_shownWidth * kZoomStep)));
}

void TjvGridPreview::zoomOut()
{
    zoomTo(int(std::lround(m_shownWidth / kZoomStep)));
}

void TjvGridPreview::fitWidth()
{
    zoomTo(std::max(1, m_scroll->viewport()->width() - m_scroll->verticalScrollBar()->sizeHint().width()));
}

void TjvGridPreview::fitPage()
{
    const QSize page = m_document.pageSize();
    const QSize room = m_scroll->viewport()->size() - QSize(4, 4);
    zoomTo(std::max(1, std::min(room.width(), int(double(room.height()) * page.width() / page.height()))));
}

bool TjvGridPreview::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl and the wheel zoom, as in other viewers; the plain wheel scrolls.
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (wheel->angleDelta().y() > 0)
                zoomIn();
            else if (wheel->angleDelta().y() < 0)
                zoomOut();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TjvGridPreview::printerSetup()
{
    if (!m_dialogs.askPageSetup(m_device))
        return;
    if (TPrintOptions* options = m_document.printOptions())
        options->orientation = m_device.pageLayout().orientation();
    m_document.setPageLayout(m_device.pageLayout());
    refresh();
}

void TjvGridPreview::chooseLogo()
{
    TPrintOptions* options = m_document.printOptions();
    if (!options)
        return;
    if (const std::optional<QString> path = m_dialogs.askLogoFile()) {
        options->Logo = *path;
        if (m_headerItems->currentIndex() == kLogoItem)
            m_headerText->setText(*path);
        optionChanged();
    }
}

void TjvGridPreview::print()
{
    if (!m_dialogs.hasPrinter()) {
        m_dialogs.showMessage(translate("No printer installed!"), calculation::MessageIcon::Error);
        return;
    }
    const QPageLayout printerPaper = m_device.pageLayout();
    m_device.setDocName(m_document.documentName());
    if (const TPrintOptions* options = m_document.printOptions()) {
        m_device.setPageOrientation(options->orientation);
        if (options->copies > 0)
            m_device.setCopyCount(options->copies);
    }
    // A label sheet is printed on its own paper from the paper's edge.
    const bool ownPaper = !m_document.takesPrinterPaper();
    if (ownPaper) {
        m_device.setFullPage(true);
        m_device.setPageLayout(m_document.pageLayout());
    } else {
        m_document.setPageLayout(m_device.pageLayout());
    }
    m_document.layOut();
    QPainter painter;
    if (painter.begin(&m_device)) {
        m_document.printAll(m_device, painter);
        painter.end();
    } else {
        m_dialogs.showMessage(translate("The printer could not start the job."), calculation::MessageIcon::Error);
    }
    // The printer keeps the paper the user chose for the other printouts.
    if (ownPaper) {
        m_device.setFullPage(false);
        m_device.setPageLayout(printerPaper);
    }
}

void TjvGridPreview::savePdf()
{
    const std::optional<QString> path = m_dialogs.askPdfFile();
    if (!path)
        return;
    if (const calculation::FileResult written = writePdf(m_document, *path); !written.ok)
        m_dialogs.showMessage(written.message(), calculation::MessageIcon::Error);
}

} // namespace printing
