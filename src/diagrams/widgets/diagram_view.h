#pragma once

#include "diagrams/bar_geometry.h"

#include <QAbstractScrollArea>

namespace diagrams {

// The cutting diagrams of the shown plan, one row per pattern in the layout table's order, under a legend.
// Only the rows in sight are painted, so a thousand patterns scroll as smoothly as ten. The current row is
// marked; a click makes a row current, the pointer's tooltip names the piece under it, and before the bar
// gives the pattern's cutting list.
class DiagramView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 34;
    static constexpr int kPrefixWidth = 64;

    explicit DiagramView(QWidget* parent = nullptr);

    void setDiagrams(PlanDiagrams diagrams);
    const PlanDiagrams& diagrams() const { return m_diagrams; }
    // -1 for none; scrolls the row into sight. Emits nothing.
    void setCurrentPattern(int index);
    int currentPattern() const { return m_current; }
    // A plan that no longer answers the lists is drawn faded, as the layout table greys its text.
    void setStale(bool stale);
    bool stale() const { return m_stale; }
    // The pattern row at a point of the viewport, or -1.
    int patternAt(const QPoint& point) const;
    // The tooltip at a point of the viewport; empty off the bars.
    QString tipAt(const QPoint& point) const;

Q_SIGNALS:
    void patternClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int measureLegend() const;
    QRect rowRect(int index) const;
    void relayout();

    PlanDiagrams m_diagrams;
    int m_current = -1;
    int m_legendHeight = 0;
    bool m_stale = false;
};

} // namespace diagrams
