#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <string>

#include "io/descriptor_calls.h"
#include "io/descriptor_io.h"

namespace geochain {

long read_call(int fd, char* data, std::size_t size) {
    return ::_read(fd, data, static_cast<unsigned>(size));
}

long write_call(int fd, const char* data, std::size_t size) {
    return ::_write(fd, data, static_cast<unsigned>(size));
}

// Windows hands out blocking standard handles, and its C runtime reports no
// "not ready yet" state: nothing waits for a descriptor to be ready.
bool must_wait(int fd, bool reading) {
    static_cast<void>(fd);
    static_cast<void>(reading);
    return false;
}

bool writable_now(int fd) {
    static_cast<void>(fd);
    return true;  // nothing stops a run here but the C runtime itself
}

bool hung_up(int fd) {
    static_cast<void>(fd);
    return false;
}

namespace {

// A name from the command line, UTF-8 as main made it, in the wide
// characters Windows names files with: any name, in any code page.
std::wstring wide(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring text(n > 0 ? static_cast<std::size_t>(n) : 1U, L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), n);
    }
    text.resize(text.size() - 1);
    return text;
}

FileProblem problem_of(int error) {
    switch (error) {
        case ENOENT:
            return FileProblem::missing;
        case EISDIR:
            return FileProblem::folder;
        case EACCES:
            return FileProblem::not_permitted;
        default:
            return FileProblem::other;
    }
}

}  // namespace

FileProblem file_problem(const char* path) {
    struct _stat64 st {};
    const std::wstring name = wide(path);
    if (::_wstat64(name.c_str(), &st) != 0) {
        return problem_of(errno);
    }
    if ((st.st_mode & _S_IFDIR) != 0) {
        return FileProblem::folder;
    }
    return ::_waccess(name.c_str(), 4) == 0 ? FileProblem::none : problem_of(errno);
}

int open_for_reading(const char* path, FileProblem& problem) {
    const std::wstring name = wide(path);
    int fd = ::_wopen(name.c_str(), _O_RDONLY | _O_BINARY);
    struct _stat64 st {};
    if (fd >= 0 && ::_fstat64(fd, &st) == 0 && (st.st_mode & _S_IFDIR) != 0) {
        ::_close(fd);
        fd = -1;
        errno = EISDIR;
    }
    problem = fd >= 0 ? FileProblem::none : problem_of(errno);
    return fd;
}

int open_for_append(const char* path) {
    // Read access too, so that the file's last byte can be read.
    return ::_open(path, _O_RDWR | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
}

void lock_for_append(int fd) {
    static_cast<void>(fd);  // appends there are not one step between processes anyway
}

int last_byte(int fd) {
    unsigned char last = 0;
    const bool read = ::_lseeki64(fd, -1, SEEK_END) >= 0 && ::_read(fd, &last, 1) == 1;
    return read ? last : -1;
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

int same_destination(int a, int b) {
    static_cast<void>(a);
    static_cast<void>(b);
    return -1;
}

bool is_terminal(int fd) {
    // A console: the C runtime's _isatty is true for NUL as well.
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &mode) != 0;
}

void close_descriptor(int fd) { ::_close(fd); }

}  // namespace geochain
