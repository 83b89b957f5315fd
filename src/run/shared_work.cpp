#include "run/shared_work.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "io/stop_signals.h"

namespace geochain {

namespace {

// Points a thread takes at a time: few enough that neither thread waits
// long for the other's last ones, enough that taking them costs nothing.
constexpr std::size_t POINTS_TAKEN = 8;

// Below this, the run's own thread computes the block alone: waking the
// helper would cost more than it saves.
constexpr std::size_t LEAST_SHARED = 32;

}  // namespace

struct SharedWork::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::thread helper;
    bool started = false;  // or tried to start, and could not
    bool quit = false;
    unsigned long block = 0;  // counts the blocks started
    bool closed = true;       // the block is finished: the helper may not join it
    bool helper_in = false;   // the helper is taking points of the block

    BlockWork work;
    std::size_t count = 0;
    std::atomic<std::size_t> next{0};

    void take_points() {
        for (;;) {
            const std::size_t begin = next.fetch_add(POINTS_TAKEN, std::memory_order_relaxed);
            if (begin >= count) {
                return;
            }
            work(begin, std::min(begin + POINTS_TAKEN, count));
        }
    }

    void help() {
        unsigned long seen = 0;
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return quit || block != seen; });
            if (quit) {
                return;
            }
            seen = block;
            if (closed) {
                continue;
            }
            helper_in = true;
            lock.unlock();
            take_points();
            lock.lock();
            helper_in = false;
            changed.notify_all();
        }
    }
};

SharedWork::SharedWork() : state_(std::make_unique<State>()) {}

SharedWork::~SharedWork() {
    State& s = *state_;
    if (!s.helper.joinable()) {
        return;
    }
    {
        // The points that no thread has taken yet are left.
        const std::lock_guard<std::mutex> lock(s.mutex);
        s.next.store(s.count, std::memory_order_relaxed);
        s.quit = true;
    }
    s.changed.notify_all();
    s.helper.join();
}

void SharedWork::start(std::size_t count, BlockWork work) {
    State& s = *state_;
    s.work = std::move(work);
    s.count = count;
    s.next.store(0, std::memory_order_relaxed);
    if (count < LEAST_SHARED) {
        return;
    }
    if (!s.started) {
        s.started = true;
        if (std::thread::hardware_concurrency() > 1) {
            try {
                s.helper = thread_without_stops([&s] { s.help(); });
            } catch (const std::system_error&) {
                // No thread to be had: the run's own computes every point.
            }
        }
    }
    if (!s.helper.joinable()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(s.mutex);
        s.closed = false;
        ++s.block;
    }
    s.changed.notify_all();
}

void SharedWork::finish() {
    State& s = *state_;
    s.take_points();
    if (!s.helper.joinable()) {
        return;
    }
    std::unique_lock<std::mutex> lock(s.mutex);
    s.closed = true;
    s.changed.wait(lock, [&] { return !s.helper_in; });
}

}  // namespace geochain
