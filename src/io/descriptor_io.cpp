#include "io/descriptor_io.h"

#include <fcntl.h>

#include <cerrno>

#include <sys/stat.h>

#include "io/stop_signals.h"

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
    // A hang-up shows in the retry; a stop signal ends the wait.
    return ::poll(&ready, 1, -1) >= 0 || errno != EINTR || !stop_requested();
#endif
}

}  // namespace

long read_some(int fd, char* data, std::size_t size) {
    long n = 0;
    stop_at_once_from_here();
    do {
#ifdef _WIN32
        n = ::_read(fd, data, static_cast<unsigned>(size));
#else
        n = static_cast<long>(::read(fd, data, size));
#endif
    } while (n < 0 && (errno == EINTR || must_wait(fd, true)));
    stop_when_whole_from_here();
#ifndef _WIN32
    // A terminal that has hung up reads as empty, but is no end the operator
    // typed: it answers no more questions either.
    if (n == 0 && ::isatty(fd) == 0 && errno == EIO) {
        n = -1;
    }
#endif
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

int open_for_append(const char* path) {
    // Read access too where the file is a plain one, or is still to be made,
    // so that its last byte can be read; never for a FIFO, which would then
    // have a reader in us.
#ifdef _WIN32
    return ::_open(path, _O_RDWR | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    struct stat st {};
    const bool plain = ::stat(path, &st) == 0 ? S_ISREG(st.st_mode) : errno == ENOENT;
    const int flags = O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK;
    const int fd = plain ? ::open(path, O_RDWR | flags, 0666) : -1;
    return fd >= 0 ? fd : ::open(path, O_WRONLY | flags, 0666);
#endif
}

void lock_for_append(int fd) {
#ifdef _WIN32
    static_cast<void>(fd);  // appends there are not one step between processes anyway
#else
    flock whole{};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;  // from the start, to the end of any size
    while (::fcntl(fd, F_SETLKW, &whole) == -1 && errno == EINTR && !stop_requested()) {
    }
#endif
}

bool ends_inside_a_line(int fd) {
    char last = '\n';
#ifdef _WIN32
    const bool read = ::_lseeki64(fd, -1, SEEK_END) >= 0 && ::_read(fd, &last, 1) == 1;
#else
    struct stat st {};
    const bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
                      ::pread(fd, &last, 1, st.st_size - 1) == 1;
#endif
    return read && last != '\n';
}

bool is_pipe(int fd) {
#ifdef _WIN32
    static_cast<void>(fd);
    return false;  // no FIFO has a name in a Windows file system
#else
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode);
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
