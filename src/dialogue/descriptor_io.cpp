#include "dialogue/descriptor_io.h"

#include <fcntl.h>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

namespace geochain {

namespace {

// A descriptor may come to us non-blocking: the flag belongs to the open file
// description, which a shell, an event loop or a terminal program shares with
// us. "Not ready yet" is then neither the end of the input nor a lost output:
// wait until the descriptor is ready and try again. Windows hands out blocking
// standard handles, and its C runtime reports no such state.
bool must_wait(int fd, bool reading) {
#ifdef _WIN32
    static_cast<void>(fd);
    static_cast<void>(reading);
    return false;
#else
    if (errno != EAGAIN && errno != EWOULDBLOCK) {
        return false;
    }
    pollfd ready{fd, static_cast<short>(reading ? POLLIN : POLLOUT), 0};
    ::poll(&ready, 1, -1);  // an interruption or a hang-up shows in the retry
    return true;
#endif
}

}  // namespace

long read_some(int fd, char* data, std::size_t size) {
    long n = 0;
    do {
#ifdef _WIN32
        n = ::_read(fd, data, static_cast<unsigned>(size));
#else
        n = static_cast<long>(::read(fd, data, size));
#endif
    } while (n < 0 && (errno == EINTR || must_wait(fd, true)));
    return n;
}

bool write_all(int fd, const char* data, std::size_t size) {
    while (size > 0) {
#ifdef _WIN32
        // A text-mode descriptor turns each "\n" into CR LF on the way out.
        const long n = ::_write(fd, data, static_cast<unsigned>(size));
#else
        const long n = static_cast<long>(::write(fd, data, size));
#endif
        if (n < 0 && (errno == EINTR || must_wait(fd, false))) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int open_for_append(const char* path) {
#ifdef _WIN32
    return ::_open(path, _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    return ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
#endif
}

void close_descriptor(int fd) {
#ifdef _WIN32
    ::_close(fd);
#else
    ::close(fd);
#endif
}

}  // namespace geochain
