#include "second_worker.h"

#include "dive.h"
#include "proof_search.h"

#include <algorithm>
#include <chrono>
#include <optional>

#if defined(__linux__)
#include <time.h>
#endif

namespace exact {

namespace {

// The orders of the second worker's dives and completion searches start here, far from the first worker's.
constexpr uint32_t kOtherOrders = 0x5bd1e995u;
// Steps of the proof search's first round, doubled each round, and the first round's time at the least.
constexpr int64_t kProofSteps = 20'000;
constexpr double kFirstSlice = 0.01;

// How long a measure of the thread's share of the core runs, the share below which the core counts as busy, and
// how long the work then pauses: the first pause, doubled while the core stays busy up to the longest.
constexpr auto kMeasure = std::chrono::milliseconds(20);
constexpr double kBusyShare = 0.75;
constexpr auto kFirstPause = std::chrono::milliseconds(50);
constexpr auto kLongestPause = std::chrono::milliseconds(1600);

double threadSeconds()
{
#if defined(__linux__)
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
#else
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

} // namespace

SecondCore::~SecondCore()
{
    try {
        end();
    } catch (...) {
        // A failure nobody asked for any more: the run it belonged to is over.
    }
}

bool SecondCore::available()
{
    return std::thread::hardware_concurrency() >= 2;
}

void SecondCore::arm(std::chrono::steady_clock::time_point after, std::function<void()> work)
{
    end();
    m_ended = false;
    m_after = after;
    m_work = std::move(work);
    m_armed = true;
}

void SecondCore::poll()
{
    if (!m_armed || m_held || m_ended || std::chrono::steady_clock::now() < m_after)
        return;
    m_armed = false;
    m_thread = std::thread([this] {
        m_pause = kFirstPause;
        m_measuredAt = std::chrono::steady_clock::now();
        m_threadSeconds = threadSeconds();
        try {
            m_work();
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            m_failure = std::current_exception();
        }
    });
}

void SecondCore::end()
{
    m_armed = false;
    {
        const std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    m_work = nullptr;
    std::exception_ptr failure;
    std::swap(failure, m_failure);
    if (failure)
        std::rethrow_exception(failure);
}

bool SecondCore::look()
{
    if (ended())
        return true;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_measuredAt < kMeasure)
        return false;
    const double share =
        (threadSeconds() - m_threadSeconds) / std::chrono::duration<double>(now - m_measuredAt).count();
    if (share < kBusyShare) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, m_pause, [this] { return m_ended.load(); });
        m_pause = std::min<std::chrono::milliseconds>(2 * m_pause, kLongestPause);
    } else {
        m_pause = kFirstPause;
    }
    m_measuredAt = std::chrono::steady_clock::now();
    m_threadSeconds = threadSeconds();
    return ended();
}

void searchOnSecondCore(const ExactJob& job, Incumbent& incumbent, const Limits& limits)
{
    // Instances of its own: the relaxation, the quick plans and the completion search keep state as they work.
    Heuristics heuristics(job);
    MasterProblem master(job);
    BinCompletion completion(job);
    Diver diver(job, master, heuristics, incumbent);
    const Rest root = Rest::wholeJob(job);
    Limits slice = limits;
    auto sliceOf = [&](double seconds) {
        slice.deadline = std::min(limits.deadline, Clock::now() + std::chrono::microseconds(int64_t(seconds * 1e6)));
    };
    // The walk over bar counts starts at the bound; where the first worker raised it meanwhile, the walk starts
    // again from there rather than walk what is already ruled out.
    std::optional<ProofSearch> proof;
    double walkedFrom = 0;
    // The first worker's turns one ahead: while it makes its first dive, a single path down, this one dives with a
    // column out of order, which its own turns come to only later, then searches over the bar counts. Each turn
    // twice as long as the one before; the first dive sets the length of the first turns.
    const Clock::time_point first = Clock::now();
    diver.dive(root, 1, limits, kOtherOrders);
    double seconds = std::max(kFirstSlice, std::chrono::duration<double>(Clock::now() - first).count());
    for (int32_t round = 0; !incumbent.proven() && !limits.reached(); ++round, seconds *= 2) {
        const uint32_t variation = kOtherOrders + uint32_t(round);
        if (!proof || incumbent.bound() > walkedFrom) {
            walkedFrom = incumbent.bound();
            proof.emplace(job, master, completion,
                          [&](const Rest& node, uint32_t other) { diver.dive(node, 0, slice, kOtherOrders + other); });
        }
        sliceOf(seconds);
        proof->advance(incumbent, slice, kProofSteps << std::min(round, 30), variation);
        if (incumbent.proven() || limits.reached())
            break;
        sliceOf(seconds);
        diver.dive(root, round + 2, slice, variation);
    }
}

} // namespace exact
