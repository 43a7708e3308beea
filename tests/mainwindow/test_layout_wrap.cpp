#include "support/grid_fixture.h"
#include "mainwindow/layout_wrap.h"

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
