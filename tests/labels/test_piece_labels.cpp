#include "diagrams/diagram_job.h"

#include "labels/label_sheets.h"
#include "labels/piece_labels.h"

#include <gtest/gtest.h>

using namespace labels;

TEST(LabelSheets, EveryLabelOnItsSheetWithItsPrintInsideThePrintableArea)
{
    for (const LabelSheet& sheet : labelSheets()) {
        SCOPED_TRACE(sheet.name.toStdString());
        const int perSheet = sheet.labelsPerSheet();
        const std::vector<LabelPlace> places = placeLabels(sheet, 2 * perSheet, 0);
        const QRectF paper(QPointF(0, 0), sheet.paper);
        const QRectF printable =
            paper.adjusted(sheet.unprintable, sheet.unprintable, -sheet.unprintable, -sheet.unprintable);
        for (const LabelPlace& place : {places.front(), places[size_t(perSheet) - 1], places.back()}) {
            // A hundredth of a millimetre for the sums of decimal millimetres.
            EXPECT_TRUE(paper.adjusted(-0.01, -0.01, 0.01, 0.01).contains(place.label));
            EXPECT_TRUE(printable.contains(place.content));
            EXPECT_TRUE(place.label.contains(place.content));
            EXPECT_GT(place.content.height(), 0.6 * place.label.height());
        }
        EXPECT_EQ(places[size_t(perSheet) - 1].page, 0);
        EXPECT_EQ(places[size_t(perSheet)].page, 1);
        // The last label of a sheet ends where the sheet's labels end: its bottom right corner.
        const QRectF last = places[size_t(perSheet) - 1].label;
        EXPECT_NEAR(last.right(),
                    sheet.firstLabel.x() + (sheet.columns - 1) * sheet.pitch.width() + sheet.label.width(), 1e-9);
        EXPECT_NEAR(last.bottom(),
                    sheet.firstLabel.y() + (sheet.rows - 1) * sheet.pitch.height() + sheet.label.height(), 1e-9);
    }
    // A used A4 3 x 8 sheet: five labels skipped, the first in the second row's middle, the sheet full after 19.
    const LabelSheet& a4 = *labelSheetNamed(QStringLiteral("a4-3x8"));
    const std::vector<LabelPlace> skipped = placeLabels(a4, 20, 5);
    EXPECT_EQ(skipped[0].label.topLeft(), QPointF(140, 37.5));
    EXPECT_EQ(skipped[18].page, 0);
    EXPECT_EQ(skipped[19].page, 1);
    EXPECT_EQ(skipped[19].label.topLeft(), QPointF(0, 0.5));
    EXPECT_EQ(labelSheetNamed(QStringLiteral("A4-2x7"))->labelsPerSheet(), 14);
    EXPECT_EQ(labelSheetNamed(QStringLiteral("letter-3x10"))->labelsPerSheet(), 30);
    EXPECT_EQ(labelSheetNamed(QStringLiteral("a5")), nullptr);
}

TEST(PieceLabels, EveryPieceInCuttingOrderThenTheBarsRemnant)
{
    diagrams::DiagramSource source = diagramJob(5, 10);
    addPattern(source, {{0, 2}, {2, 1}}, 2); // leaves 3280: a remnant
    addPattern(source, {{0, 4}, {1, 1}});    // leaves 370
    const diagrams::PlanDiagrams plan =
        diagrams::buildDiagrams(source, QStringLiteral("500"), {QStringLiteral("091405YL1"), QString()});
    const std::vector<PieceLabel> labels = pieceLabels(plan);
    // Two bars of three pieces and a remnant each, then one bar of five pieces.
    ASSERT_EQ(labels.size(), 2 * 4 + 5u);
    QStringList order;
    for (const PieceLabel& label : labels)
        order << QStringLiteral("%1.%2:%3").arg(label.layout).arg(label.bar).arg(label.label);
    EXPECT_EQ(order.mid(0, 5), (QStringList{"1.1:A", "1.1:A", "1.1:C", "1.1:091405YL1", "1.2:A"}));
    EXPECT_EQ(labels[2].piece, 3);
    EXPECT_EQ(labels[2].position, QStringLiteral("2710"));
    EXPECT_TRUE(labels[3].remnant);
    EXPECT_EQ(labels[3].length, QStringLiteral("3280"));
    EXPECT_EQ(labels[3].stock, QStringLiteral("S"));
    EXPECT_EQ(labels[12].bars, 1);
    EXPECT_EQ(labels[12].position, QStringLiteral("5620"));
}

TEST(PieceLabels, BarcodeTextKeepsEveryFieldWhateverItsCharacters)
{
    PieceLabel piece;
    piece.label = QStringLiteral("Stütze;A\\B\tx");
    piece.length = QStringLiteral("1200.5");
    piece.layout = 3;
    piece.bar = 2;
    piece.bars = 5;
    piece.position = QStringLiteral("2405");
    const LabelJob job{QStringLiteral("Halle 4 = Dach"), QStringLiteral("mm")};
    const QString text = barcodeText(piece, job);
    EXPECT_EQ(text, QStringLiteral("BARVIK1;JOB=Halle 4 = Dach;PART=Stütze\\;A\\\\B\\x09x;LEN=1200.5;UNIT=mm;LAYOUT=3;"
                                   "BAR=2/5;POS=2405"));
    const QMap<QString, QString> fields = barcodeFields(text);
    EXPECT_EQ(fields.value(QStringLiteral("JOB")), job.title);
    EXPECT_EQ(fields.value(QStringLiteral("PART")), piece.label);
    EXPECT_EQ(fields.value(QStringLiteral("BAR")), QStringLiteral("2/5"));
    EXPECT_EQ(fields.size(), 7);

    PieceLabel remnant = piece;
    remnant.remnant = true;
    remnant.label = QStringLiteral("091405YL1");
    remnant.stock = QStringLiteral("Tube 6000");
    const QMap<QString, QString> kept = barcodeFields(barcodeText(remnant, job));
    EXPECT_EQ(kept.value(QStringLiteral("REMNANT")), remnant.label);
    EXPECT_EQ(kept.value(QStringLiteral("STOCK")), remnant.stock);
    EXPECT_FALSE(kept.contains(QStringLiteral("POS")));
    EXPECT_TRUE(barcodeFields(QStringLiteral("JOB=x;PART=y")).isEmpty());
}
