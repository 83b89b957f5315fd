#include "io/descriptor_io.h"

#include <algorithm>
#include <cerrno>

#include "io/descriptor_calls.h"
#include "io/stop_signals.h"

namespace geochain {

namespace {

// Once a stop signal has arrived, a write never waits for a reader: it
// goes on only while the descriptor takes bytes at once, this many at a
// time, which a pipe with room takes whole (POSIX's least PIPE_BUF).
constexpr std::size_t STOPPING_WRITE = 512;

}  // namespace

long read_some(int fd, char* data, std::size_t size) {
    long n = 0;
    stop_at_once_from_here();
    do {
        n = read_call(fd, data, size);
    } while (n < 0 && (errno == EINTR || must_wait(fd, true)));
    stop_when_whole_from_here();
    // A terminal that has hung up reads as empty, but is no end the operator
    // typed: it answers no more questions either.
    return n == 0 && hung_up(fd) ? -1 : n;
}

std::size_t write_all(int fd, const char* data, std::size_t size, bool may_wait) {
    std::size_t written = 0;
    while (written < size) {
        std::size_t part = size - written;
        if (stop_requested()) {
            if (!writable_now(fd)) {
                break;
            }
            part = std::min(part, STOPPING_WRITE);
        }
        const long n = write_call(fd, data + written, part);
        // A stop signal ends a write that waits: what is out is out.
        if (n < 0 &&
            ((errno == EINTR && !stop_requested()) || (may_wait && must_wait(fd, false)))) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    return written;
}

}  // namespace geochain
