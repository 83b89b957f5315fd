// The platform's own descriptor calls, under the loops of descriptor_io.cpp
// that retry them; one file of them for POSIX, one for Windows.
#pragma once

#include <cstddef>

namespace geochain {

long read_call(int fd, char* data, std::size_t size);

// On Windows a text-mode descriptor turns each "\n" into CR LF on the way
// out.
long write_call(int fd, const char* data, std::size_t size);

// After a call that failed: true when the descriptor is non-blocking and
// was only not ready yet, once it is ready again or a while has passed.
// False, and the call fails, for any other error, when a stop signal has
// arrived, or when the wait itself fails.
bool must_wait(int fd, bool reading);

// True when a write to fd would not wait now (or would fail at once).
bool writable_now(int fd);

// After a read of nothing: true when it was no end of the input but a
// terminal that has hung up.
bool hung_up(int fd);

}  // namespace geochain
