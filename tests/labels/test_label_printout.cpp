#include "diagrams/diagram_job.h"

#include "labels/painting/label_printout.h"
#include "printing/layout_printout.h"
#include "support/gui_environment.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

[[maybe_unused]] ::testing::Environment* const guiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

// What a scanner reads from each label of a PDF page (millimetre rectangles), one label at a time as a
// hand scanner reads them, the page drawn at 300 dpi.
QStringList scannedCodes(const QString& pdf, int page, const std::vector<QRectF>& labels, const QDir& dir)
{
    constexpr double kDotsPerMm = 300 / 25.4;
    const QString base = dir.filePath(QStringLiteral("page"));
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                  QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf, base});
    render.waitForFinished(60000);
    const QImage image(base + ".png");
    // One scanner run over every label's picture, in the labels' order.
    QStringList crops{QStringLiteral("--quiet"), QStringLiteral("--raw")};
    for (const QRectF& label : labels) {
        crops << dir.filePath(QStringLiteral("label-%1.png").arg(crops.size()));
        image.copy(QRectF(label.topLeft() * kDotsPerMm, label.size() * kDotsPerMm).toRect()).save(crops.last());
    }
    QProcess scan;
    scan.start(QStringLiteral("zbarimg"), crops);
    scan.waitForFinished(60000);
    const QStringList codes = QString::fromUtf8(scan.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return codes;
}

} // namespace

TEST(LabelPrintout, EveryBarcodeReadsBackFromThePdfPage)
{
    diagrams::DiagramSource source = diagramJob(5, 10);
    source.parts[1].label = "Stütze;A\\B";
    addPattern(source, {{0, 2}, {1, 1}}, 3);
    addPattern(source, {{2, 4}});
    const diagrams::PlanDiagrams plan = diagrams::buildDiagrams(
        source, QStringLiteral("500"), {QStringLiteral("091405YL1"), QStringLiteral("091405YL2")});
    labels::LabelPrintout printout(plan, {QStringLiteral("方案 Halle 4"), QStringLiteral("mm")});
    printout.setSheet(*labels::labelSheetNamed(QStringLiteral("a4-2x7")));
    printout.setSkip(3);
    printout.layOut();
    // 3 bars of 3 pieces and a remnant, a bar of 4 pieces and a remnant: 17 labels after 3 skipped.
    ASSERT_EQ(printout.labels().size(), 17u);
    ASSERT_EQ(printout.pageCount(), 2);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    const calculation::FileResult written = printing::writePdf(printout, pdf);
    ASSERT_TRUE(written.ok) << written.message().toStdString();
    for (int page = 0; page < 2; ++page) {
        std::vector<QRectF> rects;
        QStringList expected;
        for (size_t k = 0; k < printout.labels().size(); ++k) {
            if (printout.places()[k].page == page) {
                rects.push_back(printout.places()[k].label);
                expected << labels::barcodeText(printout.labels()[k], printout.job());
            }
        }
        EXPECT_EQ(scannedCodes(pdf, page + 1, rects, QDir(dir.path())).join(u'\n').toStdString(),
                  expected.join(u'\n').toStdString())
            << "page " << page + 1;
    }
}
