// The job as a document, through the window's keys, menus and the dialog seam: one wiring case per command
// (the rules are tested without a display).

#include "window_fixture.h"

#include "document/job_document.h"
#include "document/recovery_file.h"
#include "lists/text_file.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>

using calculation::GridModel;
using mainwindow::Answer;

namespace {

constexpr int kFirst = GridModel::kFirstDataRow;

} // namespace

class TestWindowDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m.open()); }
    void cleanup() { m.window.reset(); }

    void closeAsksAboutUnsavedWork();
    void newJobAfterTheQuestion();
    void undoAndRedoTakeBackAPaste();
    void recentFilesOpenAgainAfterARestart();
    void aDroppedFileOpensWhereItFalls();
    void aJobLeftBehindIsOfferedBack();
    void aFailedRecoveryWriteIsToldOnce();

private:
    QString path(const char* name) const { return m.settingsFolder.filePath(QString::fromLatin1(name)); }

    WindowFixture m;
};

void TestWindowDocument::closeAsksAboutUnsavedWork()
{
    QTest::mouseClick(m.find<QPushButton>("btnExit"), Qt::LeftButton);
    QVERIFY(m.dialogs.questions.isEmpty());
    m.window->show();

    WindowFixture::fill(*m.grid("sgPart"), {{"P1", "1200", "4"}});
    QCOMPARE(m.window->windowTitle(), QStringLiteral("untitled[*] - Barvik pipe cutting system"));
    QVERIFY(m.window->isWindowModified());
    // Cancel: the window stays with the rows.
    m.dialogs.reply(Answer::Cancel);
    QVERIFY(!m.window->close());
    QCOMPARE(m.dialogs.questions.size(), 1);
    QCOMPARE(m.dialogs.questions[0].text, QStringLiteral("Save the changes to this job?"));
    QCOMPARE(m.dialogs.questions[0].accept, QStringLiteral("Save"));
    QCOMPARE(m.dialogs.questions[0].discard, QStringLiteral("Discard"));
    QVERIFY(m.window->isVisible());
    QCOMPARE(m.grid("sgPart")->cell(0, kFirst), QStringLiteral("P1"));
    // Save: the list is written, then the window closes.
    m.dialogs.reply(Answer::Accept);
    m.dialogs.answer(path("parts.txt"));
    m.find<QAction>("X1")->trigger();
    QVERIFY(!m.window->isVisible());
    QStringList lines;
    QVERIFY(lists::readTextLines(path("parts.txt"), lines).ok);
    QCOMPARE(lines, QStringList{"P1\t1200\t4"});
    // Discard: closes with the edit.
    m.window->show();
    m.grid("sgPart")->setCell(2, kFirst, QStringLiteral("5"));
    QCOMPARE(m.window->windowTitle(), QStringLiteral("parts.txt[*] - Barvik pipe cutting system"));
    m.dialogs.reply(Answer::Discard);
    QVERIFY(m.window->close());
    QCOMPARE(m.dialogs.questions.size(), 3);
}

