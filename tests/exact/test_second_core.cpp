#include "exact/second_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

// The work of a second worker: runs until the run ends, counting its looks.
struct Work {
    exact::SecondCore& core;
    std::atomic<bool> started = false;
    void operator()()
    {
        started = true;
        while (!core.look()) {
        }
    }
};

} // namespace

TEST(SecondCoreTest, StartsOnlyOnceFreeAndInTimeAndEndsWithTheRun)
{
    // Held by the genetic search, or before its time, the work does not start; the first worker's look after both
    // starts it, and the end of the run ends it.
    exact::SecondCore core;
    Work work{core};
    core.hold();
    core.arm(Clock::now() + std::chrono::milliseconds(30), [&] { work(); });
    core.poll();
    core.release();
    core.poll();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    EXPECT_FALSE(work.started);
    core.hold();
    core.poll();
    EXPECT_FALSE(work.started);
    core.release();
    core.poll();
    core.end();
    EXPECT_TRUE(work.started);
    EXPECT_TRUE(core.ended());

    // A run that ends before the time comes never starts the work.
    Work late{core};
    core.arm(Clock::now() + std::chrono::hours(1), [&] { late(); });
    core.poll();
    core.end();
    EXPECT_FALSE(late.started);

    // A failure of the work reaches the caller of the run, once.
    core.arm(Clock::now(), [] { throw std::runtime_error("out of memory"); });
    core.poll();
    EXPECT_THROW(core.end(), std::runtime_error);
    EXPECT_NO_THROW(core.end());
}
