// How the main window looks and answers: its regions at the smallest size, numbers that fit their columns,
// the status bar, the mark of a stale plan, and the size and splitters kept between runs.

#include "diagrams/widgets/diagram_view.h"
#include "window_fixture.h"

#include "calculation/grids.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>

using calculation::GridModel;

namespace {

constexpr int kRunTimeout = 120000;

QString statusText(const mainwindow::TfrmMain& window)
{
    return window.statusBar()->currentMessage();
}

} // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m.open()); }
    void cleanup() { m.window.reset(); }

    void atTheMinimumSizeNoControlsOverlap();
    void numberColumnsFitTheirTotals();
    void typedTextRefusedSaysWhy();
    void saveNamesTheFileAndAFailedOneKeepsThePrevious();
    void editAfterCalcMarksThePlanUntilTheNextCalc();
    void sizeAndSplittersAreKeptBetweenRuns();

private:
    // Types into a cell of the first parts row: the first key opens the editor, the others go to it.
    void type(int column, const QString& text)
    {
        m.focusCell("sgPart", GridModel::kFirstDataRow, column);
        QTest::keyClick(m.view("sgPart"), text.at(0).toLatin1());
        QWidget* editor = m.editor("sgPart");
        QVERIFY(editor);
        QTest::keyClicks(editor, text.mid(1));
    }

    void calc()
    {
        QSignalSpy finished(m.window.get(), &mainwindow::TfrmMain::calculationFinished);
        m.find<QAbstractButton>("btnCalc")->click();
        QVERIFY(finished.wait(kRunTimeout));
        QVERIFY(finished.first().first().toBool());
    }

    WindowFixture m;
    QTemporaryDir m_dir;
};

void TestWindowLayout::atTheMinimumSizeNoControlsOverlap()
{
    const QSize minimum = m.window->minimumSize();
    // Small enough for the screens the program was made for, which the first run fills at 1024 x 768.
    QVERIFY2(minimum.width() > 0 && minimum.width() <= 1024 && minimum.height() <= 768,
             qPrintable(QStringLiteral("%1x%2").arg(minimum.width()).arg(minimum.height())));
    m.window->resize(1, 1);
    QCOMPARE(m.window->size(), minimum);
    QTest::qWait(50);
    QList<QWidget*> panels = {m.find<QWidget>("pnlSets"), m.find<QWidget>("pnlTop")};
    for (QGroupBox* box : m.window->findChildren<QGroupBox*>())
        panels << box;
    for (const QWidget* panel : panels) {
        QList<const QWidget*> shown;
        for (const QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                shown << child;
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const QString name = panel->objectName() + u'/' + shown[i]->objectName();
            QVERIFY2(panel->rect().contains(shown[i]->geometry()), qPrintable(name + QStringLiteral(" sticks out")));
            // A caption that would be cut off.
            QString caption;
            if (const auto* button = qobject_cast<const QAbstractButton*>(shown[i]))
                caption = button->text();
            else if (const auto* label = qobject_cast<const QLabel*>(shown[i]); label && !label->wordWrap())
                caption = label->text();
            QVERIFY2(shown[i]->fontMetrics().horizontalAdvance(caption) <= shown[i]->width(),
                     qPrintable(name + QStringLiteral(" is cut")));
            for (qsizetype j = i + 1; j < shown.size(); ++j)
                QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
                         qPrintable(name + QStringLiteral(" overlaps ") + shown[j]->objectName()));
        }
    }
}

void TestWindowLayout::numberColumnsFitTheirTotals()
{
    const QString total = QStringLiteral("4242000.125");
    m.grid("sgPart")->setCell(calculation::kLengthColumn, GridModel::kTotalsRow, total);
    QTest::qWait(20);
    const auto* view = m.view("sgPart");
    QVERIFY(view->columnWidth(calculation::kLengthColumn) > view->fontMetrics().horizontalAdvance(total));
}

void TestWindowLayout::typedTextRefusedSaysWhy()
{
    type(calculation::kQtyColumn, QStringLiteral("2a"));
    QCOMPARE(m.grid("sgPart")->cell(calculation::kQtyColumn, GridModel::kFirstDataRow), QString());
    QCOMPARE(statusText(*m.window), QStringLiteral("Qty takes whole numbers"));
}

void TestWindowLayout::saveNamesTheFileAndAFailedOneKeepsThePrevious()
{
    const QString saved = m_dir.filePath(QStringLiteral("parts.txt"));
    WindowFixture::fill(*m.grid("sgPart"), {{"A", "100", "2"}});
    m.dialogs.answer(saved);
    m.find<QAbstractButton>("btnPartSave")->click();
    auto* field = m.find<mainwindow::widgets::FileNameField>("edPartFile");
    QCOMPARE(field->text(), QStringLiteral("parts.txt"));
    QVERIFY(field->toolTip().endsWith(saved));
    QCOMPARE(statusText(*m.window), QStringLiteral("Saved parts.txt"));

    m.dialogs.answer(m_dir.filePath(QStringLiteral("no folder/parts.txt")));
    m.find<QAbstractButton>("btnPartSave")->click();
    QCOMPARE(m.dialogs.messages.size(), 1);
    QCOMPARE(field->path(), saved);
}

void TestWindowLayout::editAfterCalcMarksThePlanUntilTheNextCalc()
{
    WindowFixture::fill(*m.grid("sgPart"), {{"A", "1200", "3"}, {"B", "800", "4"}});
    WindowFixture::fill(*m.grid("sgStock"), {{"S6", "6000", "3", "10", "Yes"}});
    const auto* marker = m.find<QLabel>("lbStale");
    calc();
    QVERIFY(!marker->isVisible());
    type(calculation::kQtyColumn, QStringLiteral("5"));
    QVERIFY(marker->isVisible());
    QVERIFY(m.find<diagrams::DiagramView>("dvLayout")->stale());
    calc();
    QVERIFY(!marker->isVisible());
    QVERIFY(!m.find<diagrams::DiagramView>("dvLayout")->stale());
    // A setting is part of the job, and the level shows beside its slider.
    m.find<QSlider>("tbFast")->setValue(7);
    QVERIFY(marker->isVisible());
    QCOMPARE(m.find<QLabel>("lbLevel")->text(), QStringLiteral("7 / 12"));
}

void TestWindowLayout::sizeAndSplittersAreKeptBetweenRuns()
{
    m.window->resize(900, 700);
    auto* parts = m.find<QSplitter>("splitterParts");
    parts->setSizes({340, 540});
    QTest::qWait(20);
    const QList<int> sizes = parts->sizes();
    m.window->close();
    m.window = std::make_unique<mainwindow::TfrmMain>(m.dialogs, m.clock, m.random);
    m.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m.window.get()));
    QCOMPARE(m.window->size(), QSize(900, 700));
    QCOMPARE(m.find<QSplitter>("splitterParts")->sizes(), sizes);
}

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
