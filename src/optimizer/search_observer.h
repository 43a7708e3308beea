#pragma once

#include <cstdint>

namespace optimizer {

// What the caller of a search hears from it. The search runs on a worker thread in the program, so
// an observer must be safe to call from that thread.
class SearchObserver {
public:
    virtual ~SearchObserver() = default;
    // Called once after every finished generation (1 for the first).
    virtual void generationFinished(int32_t generation) { (void)generation; }
    // Asked after every generation and between the plans of a population being built; true ends the
    // search with the best plan it has.
    virtual bool stopRequested() { return false; }
    // True ends the search at once, even before it has a plan: the job is known to have none, or its time is up.
    virtual bool endRequested() { return false; }
};

} // namespace optimizer