void TestWindowDocument::newJobAfterTheQuestion()
{
    WindowFixture::fill(*m.grid("sgStock"), {{"S6", "6000", "3", "10", "Yes", "2"}});
    m.find<QLineEdit>("edGap")->setText(QStringLiteral("3"));
    m.dialogs.reply(Answer::Discard);
    QTest::keyClick(m.window.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(m.dialogs.questions.size(), 1);
    QCOMPARE(m.grid("sgStock")->rows(), kFirst + 1);
    QVERIFY(m.grid("sgStock")->cell(5, kFirst).isEmpty());
    QCOMPARE(m.find<QLineEdit>("edGap")->text(), QStringLiteral("0"));
    QVERIFY(!m.window->isWindowModified());
    QVERIFY(!m.find<QAction>("mnUndo")->isEnabled());
}

void TestWindowDocument::undoAndRedoTakeBackAPaste()
{
    GridModel* parts = m.grid("sgPart");
    QGuiApplication::clipboard()->setText(QStringLiteral("A\t1200\t2\nB\t800\t3\n"));
    m.focusCell("sgPart", kFirst, 0);
    QTest::keyClick(m.view("sgPart"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(parts->cell(2, 0), QStringLiteral("5"));
    m.find<QMenu>("mnEdit")->aboutToShow();
    QCOMPARE(m.find<QAction>("mnUndo")->text(), QStringLiteral("Undo Paste"));
    QTest::keyClick(m.view("sgPart"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(parts->rows(), kFirst + 1);
    QVERIFY(parts->cell(2, 0).isEmpty());
    QVERIFY(!m.window->isWindowModified());
    QTest::keyClick(m.view("sgPart"), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(parts->cell(0, kFirst + 1), QStringLiteral("B"));
}

void TestWindowDocument::recentFilesOpenAgainAfterARestart()
{
    m.dialogs.answer(writeFile(path("stocks.txt"), "S6\t6000\t3\t10\tYes\r\n"), 2);
    QTest::mouseClick(m.find<QPushButton>("btnStockOpen"), Qt::LeftButton);
    // A new window with the window state kept (the fixture's open() starts without it).
    m.window = std::make_unique<mainwindow::TfrmMain>(m.dialogs, m.clock, m.random);
    QMenu* recent = m.find<QMenu>("mnRecent");
    QVERIFY(recent->isEnabled());
    QCOMPARE(recent->actions().size(), 1);
    QCOMPARE(recent->actions()[0]->text(), QStringLiteral("&1 stocks.txt (stocks list)"));
    recent->actions()[0]->trigger();
    QCOMPARE(m.grid("sgStock")->cell(0, kFirst), QStringLiteral("S6"));
    QCOMPARE(m.find<mainwindow::widgets::FileNameField>("edStockFile")->path(), path("stocks.txt"));
}

void TestWindowDocument::aDroppedFileOpensWhereItFalls()
{
    const QPoint onStocks = m.view("sgStock")->viewport()->mapTo(m.window.get(), QPoint(20, 20));
    auto dropOnStocks = [&](const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(onStocks, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(onStocks, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m.window.get(), &drop);
    };
    // A workbook and then a text list dropped on the stocks grid are stocks lists, opened in that order
    // though the workbook is read off the user-interface thread.
    dropOnStocks(writeFile(path("first.csv"), "C,4000,1,3,Yes\r\n"));
    dropOnStocks(writeFile(path("list.txt"), "T\t5000\t2\t9\tNo\r\n"));
    bool read = false;
    m.window->afterReads([&] { read = true; });
    QTRY_VERIFY(read);
    QCOMPARE(m.find<mainwindow::widgets::FileNameField>("edStockFile")->path(), path("list.txt"));
    QCOMPARE(m.grid("sgStock")->cell(3, kFirst), QStringLiteral("9"));
    QVERIFY(m.grid("sgPart")->cell(0, kFirst).isEmpty());
}

void TestWindowDocument::aJobLeftBehindIsOfferedBack()
{
    WindowFixture::fill(*m.grid("sgPart"), {{"P1", "1200", "4"}});
    const QString recovery = m.window->findChild<document::RecoveryFile*>()->path();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(recovery), 3000);
    // The window goes without closing, as in a crash; the next one offers the job.
    m.window.reset();
    QVERIFY(m.open());
    m.dialogs.reply(Answer::Accept);
    m.window->offerLeftJob();
    QCOMPARE(m.dialogs.questions.size(), 1);
    QCOMPARE(m.dialogs.questions[0].text, QStringLiteral("Restore the job that was not saved?"));
    QCOMPARE(m.grid("sgPart")->cell(0, kFirst), QStringLiteral("P1"));
    QVERIFY(m.window->isWindowModified());
    QVERIFY(!QFile::exists(recovery));
}

void TestWindowDocument::aFailedRecoveryWriteIsToldOnce()
{
    auto* recovery = m.window->findChild<document::RecoveryFile*>();
    QStatusBar* status = m.window->statusBar();
    const QString failure = QStringLiteral("Can't write the recovery file");
    Q_EMIT recovery->writeFailed(failure);
    QCOMPARE(status->currentMessage(), failure);
    // A write that succeeds takes the message away; the next failure is told anew, but only once.
    Q_EMIT recovery->written();
    QVERIFY(status->currentMessage().isEmpty());
    Q_EMIT recovery->writeFailed(failure);
    QCOMPARE(status->currentMessage(), failure);
    status->clearMessage();
    Q_EMIT recovery->writeFailed(failure);
    QVERIFY(status->currentMessage().isEmpty());
}

QTEST_MAIN(TestWindowDocument)

#include "test_window_document.moc"
