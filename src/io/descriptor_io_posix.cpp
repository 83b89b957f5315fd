#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "io/descriptor_calls.h"
#include "io/descriptor_io.h"
#include "io/stop_signals.h"

namespace geochain {

namespace {

// How long one wait for a descriptor lasts before the stop flag is looked
// at again: a stop signal that arrives just before the wait begins is then
// honoured this much later instead of never.
constexpr int WAIT_SLICE_MS = 250;

}  // namespace

long read_call(int fd, char* data, std::size_t size) {
    return static_cast<long>(::read(fd, data, size));
}

long write_call(int fd, const char* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size));
}

// A descriptor may come to us non-blocking: the flag belongs to the open file
// description, which a shell, an event loop or a terminal program shares with
// us. "Not ready yet" is then neither the end of the input nor a lost output:
// wait until the descriptor is ready and try again.
bool must_wait(int fd, bool reading) {
    if ((errno != EAGAIN && errno != EWOULDBLOCK) || stop_requested()) {
        return false;
    }
    pollfd ready{fd, static_cast<short>(reading ? POLLIN : POLLOUT), 0};
    // A hang-up shows in the retry; a stop signal that ends the wait is
    // seen above, on the retry's own failure.
    return ::poll(&ready, 1, WAIT_SLICE_MS) >= 0 || errno == EINTR;
}

bool writable_now(int fd) {
    pollfd ready{fd, POLLOUT, 0};
    return ::poll(&ready, 1, 0) != 0;
}

bool hung_up(int fd) { return ::isatty(fd) == 0 && errno == EIO; }

namespace {

FileProblem problem_of(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return FileProblem::missing;
        case EISDIR:
            return FileProblem::folder;
        case EACCES:
        case EPERM:
            return FileProblem::not_permitted;
        default:
            return FileProblem::other;
    }
}

}  // namespace

FileProblem file_problem(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0) {
        return problem_of(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return FileProblem::folder;
    }
    return ::access(path, R_OK) == 0 ? FileProblem::none : problem_of(errno);
}

int open_for_reading(const char* path, FileProblem& problem) {
    // A FIFO waits here for its writer, as it does for cat.
    int fd = -1;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR && !stop_requested());
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        fd = -1;
        errno = EISDIR;
    }
    problem = fd >= 0 ? FileProblem::none : problem_of(errno);
    return fd;
}

int open_for_append(const char* path) {
    // Read access too where the file is a plain one, or is still to be made,
    // so that its last byte can be read; never for a FIFO, which would then
    // have a reader in us.
    struct stat st {};
    const bool plain = ::stat(path, &st) == 0 ? S_ISREG(st.st_mode) : errno == ENOENT;
    // A log that is a terminal never becomes the run's controlling one.
    const int flags = O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    const int fd = plain ? ::open(path, O_RDWR | flags, 0666) : -1;
    return fd >= 0 ? fd : ::open(path, O_WRONLY | flags, 0666);
}

void lock_for_append(int fd) {
    flock whole{};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;  // from the start, to the end of any size
    while (::fcntl(fd, F_SETLKW, &whole) == -1 && errno == EINTR && !stop_requested()) {
    }
}

int last_byte(int fd) {
    unsigned char last = 0;
    struct stat st {};
    const bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
                      ::pread(fd, &last, 1, st.st_size - 1) == 1;
    return read ? last : -1;
}

bool is_pipe(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode);
}

void take_back(int fd, std::size_t written) {
    // After an appending write the offset is the end of what it wrote. If
    // the file still ends there, nobody appended after us. Another process
    // appending between the check and the cut is not excluded, but its own
    // write would have to succeed on the disk that has just refused ours.
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    struct stat st {};
    if (end >= static_cast<off_t>(written) && ::fstat(fd, &st) == 0 && st.st_size == end) {
        static_cast<void>(::ftruncate(fd, end - static_cast<off_t>(written)));
    }
}

void read_as_bytes(int fd) { static_cast<void>(fd); }

int same_destination(int a, int b) {
    struct stat first {};
    struct stat second {};
    if (::fstat(a, &first) != 0 || ::fstat(b, &second) != 0) {
        return -1;
    }
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino ? 1 : 0;
}

bool is_terminal(int fd) { return ::isatty(fd) == 1; }

void close_descriptor(int fd) { ::close(fd); }

}  // namespace geochain
