#include "grid_preview.h"

#include "layout_printout.h"

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

namespace printing {

namespace {

constexpr int kWidth = 650;
constexpr int kHeight = 450;
constexpr double kZoomStep = 1.25;
constexpr double kZoomUntil = 0.8;
constexpr int kFontSizeItems = 6;

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    return named(new QPushButton(caption, parent), name);
}

} // namespace

void PageImage::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    Q_EMIT clicked();
}

TjvGridPreview::TjvGridPreview(TjvGridPrinter& printer, QPrinter& device, PrintDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_printer(printer), m_device(device), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TjvGridPreview"));
    setWindowTitle(QStringLiteral("Preview and Print"));
    setModal(true);
    resize(kWidth, kHeight);
    if (parent)
        move(parent->window()->geometry().center() - rect().center());
    m_printer.setPageLayout(m_device.pageLayout());
    buildControls();
    refresh();
}

void TjvGridPreview::buildControls()
{
    m_headerItems = named(new QComboBox(this), "cbHeader");
    m_headerItems->addItems({QStringLiteral("Page Title"), QStringLiteral("Page Footer"), QStringLiteral("Date Format"),
                             QStringLiteral("Time Format"), QStringLiteral("Logo")});
    m_headerItems->setCurrentIndex(-1);
    m_headerText = named(new QLineEdit(QStringLiteral("Header"), this), "edHeader");
    m_marginItems = named(new QComboBox(this), "cbMargin");
    m_marginItems->addItems({QStringLiteral("Title Margin"), QStringLiteral("Top Margin"),
                             QStringLiteral("Left Margin"), QStringLiteral("Right Margin"),
                             QStringLiteral("Bottom Margin"), QStringLiteral("Left Padding"),
                             QStringLiteral("Header Font Size"), QStringLiteral("Footer Font Size")});
    m_marginItems->setCurrentIndex(-1);
    m_marginValue = named(new QSpinBox(this), "seMargin");
    m_marginValue->setEnabled(false);
    m_live = named(new QCheckBox(QStringLiteral("Live Show"), this), "ckLive");
    m_live->setChecked(true);
    // Borders are off by default, so the box starts cleared.
    m_grid = named(new QCheckBox(QStringLiteral("Show Grid"), this), "ckGrid");
    m_grid->setChecked(false);
    m_printer.options().borders = false;
    m_page = named(new QSpinBox(this), "sePage");
    m_pageCount = named(new QLabel(this), "lbPages");
    QPushButton* setup = button(this, "btnSetup", QStringLiteral("Printer setup"));
    QPushButton* redraw = button(this, "btnPreview", QStringLiteral("Preview"));
    QPushButton* all = button(this, "btnShowAll", QStringLiteral("Show all"));
    QPushButton* print = button(this, "btnPrint", QStringLiteral("Print"));
    QPushButton* pdf = button(this, "btnPdf", QStringLiteral("Save PDF..."));
    QPushButton* logo = named(new QPushButton(this), "btnLogo");
    logo->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    logo->setToolTip(QStringLiteral("Logo"));
    m_image = named(new PageImage(this), "imgPage");
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_image);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto* controls = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{m_headerItems, m_headerText, logo, m_marginItems,
                                                           m_marginValue, m_live, m_grid})
        controls->addWidget(widget);
    auto* pages = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{m_page, m_pageCount, setup, redraw, all, print, pdf})
        pages->addWidget(widget);
    pages->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(pages);
    layout->addWidget(m_scroll, 1);

    connect(m_headerItems, &QComboBox::currentIndexChanged, this, &TjvGridPreview::headerItemChanged);
    connect(m_headerText, &QLineEdit::textEdited, this, &TjvGridPreview::headerTextEdited);
    connect(m_marginItems, &QComboBox::currentIndexChanged, this, &TjvGridPreview::marginItemChanged);
    connect(m_marginValue, &QSpinBox::valueChanged, this, &TjvGridPreview::marginValueChanged);
    connect(m_grid, &QCheckBox::toggled, this, [this](bool on) {
        m_printer.options().borders = on;
        optionChanged();
    });
    connect(m_page, &QSpinBox::valueChanged, this, &TjvGridPreview::showPage);
    connect(setup, &QPushButton::clicked, this, &TjvGridPreview::printerSetup);
    connect(redraw, &QPushButton::clicked, this, &TjvGridPreview::refresh);
    connect(all, &QPushButton::clicked, this, &TjvGridPreview::showAll);
    connect(print, &QPushButton::clicked, this, &TjvGridPreview::print);
    connect(pdf, &QPushButton::clicked, this, &TjvGridPreview::savePdf);
    connect(logo, &QPushButton::clicked, this, &TjvGridPreview::chooseLogo);
    connect(m_image, &PageImage::clicked, this, &TjvGridPreview::enlarge);
}

