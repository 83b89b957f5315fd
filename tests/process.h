// Running the built geochain executable as a child process in surroundings
// that only a whole process can show.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace geochain::testing_support {

// A fresh, empty directory of its own under the system's temporary
// directory, removed with everything in it when the test leaves its scope,
// failed or not.
struct TempDir {
    TempDir();
    ~TempDir();
    std::filesystem::path path;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// Text as a text-mode standard output or error delivers it on this
// platform: a Windows C runtime writes CR LF for every line feed (one that
// a CR already precedes was written as a bare line feed), elsewhere the
// bytes stay as they are.
inline std::string platform_text(std::string text) {
#ifdef _WIN32
    for (auto i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
        if (i == 0 || text[i - 1] != '\r') {
            text.insert(i++, 1, '\r');
        }
    }
#endif
    return text;
}

// How the program's standard descriptors and limits are set up. Without a
// terminal the program runs in a session of its own, so that no test run
// reaches (or clears) the terminal of whoever runs the tests.
enum class Surroundings {
    files,               // standard input, output and error are files
    memory_bound,        // and the address space is limited to 64 MiB
    descriptor_limit,    // and at most 16 descriptors may be open
    stdout_broken_pipe,  // standard output a pipe whose reader is gone
    stdin_closed,        // standard input closed at start-up
    stdin_directory,     // standard input the root directory: reads fail
    stdin_socket_reset,  // standard input a socket, reset after dir/"in" is sent
    stderr_on_stdout,    // standard error the same file as standard output, as 2>&1
    // Standard input a pipe written in pieces, separated by '|' in dir/"in":
    // each piece is written once the program has read everything before it,
    // so that every piece comes to it in a read of its own, as a terminal
    // hands over each line.
    stdin_pipe_in_pieces,
    stdin_nonblocking_pipe_in_pieces,  // the same pipe, non-blocking
    // Standard input a pipe that dir/"in" is written into and that stays
    // open: once fi.txt holds a record for each of its lines that holds a
    // point (a digit), the program, waiting for more, gets SIGINT.
    stdin_left_open_interrupted_once_logged,
    log_size_limited,  // files of at most 64 KiB, as ulimit -f 64
    // Standard input and output pipes of a driver that sends each line of
    // dir/"in" once the program has asked for it, and waits for no longer
    // than ten seconds.
    driven_through_pipes,
    // Standard output a pipe that nobody reads until it is full; then half
    // of it is read, and once it is full again the program gets SIGINT. It
    // must end by it before anybody reads; then the pipe is read to its end.
    stdout_a_full_pipe_interrupted,
    // The same with a non-blocking pipe, never read before the SIGINT.
    stdout_a_full_non_blocking_pipe_interrupted,
    // fi.txt a link to a pseudo-terminal that nobody reads.
    log_a_terminal_nobody_reads,
    // From here on, a pseudo-terminal without echo or output conversion is
    // the controlling terminal. Files, with standard output or error closed
    // at start-up:
    terminal_stdout_closed,
    terminal_stderr_closed,
    // Files, the terminal set tostop, and the program a background job of
    // its session: it may not write to the terminal.
    terminal_background,
    // Standard input the pseudo-terminal itself: an operator typing, each
    // read one line; standard output there too; with standard error closed
    // at start-up; with at most 16
    // descriptors open; Ctrl-C (SIGINT) once the X prompt shows; under nohup,
    // the terminal hung up once the h prompt shows, the typed line read.
    typed_at_terminal,
    typed_at_terminal_output_there,
    typed_at_terminal_stderr_closed,
    typed_at_terminal_few_descriptors,
    typed_at_terminal_interrupted_at_the_X_prompt,
    typed_at_terminal_then_hung_up,
    // Standard output the terminal, non-blocking, and read slowly: writes are
    // taken in part.
    stdout_nonblocking_terminal_read_slowly,
};

struct ProcessRun {
    int status;  // exit status, 128 + the signal that ended the process, or -1
    std::string out;
    std::string err;
    std::string terminal;  // every byte that reached the pseudo-terminal
};

// Runs geochain with the given arguments in dir with dir/"in" as standard
// input (or typed at the terminal); its standard output and error go to
// dir/"out" and dir/"err". A process that runs away or waits for ever is
// stopped after a minute.
ProcessRun run_geochain(const std::filesystem::path& dir, Surroundings how,
                        const std::vector<std::string>& args = {});

}  // namespace geochain::testing_support
