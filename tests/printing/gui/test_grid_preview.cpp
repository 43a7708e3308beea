// The preview window's controls, offscreen, with scripted printer dialogs.

#include "support/scripted_print_dialogs.h"

#include "calculation/grid_model.h"
#include "calculation/grids.h"
#include "printing/grid_preview.h"
#include "printing/layout_printout.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

#include <memory>

namespace {

class FixedClock : public calculation::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 9), QTime(9, 30)); }
};

int pdfPages(const QString& path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished())
        return -1;
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

class TestGridPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstPageWithItsCount();
    void textItemsEditTheSelectedOption();
    void numberItemsEditTheSelectedNumberInItsRange();
    void clickEnlargesAndShowAllFitsTheWidth();
    void printerSetupGivesTheOrientation();
    void printRefusesWithoutPrinterAndPrintsEveryPage();
    void savePdfAndLogoUseTheirDialogs();

private:
    template <typename Control> Control* find(const char* name) const
    {
        return m_preview->findChild<Control*>(QString::fromLatin1(name));
    }
    int headingTop() const { return m_printer->page(0).rows.first().top; }

    FixedClock m_clock;
    std::unique_ptr<calculation::GridModel> m_grid;
    std::unique_ptr<printing::TjvGridPrinter> m_printer;
    std::unique_ptr<QPrinter> m_device;
    ScriptedPrintDialogs m_dialogs;
    std::unique_ptr<printing::TjvGridPreview> m_preview;
    QTemporaryDir m_dir;
};

void TestGridPreview::init()
{
    m_grid.reset(calculation::createLayoutGrid());
    m_grid->setRows(2 + 120);
    for (int row = 2; row < m_grid->rows(); ++row) {
        m_grid->setCell(0, row, QString::number(row - 1));
        m_grid->setCell(5, row, QStringLiteral("A(1200) x 3 B(800)"));
    }
    m_printer = std::make_unique<printing::TjvGridPrinter>(*m_grid, m_clock);
    printing::prepareLayoutPrintout(*m_printer);
    m_printer->setColumnWidths(printing::defaultLayoutColumnWidths());
    m_device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_dialogs = ScriptedPrintDialogs();
    m_preview = std::make_unique<printing::TjvGridPreview>(*m_printer, *m_device, m_dialogs);
    m_preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
}

void TestGridPreview::cleanup()
{
    m_preview.reset();
}

void TestGridPreview::opensOnTheFirstPageWithItsCount()
{
    QCOMPARE(m_preview->windowTitle(), QStringLiteral("Preview and Print"));
    QCOMPARE(m_preview->size(), QSize(650, 450));
    const int pages = m_printer->pageCount();
    QVERIFY(pages >= 2);
    QCOMPARE(find<QLabel>("lbPages")->text(), QStringLiteral("of %1").arg(pages));
    QCOMPARE(find<QSpinBox>("sePage")->value(), 1);
    QCOMPARE(find<QSpinBox>("sePage")->maximum(), pages);
    QCOMPARE(find<QLineEdit>("edHeader")->text(), QStringLiteral("Header"));
    QVERIFY(find<QCheckBox>("ckLive")->isChecked());
    QVERIFY(!find<QCheckBox>("ckGrid")->isChecked());
    QCOMPARE(m_preview->fullWidth(), m_printer->pageSize().width());
    const QImage plain = find<QLabel>("imgPage")->pixmap().toImage();
    QTest::mouseClick(find<QCheckBox>("ckGrid"), Qt::LeftButton);
    QVERIFY(m_printer->options().borders);
    QVERIFY(find<QLabel>("imgPage")->pixmap().toImage() != plain);
    find<QSpinBox>("sePage")->setValue(2);
    QCOMPARE(find<QLabel>("imgPage")->pixmap().toImage(), m_printer->pageImage(1));
}

void TestGridPreview::textItemsEditTheSelectedOption()
{
    auto* items = find<QComboBox>("cbHeader");
    auto* text = find<QLineEdit>("edHeader");
    items->setCurrentIndex(1);
    QCOMPARE(text->text(), QStringLiteral("print date: date|page"));
    items->setCurrentIndex(0);
    QCOMPARE(text->text(), QStringLiteral("Barvik pipe cutting system - layouts preview"));
    text->clear();
    QTest::keyClicks(text, QStringLiteral("Job 17"));
    QCOMPARE(m_printer->options().PageTitle, QStringLiteral("Job 17"));
    items->setCurrentIndex(2);
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("dd.mm.yyyy"));
    QCOMPARE(m_printer->footerTexts(0)[0], QStringLiteral("print date: 09.12.2026"));
}

void TestGridPreview::numberItemsEditTheSelectedNumberInItsRange()
{
    auto* items = find<QComboBox>("cbMargin");
    auto* value = find<QSpinBox>("seMargin");
    items->setCurrentIndex(1);
    QCOMPARE(value->value(), 10);
    QCOMPARE(value->minimum(), 0);
    QCOMPARE(value->maximum(), 400);
    const int top = headingTop();
    value->setValue(60);
    QCOMPARE(m_printer->options().MarginTop, 60);
    QCOMPARE(headingTop(), top + 50);
    items->setCurrentIndex(7);
    QCOMPARE(value->minimum(), 6);
    value->setValue(100);
    QCOMPARE(m_printer->options().FooterSize, 72);
    // Without "Live Show" the page waits for "Preview".
    find<QCheckBox>("ckLive")->setChecked(false);
    items->setCurrentIndex(0);
    value->setValue(40);
    QCOMPARE(headingTop(), top + 50);
    QTest::mouseClick(find<QPushButton>("btnPreview"), Qt::LeftButton);
    QCOMPARE(headingTop(), top + 80);
}

