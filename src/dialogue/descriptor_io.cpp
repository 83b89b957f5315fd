#include "dialogue/descriptor_io.h"

#include <fcntl.h>

#include <cerrno>

#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
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

std::size_t write_all(int fd, const char* data, std::size_t size, bool may_wait) {
    std::size_t written = 0;
    while (written < size) {
#ifdef _WIN32
        // A text-mode descriptor turns each "\n" into CR LF on the way out.
        const long n = ::_write(fd, data + written, static_cast<unsigned>(size - written));
#else
        const long n = static_cast<long>(::write(fd, data + written, size - written));
#endif
        if (n < 0 && (errno == EINTR || (may_wait && must_wait(fd, false)))) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    return written;
}

int open_for_append(const char* path) {
#ifdef _WIN32
    return ::_open(path, _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    return ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
#endif
}

void take_back(int fd, std::size_t written) {
    // After an appending write the offset is the end of what it wrote. If
    // the file still ends there, nobody appended after us. Another process
    // appending between the check and the cut is not excluded, but its own
    // write would have to succeed on the disk that has just refused ours.
#ifdef _WIN32
    const __int64 end = ::_lseeki64(fd, 0, SEEK_CUR);
    struct _stat64 st {};
    if (end >= static_cast<__int64>(written) && ::_fstat64(fd, &st) == 0 && st.st_size == end) {
        ::_chsize_s(fd, end - static_cast<__int64>(written));
    }
#else
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    struct stat st {};
    if (end >= static_cast<off_t>(written) && ::fstat(fd, &st) == 0 && st.st_size == end) {
        static_cast<void>(::ftruncate(fd, end - static_cast<off_t>(written)));
    }
#endif
}

void read_as_bytes(int fd) {
#ifdef _WIN32
    ::_setmode(fd, _O_BINARY);
#else
    static_cast<void>(fd);
#endif
}

bool is_terminal(int fd) {
#ifdef _WIN32
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &mode) != 0;
#else
    return ::isatty(fd) == 1;
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
