#pragma once

#include "heuristics.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <utility>

namespace exact {

// The best plan found and the best bound proven, shared by the engine's workers. A plan of lower cost replaces the
// best one; among plans of one cost the one with more bars marked Yes, then with the longest left-over, wins.
class Incumbent {
public:
    explicit Incumbent(const ExactJob& job) : m_job(job) {}

    // True when the layout became the best plan.
    bool offer(const Layout& layout);
    // Replaces the best plan by one of the same cost (fewer patterns), whatever its preference.
    void replace(const Layout& layout);
    void raiseBound(double bound);

    bool hasPlan() const;
    std::optional<Layout> best() const;
    // The best plan's cost; infinite without a plan.
    double cost() const;
    bool boundKnown() const;
    double bound() const;
    // The best plan meets the bound: no plan costs less. Without a lock: the workers look at it as often as at Stop.
    bool proven() const { return m_proven.load(std::memory_order_acquire); }
    // A cost a plan must stay below to be better than the best one.
    double belowBest() const;

private:
    // Called with the lock held, after each change.
    void updateProven();

    const ExactJob& m_job;
    mutable std::mutex m_mutex;
    std::optional<Layout> m_best;
    double m_cost = 0;
    std::pair<int64_t, float> m_preference;
    bool m_boundKnown = false;
    double m_bound = 0;
    std::atomic<bool> m_proven = false;
};

} // namespace exact
