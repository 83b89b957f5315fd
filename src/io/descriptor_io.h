// The few descriptor calls the console and the log need, on POSIX and on the
// Windows C runtime alike.
#pragma once

#include <cstddef>

namespace geochain {

// Reads what is there, up to size bytes, waiting while a non-blocking
// descriptor has nothing yet; 0 at end of input, -1 on error (a terminal that
// has hung up included). A stop signal that arrives while it waits ends the
// process.
long read_some(int fd, char* data, std::size_t size);

// Writes everything, retrying after interruptions and partial writes, and,
// if may_wait, waiting while a non-blocking descriptor is full; otherwise a
// full one counts as a failed write. Once a stop signal has arrived, it
// writes only what the descriptor takes at once: a stalled reader never
// holds a stop up. Returns how many bytes were written: all of them, or
// fewer when a write failed or a stop signal ended it.
std::size_t write_all(int fd, const char* data, std::size_t size, bool may_wait = true);

// Standard input read as bytes: on Windows, no CR LF turned into LF and no
// 0x1A taken for the end of the file. Nothing to do elsewhere.
void read_as_bytes(int fd);

// Why a file named for reading cannot be read.
enum class FileProblem { none, missing, folder, not_permitted, other };

// Whether a named file looks readable, asked before anything is read: a
// mistyped name is found before any point is computed.
FileProblem file_problem(const char* path);

// Opens a file named on the command line (UTF-8 on Windows too) for
// reading, as bytes; -1, with the problem, on failure. A folder is no file
// to read.
int open_for_reading(const char* path, FileProblem& problem);

// Opens a file for appending, created with mode 0666 less the umask if it is
// missing, never truncated. Binary on Windows: no CR is ever added. Never
// waits: a FIFO that nobody reads fails at once. -1 on failure.
int open_for_append(const char* path);

// Waits until no other run that locks the same way is appending to the
// file: the file grows a page at a time while another process appends, so
// that its end, read meanwhile, may be inside that process's record. The
// lock goes with the descriptor's close. Without locks (some network file
// systems) it goes on unlocked.
void lock_for_append(int fd);

// The last byte of fd when it is a plain file that has one, or -1: a byte
// other than a line end is a write cut by a power cut, or by another
// program.
int last_byte(int fd);

// True for a pipe or FIFO: a write of at most PIPE_BUF bytes is then whole
// or nothing.
bool is_pipe(int fd);

// Takes back the last `written` bytes appended through fd by cutting the
// file to where they began, unless something was appended after them.
void take_back(int fd, std::size_t written);

// Whether two descriptors lead to the same file, pipe or terminal (as
// 2>&1 makes them): 1 if they do, 0 if they do not, -1 where it cannot be
// told (Windows).
int same_destination(int a, int b);

// True when fd is a terminal an operator types at (on Windows, a console:
// the C runtime's _isatty is true for NUL as well).
bool is_terminal(int fd);

void close_descriptor(int fd);

}  // namespace geochain