QString* TjvGridPreview::headerOption(int index)
{
    TPrintOptions& options = m_printer.options();
    QString* const fields[] = {&options.PageTitle, &options.PageFooter, &options.DateFormat, &options.TimeFormat,
                               &options.Logo};
    return index >= 0 && index < int(std::size(fields)) ? fields[index] : nullptr;
}

int* TjvGridPreview::marginOption(int index)
{
    TPrintOptions& options = m_printer.options();
    int* const fields[] = {&options.PageTitleMargin, &options.MarginTop,   &options.MarginLeft, &options.MarginRight,
                           &options.MarginBottom,    &options.Leftpadding, &options.HeaderSize, &options.FooterSize};
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
    m_printer.layOut();
    const int pages = m_printer.pageCount();
    {
        const QSignalBlocker blocker(m_page);
        m_page->setRange(1, pages);
    }
    m_pageCount->setText(QStringLiteral("of %1").arg(pages));
    showPage();
}

int TjvGridPreview::fullWidth() const
{
    return m_pageImage.width();
}

void TjvGridPreview::showPage()
{
    if (m_printer.pageCount() == 0)
        return;
    const bool first = m_pageImage.isNull();
    m_printer.options().PreviewPage = m_page->value();
    m_pageImage = m_printer.pageImage(m_page->value() - 1);
    if (first || m_shownWidth <= 0)
        m_shownWidth = m_pageImage.width();
    const QImage shown = m_shownWidth == m_pageImage.width()
                             ? m_pageImage
                             : m_pageImage.scaledToWidth(m_shownWidth, Qt::SmoothTransformation);
    m_image->setPixmap(QPixmap::fromImage(shown));
    m_image->resize(shown.size());
}

void TjvGridPreview::enlarge()
{
    const bool small = m_shownWidth <= kZoomUntil * fullWidth();
    m_shownWidth = small ? int(m_shownWidth * kZoomStep) : fullWidth();
    showPage();
}

void TjvGridPreview::showAll()
{
    m_shownWidth = std::max(1, m_scroll->viewport()->width() - m_scroll->verticalScrollBar()->sizeHint().width());
    showPage();
}

void TjvGridPreview::printerSetup()
{
    if (!m_dialogs.askPrinterSetup(m_device))
        return;
    m_printer.options().orientation = m_device.pageLayout().orientation();
    m_printer.setPageLayout(m_device.pageLayout());
    refresh();
}

void TjvGridPreview::chooseLogo()
{
    if (const std::optional<QString> path = m_dialogs.askLogoFile()) {
        m_printer.options().Logo = *path;
        if (m_headerItems->currentIndex() == 4)
            m_headerText->setText(*path);
        optionChanged();
    }
}

void TjvGridPreview::print()
{
    if (!m_dialogs.hasPrinter()) {
        m_dialogs.showMessage(localization::translate("No printer installed!"), calculation::MessageIcon::Error);
        return;
    }
    const TPrintOptions& options = m_printer.options();
    m_device.setPageOrientation(options.orientation);
    m_device.setDocName(options.jobTitle);
    if (options.copies > 0)
        m_device.setCopyCount(options.copies);
    m_printer.setPageLayout(m_device.pageLayout());
    m_printer.layOut();
    QPainter painter;
    if (!painter.begin(&m_device)) {
        m_dialogs.showMessage(localization::translate("The printer could not start the job."),
                              calculation::MessageIcon::Error);
        return;
    }
    m_printer.printAll(m_device, painter);
    painter.end();
}

void TjvGridPreview::savePdf()
{
    const std::optional<QString> path = m_dialogs.askPdfFile();
    if (!path)
        return;
    QString error;
    if (!writePdf(m_printer, *path, &error))
        m_dialogs.showMessage(error, calculation::MessageIcon::Error);
}

} // namespace printing
