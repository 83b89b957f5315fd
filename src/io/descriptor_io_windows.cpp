#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "io/descriptor_io.h"
#include "io/stop_signals.h"

namespace geochain {

// Windows hands out blocking standard handles, and its C runtime reports no
// "not ready yet" state: nothing here waits for a descriptor to be ready.

long read_some(int fd, char* data, std::size_t size) {
    long n = 0;
    stop_at_once_from_here();
    do {
        n = ::_read(fd, data, static_cast<unsigned>(size));
    } while (n < 0 && errno == EINTR);
    stop_when_whole_from_here();
    return n;
}

std::size_t write_all(int fd, const char* data, std::size_t size, bool may_wait) {
    static_cast<void>(may_wait);
    std::size_t written = 0;
    while (written < size) {
        // A text-mode descriptor turns each "\n" into CR LF on the way out.
        const long n = ::_write(fd, data + written, static_cast<unsigned>(size - written));
        if (n < 0 && errno == EINTR && !stop_requested()) {
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
    // Read access too, so that the file's last byte can be read.
    return ::_open(path, _O_RDWR | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
}

void lock_for_append(int fd) {
    static_cast<void>(fd);  // appends there are not one step between processes anyway
}

bool ends_inside_a_line(int fd) {
    char last = '\n';
    const bool read = ::_lseeki64(fd, -1, SEEK_END) >= 0 && ::_read(fd, &last, 1) == 1;
    return read && last != '\n';
}

bool is_pipe(int fd) {
    static_cast<void>(fd);
    return false;  // no FIFO has a name in a Windows file system
}

void take_back(int fd, std::size_t written) {
    // As on POSIX: cut only while the file still ends where our write did.
    const __int64 end = ::_lseeki64(fd, 0, SEEK_CUR);
    struct _stat64 st {};
    if (end >= static_cast<__int64>(written) && ::_fstat64(fd, &st) == 0 && st.st_size == end) {
        ::_chsize_s(fd, end - static_cast<__int64>(written));
    }
}

void read_as_bytes(int fd) { ::_setmode(fd, _O_BINARY); }

bool is_terminal(int fd) {
    // A console: the C runtime's _isatty is true for NUL as well.
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &mode) != 0;
}

void close_descriptor(int fd) { ::_close(fd); }

}  // namespace geochain