void TestGridPreview::clickEnlargesAndShowAllFitsTheWidth()
{
    auto* image = find<QLabel>("imgPage");
    const int full = m_preview->fullWidth();
    QTest::mouseClick(find<QPushButton>("btnShowAll"), Qt::LeftButton);
    const int fitted = m_preview->shownWidth();
    QVERIFY(fitted < full * 0.8);
    QCOMPARE(image->width(), fitted);
    QTest::mouseClick(image, Qt::LeftButton);
    QCOMPARE(m_preview->shownWidth(), int(fitted * 1.25));
    for (int click = 0; click < 10 && m_preview->shownWidth() != full; ++click)
        QTest::mouseClick(image, Qt::LeftButton);
    QCOMPARE(m_preview->shownWidth(), full);

    // Zoom steps both ways, Ctrl and the wheel, and the whole page in sight.
    QTest::mouseClick(find<QPushButton>("btnZoomIn"), Qt::LeftButton);
    QCOMPARE(m_preview->shownWidth(), int(std::lround(full * 1.25)));
    QCOMPARE(image->width(), m_preview->shownWidth());
    QTest::mouseClick(find<QPushButton>("btnZoomOut"), Qt::LeftButton);
    QCOMPARE(m_preview->shownWidth(), full);
    auto* viewport = image->parentWidget();
    QWheelEvent wheel(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    QCOMPARE(m_preview->shownWidth(), int(std::lround(full / 1.25)));
    QTest::mouseClick(find<QPushButton>("btnFitPage"), Qt::LeftButton);
    QVERIFY(image->height() <= viewport->height());
    QVERIFY(image->width() < fitted);
    for (const QWidget* control : m_preview->findChildren<QWidget*>())
        if (qobject_cast<const QAbstractButton*>(control) || qobject_cast<const QComboBox*>(control) ||
            qobject_cast<const QAbstractSpinBox*>(control) || qobject_cast<const QLineEdit*>(control))
            QVERIFY2(!control->toolTip().isEmpty() || !control->property("text").toString().isEmpty(),
                     qPrintable(control->objectName()));
}

void TestGridPreview::printerSetupGivesTheOrientation()
{
    auto* setup = find<QPushButton>("btnSetup");
    QTest::mouseClick(setup, Qt::LeftButton);
    QCOMPARE(m_printer->options().orientation, QPageLayout::Portrait);
    m_dialogs.setup = [](QPrinter& printer) { printer.setPageOrientation(QPageLayout::Landscape); };
    QTest::mouseClick(setup, Qt::LeftButton);
    QCOMPARE(m_printer->options().orientation, QPageLayout::Landscape);
    QVERIFY(m_printer->pageSize().width() > m_printer->pageSize().height());
}

void TestGridPreview::printRefusesWithoutPrinterAndPrintsEveryPage()
{
    auto* print = find<QPushButton>("btnPrint");
    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(m_dialogs.messages, QStringList{QStringLiteral("No printer installed!")});
    QVERIFY(m_preview->isVisible());
    // A printer that spools to a file stands in for a real one.
    m_dialogs.printerInstalled = true;
    const QString path = m_dir.filePath(QStringLiteral("printed.pdf"));
    m_device->setOutputFormat(QPrinter::PdfFormat);
    m_device->setOutputFileName(path);
    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(pdfPages(path), m_printer->pageCount());
}

void TestGridPreview::savePdfAndLogoUseTheirDialogs()
{
    QTest::mouseClick(find<QPushButton>("btnPdf"), Qt::LeftButton);
    const QString path = m_dir.filePath(QStringLiteral("layouts.pdf"));
    m_dialogs.pdfFile = path;
    QTest::mouseClick(find<QPushButton>("btnPdf"), Qt::LeftButton);
    QCOMPARE(pdfPages(path), m_printer->pageCount());
    m_dialogs.pdfFile = m_dir.filePath(QStringLiteral("no/such/folder/x.pdf"));
    QTest::mouseClick(find<QPushButton>("btnPdf"), Qt::LeftButton);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(m_dialogs.messages[0].startsWith(QStringLiteral("Cannot save file")));

    QImage logo(40, 60, QImage::Format_RGB32);
    logo.fill(Qt::red);
    const QString logoPath = m_dir.filePath(QStringLiteral("logo.bmp"));
    QVERIFY(logo.save(logoPath));
    const int top = headingTop();
    m_dialogs.logoFile = logoPath;
    QTest::mouseClick(find<QPushButton>("btnLogo"), Qt::LeftButton);
    QCOMPARE(m_printer->options().Logo, logoPath);
    QVERIFY(headingTop() > top);
}

QTEST_MAIN(TestGridPreview)
#include "test_grid_preview.moc"
