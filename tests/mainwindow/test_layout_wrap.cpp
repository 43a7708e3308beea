#include "calculation/grids.h"
#include "mainwindow/layout_wrap.h"
#include "support/grid_fixture.h"

#include <memory>

using calculation::GridModel;
using mainwindow::wrapLayoutText;

TEST(LayoutWrap, BreaksOnlyBetweenPieces)
{
    const auto characters = [](const QString& text) { return int(text.size()); };
    struct Case {
        const char* text;
        int width;
        QStringList lines;
    };
    const Case cases[] = {
        // The count stays with its piece, even where the line would hold "Gusset(275) x".
        {"Post-A Gusset(275) x 2 Foot", 20, {"Post-A", "Gusset(275) x 2 Foot"}},
        {"Post-A Gusset(275) x 2 Foot", 13, {"Post-A", "Gusset(275) x 2", "Foot"}},
        {"A x 3 B", 40, {"A x 3 B"}},
        // A piece wider than the cell keeps a line of its own; a label "x" is a piece, not a count.
        {"Crossbar x 8 Spacer", 5, {"Crossbar x 8", "Spacer"}},
        {"x A x B", 3, {"x A", "x B"}},
        {"1200 x 3 800", 9, {"1200 x 3", "800"}},
        {"", 10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wrapLayoutText(QString::fromUtf8(c.text), c.width, characters), c.lines) << c.text << " " << c.width;
}

TEST(LayoutWrap, PartNamesWithBlanksStayWhole)
{
    std::unique_ptr<GridModel> parts{calculation::createPartsGrid()};
    parts->setRows(GridModel::kFirstDataRow + 2);
    parts->setCell(0, 2, QStringLiteral("Gusset  plate"));
    parts->setCell(1, 2, QStringLiteral("275"));
    parts->setCell(0, 3, QStringLiteral("Foot"));
    const QStringList names = mainwindow::piecesWithBlanks(*parts);
    EXPECT_EQ(names, QStringList({"Gusset plate", "Gusset plate(275)"}));
    const auto characters = [](const QString& text) { return int(text.size()); };
    EXPECT_EQ(wrapLayoutText(QStringLiteral("Foot Gusset plate(275) x 2 Foot"), 10, characters, names),
              QStringList({"Foot", "Gusset plate(275) x 2", "Foot"}));
    EXPECT_EQ(wrapLayoutText(QStringLiteral("Gusset plate x 2 Gusset"), 14, characters, names),
              QStringList({"Gusset plate x 2", "Gusset"}));
}
