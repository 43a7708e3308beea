#pragma once

#include "exact_job.h"
#include "incumbent.h"
#include "master_problem.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace exact {

// The second core of the machine, while the genetic search does not use it: a worker beside the engine's first one
// on runs that go on a while (quick ones stay on one thread), until the run ends. While other programs keep the core
// busy it pauses, so that it does not take the first worker's time; it keeps the normal priority, so that it
// answers the end of the run at once.
class SecondCore {
public:
    SecondCore() = default;
    ~SecondCore();
    SecondCore(const SecondCore&) = delete;
    SecondCore& operator=(const SecondCore&) = delete;

    // Whether the machine has a second core at all.
    static bool available();
    // The genetic search holds the core until it ends; from any thread.
    void hold() { m_held = true; }
    void release() { m_held = false; }
    // `work` is to run on its own thread from `after` on, while the core is not held.
    void arm(std::chrono::steady_clock::time_point after, std::function<void()> work);
    // The first worker's look: starts the work when its time has come. Cheap before and after.
    void poll();
    // Ends the run: the work sees ended() at its next look, and the call returns once it has. An exception the work
    // threw is thrown here.
    void end();
    bool ended() const { return m_ended.load(std::memory_order_acquire); }
    // The work's look at the end of the run, from its thread: true once the run ended. Where the thread got less than
    // most of a core since the last measure, the machine is busy: the look waits a while before it answers.
    bool look();

private:
    std::atomic<bool> m_held = false;
    std::atomic<bool> m_ended = false;
    bool m_armed = false;
    std::chrono::steady_clock::time_point m_after;
    std::function<void()> m_work;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
    std::exception_ptr m_failure;
    // The pacing of look(): the start of the last measure in the wall clock's and the thread's time.
    std::chrono::steady_clock::time_point m_measuredAt;
    double m_threadSeconds = 0;
    std::chrono::milliseconds m_pause{0};
};

// What the second worker does: the complete search over bar counts and dives, like the first worker, on its own
// relaxation and completion search, in other orders than the first worker's, sharing the best plan and the bound.
// A plan or a bound it finds ends both workers once the plan is proven best.
void searchOnSecondCore(const ExactJob& job, Incumbent& incumbent, const Limits& limits);

} // namespace exact
