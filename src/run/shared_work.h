// A block of points computed on two threads. Each point's chain depends on
// that point alone, so the points of a block may be taken in any order, on
// either thread, and come out the same to the last bit. Reading, writing
// and the log stay with the run's own thread, the only one that takes a
// stop signal.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace geochain {

// The work on the points [begin, end) of a block.
using BlockWork = std::function<void(std::size_t begin, std::size_t end)>;

class SharedWork {
  public:
    SharedWork();
    // A helper that was started ends, and is waited for.
    ~SharedWork();
    SharedWork(const SharedWork&) = delete;
    SharedWork& operator=(const SharedWork&) = delete;

    // Starts the work on `count` points: from now on a helper thread, where
    // the machine has a second processor and the block is large enough to
    // pay for waking it, takes points of it as they come.
    void start(std::size_t count, BlockWork work);
    // Takes the points that are left, and returns once every one is done.
    void finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace geochain
