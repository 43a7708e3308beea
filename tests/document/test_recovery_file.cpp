#include "document/recovery_file.h"

#include "calculation/grids.h"
#include "support/grid_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using calculation::GridModel;
using document::JobDocument;
using document::ListKind;
using document::RecoveryFile;

namespace {

// The timers of the recovery file need an event loop.
class CoreApplication : public ::testing::Environment {
public:
    void SetUp() override { m_application = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_application;
};

const auto* const kApplication = ::testing::AddGlobalTestEnvironment(new CoreApplication);

bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

struct Job {
    std::unique_ptr<GridModel> parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> stocks{calculation::createStocksGrid()};
    JobDocument document{*parts, *stocks};
};

} // namespace

class RecoveryFileTest : public GridTest {
protected:
    QTemporaryDir m_dir;
    calculation::Clock m_clock;
    Job m_job;
};

TEST_F(RecoveryFileTest, WrittenSoonAfterAChangeAndRemovedOnceSaved)
{
    auto file = std::make_unique<RecoveryFile>(m_job.document, m_clock, m_dir.path());
    file->setDelays(20, 40);
    fill(*m_job.parts, {{"P1", "1200", "4"}});
    EXPECT_FALSE(QFile::exists(file->path())) << "written once the typing pauses, not at every key";
    ASSERT_TRUE(waitFor([&] { return QFile::exists(file->path()); }));
    // A running program's job is no left job.
    EXPECT_TRUE(RecoveryFile::findLeftJobs(m_dir.path()).empty());

    // Saved: nothing to recover.
    const QString parts = m_dir.filePath("parts.txt");
    ASSERT_TRUE(document::saveList(*m_job.parts, ListKind::Parts, parts).ok);
    m_job.document.setListFile(ListKind::Parts, parts, 0);
    EXPECT_FALSE(QFile::exists(file->path()));
}

TEST_F(RecoveryFileTest, AFailedWriteIsToldInTheUsersWords)
{
    RecoveryFile file(m_job.document, m_clock, m_dir.path());
    QStringList failures;
    QObject::connect(&file, &RecoveryFile::writeFailed, [&](const QString& message) { failures.append(message); });
    ASSERT_TRUE(QDir().mkdir(file.path()));
    fill(*m_job.parts, {{"P1", "1200", "4"}});
    file.flush();
    EXPECT_EQ(failures, QStringList(QStringLiteral("Cannot save file %1: it is a folder").arg(file.path())));
}

TEST_F(RecoveryFileTest, AJobLeftByAnEndedRunIsRestoredWhole)
{
    const QString stocks = m_dir.filePath("stocks.txt");
    fill(*m_job.stocks, {{"S6", "6000", "3", "10", "No"}});
    ASSERT_TRUE(document::saveList(*m_job.stocks, ListKind::Stocks, stocks).ok);
    m_job.document.setListFile(ListKind::Stocks, stocks, 0);
    auto file = std::make_unique<RecoveryFile>(m_job.document, m_clock, m_dir.path());
    fill(*m_job.parts, {{"P1", "1200", "4"}});
    m_job.stocks->setCell(2, 2, "5");
    document::ProjectSettings settings = m_job.document.settings();
    settings.title = "Hall 2";
    m_job.document.setSettings(settings);
    file->flush();
    // The run ends without saving: its lock goes, its file stays.
    file.reset();

    std::vector<document::LeftJob> left = RecoveryFile::findLeftJobs(m_dir.path());
    ASSERT_EQ(left.size(), 1u);
    Job restored;
    document::restoreJob(restored.document, left[0].job);
    for (ListKind kind : {ListKind::Parts, ListKind::Stocks}) {
        EXPECT_EQ(restored.document.snapshot(kind).cells, m_job.document.snapshot(kind).cells);
        EXPECT_EQ(restored.document.file(kind), m_job.document.file(kind));
    }
    EXPECT_EQ(restored.document.settings().title, QStringLiteral("Hall 2"));
    EXPECT_EQ(restored.document.unsaved(), m_job.document.unsaved());
    // Another run does not offer it while this one holds it; once declined it is gone.
    EXPECT_TRUE(RecoveryFile::findLeftJobs(m_dir.path()).empty());
    RecoveryFile::discard(left[0]);
    EXPECT_FALSE(QFile::exists(left[0].path));
    EXPECT_FALSE(document::parseRecovery("{\"version\": 1}", left[0].job));
}
