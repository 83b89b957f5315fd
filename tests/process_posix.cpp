#include <fcntl.h>
#include <poll.h>
#if defined(__APPLE__)
#include <util.h>
#elif defined(__FreeBSD__)
#include <libutil.h>
#else
#include <pty.h>
#include <utmp.h>
#endif
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "process.h"

namespace geochain::testing_support {

namespace {

bool on_terminal(Surroundings how) { return how >= Surroundings::terminal_stdout_closed; }

bool typed(Surroundings how) {
    return how >= Surroundings::typed_at_terminal &&
           how <= Surroundings::typed_at_terminal_then_hung_up;
}

// A pseudo-terminal without echo or output conversion, set up before the
// program can use it; the child's side of it becomes its controlling terminal and its
// standard descriptors.
pid_t fork_on_terminal(Surroundings how, int& master) {
    int slave = -1;
    termios t{};
    ::openpty(&master, &slave, nullptr, nullptr, nullptr);
    ::tcgetattr(slave, &t);
    t.c_lflag =
        (t.c_lflag & ~tcflag_t{ECHO}) | (how == Surroundings::terminal_background ? TOSTOP : 0);
    t.c_oflag &= ~tcflag_t{OPOST};
    ::tcsetattr(slave, TCSANOW, &t);
    const pid_t pid = ::fork();
    ::close(pid == 0 ? master : slave);
    if (pid == 0) {
        ::login_tty(slave);
    }
    return pid;
}

void limit(int resource, rlim_t value) {
    const rlimit r{value, value};
    ::setrlimit(resource, &r);
}

bool redirect(int fd, const char* path, int flags) {
    const int opened = ::open(path, flags, 0600);
    if (opened < 0 || ::dup2(opened, fd) < 0) {
        return false;
    }
    return opened == fd || ::close(opened) == 0;
}

void set_nonblocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits until the event has happened, looking again every millisecond; a
// program that never brings it about is given up on after half a minute,
// a guard far beyond any wait of a working program on a busy machine.
template <class Event>
bool wait_for(Event happened) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!happened()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        pause(1);
    }
    return true;
}

int unread_bytes(int fd) {
    int unread = 0;
    return ::ioctl(fd, FIONREAD, &unread) == 0 ? unread : -1;
}

// A pipe is full when a writer would have to wait: its write end, probed
// without writing, is not ready. (How many bytes it then holds depends on
// how the writes fell into its pages.)
bool pipe_full(int write_end) {
    pollfd ready{write_end, POLLOUT, 0};
    return ::poll(&ready, 1, 0) == 0;
}

// Writes each piece once the pipe is empty again, that is once the program
// has taken everything before it. One blocking write a piece.
void write_in_pieces(int pipe_in, const std::string& input) {
    std::signal(SIGPIPE, SIG_IGN);  // a program that ended early fails its row, not the suite
    for (std::size_t begin = 0, end = 0; begin <= input.size(); begin = end + 1) {
        end = std::min(input.find('|', begin), input.size());
        static_cast<void>(::write(pipe_in, input.data() + begin, end - begin));
        wait_for([pipe_in] { return unread_bytes(pipe_in) <= 0; });
    }
    ::close(pipe_in);
}

// Everything until the end of the file. Slowly: a millisecond's pause after
// each read, far slower than the program writes, so that its non-blocking
// writes meet a full terminal.
std::string read_all(int fd, bool slowly) {
    std::string all;
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) {
        all.append(buf, static_cast<std::size_t>(n));
        pause(slowly ? 1 : 0);
    }
    ::close(fd);
    return all;
}

// Sends the input a line at a time, each once the program has asked for
// it: the first after the X prompt, every later one after the question. A
// program that keeps back what it has written for half a minute gets no
// more input. Returns everything it wrote.
std::string converse(int to_program, int from_program, const std::string& input) {
    std::string shown;
    pollfd ready{from_program, POLLIN, 0};
    char buf[4096];
    ssize_t n = 1;
    for (std::size_t begin = 0, end = 0; n > 0 && begin < input.size(); begin = end) {
        end = input.find('\n', begin) + 1;
        const std::string asked = begin == 0 ? "X = " : "] ?";
        while (n > 0 && shown.rfind(asked) != shown.size() - asked.size()) {
            n = ::poll(&ready, 1, 30000) > 0 ? ::read(from_program, buf, sizeof buf) : 0;
            shown.append(buf, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        }
        static_cast<void>(n > 0 ? ::write(to_program, input.data() + begin, end - begin) : 0);
    }
    ::close(to_program);
    return shown + read_all(from_program, false);
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void exec_in(const std::string& dir, Surroundings how, int pipe_in, int pipe_out,
                          const char* const* command) {
    using S = Surroundings;
    if (on_terminal(how)) {
        // One descriptor stays on the terminal until the program exits, so
        // that the parent reads everything the program writes there.
        ::dup(0);
    } else {
        ::setsid();
    }
    const char* in = how == S::stdin_directory ? "/" : "in";
    const bool out_on_terminal = how == S::stdout_nonblocking_terminal_read_slowly ||
                                 how == S::typed_at_terminal_output_there;
    if (::chdir(dir.c_str()) != 0 || (!typed(how) && !redirect(0, in, O_RDONLY)) ||
        (!out_on_terminal && !redirect(1, "out", O_WRONLY | O_CREAT | O_TRUNC)) ||
        !redirect(2, "err", O_WRONLY | O_CREAT | O_TRUNC)) {
        ::_exit(127);
    }
    if (pipe_in >= 0 && ::dup2(pipe_in, 0) == 0) {  // the pipe in place of standard input
        ::close(pipe_in);
    }
    if (pipe_out >= 0 && ::dup2(pipe_out, 1) == 1) {
        ::close(pipe_out);
    }
    if (how == S::stdin_nonblocking_pipe_in_pieces) {
        set_nonblocking(0);
    }
    if (how == S::stdout_nonblocking_terminal_read_slowly ||
        how == S::stdout_a_full_non_blocking_pipe_interrupted) {
        set_nonblocking(1);
    }
    if (how == S::stderr_on_stdout) {
        ::dup2(1, 2);
    }
    int pipe_ends[2];
    if (how == S::stdout_broken_pipe && ::pipe(pipe_ends) == 0) {
        ::close(pipe_ends[0]);
        ::dup2(pipe_ends[1], 1);
        ::close(pipe_ends[1]);
    }
    ::close(how == S::stdin_closed                      ? 0
            : how == S::terminal_stdout_closed          ? 1
            : how == S::typed_at_terminal_stderr_closed ? 2
                                                        : -1);
#ifndef GEOCHAIN_SANITIZED  // the sanitizers reserve terabytes of address space
    if (how == S::memory_bound) {
        limit(RLIMIT_AS, rlim_t{64} << 20);
    }
#endif
    if (how == S::descriptor_limit || how == S::typed_at_terminal_few_descriptors) {
        limit(RLIMIT_NOFILE, 16);
    }
    if (how == S::typed_at_terminal_then_hung_up) {
        std::signal(SIGHUP, SIG_IGN);  // as nohup starts it
    }
    if (how == S::log_size_limited) {
        limit(RLIMIT_FSIZE, 64 << 10);
    }
    // A job-control shell starts the program as a background job: a process
    // group of its own, not the terminal's foreground group. A job stopped
    // for touching the terminal fails its row.
    if (how == S::terminal_background) {
        if (::fork() > 0) {
            int wstatus = 0;
            ::waitpid(-1, &wstatus, WUNTRACED);
            ::_exit(WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 126);
        }
        ::setpgid(0, 0);
    }
    limit(RLIMIT_CPU, 30);
    ::alarm(60);
    std::signal(SIGPIPE, SIG_DFL);  // the program itself must choose to survive a closed pipe
    ::execvp(command[0], const_cast<char* const*>(command));
    ::_exit(127);
}

}  // namespace

ProcessRun run_geochain(const std::filesystem::path& dir, Surroundings how,
                        const std::vector<std::string>& args) {
    const std::string where = dir.string();
    // In a cross build the emulator comes first; it runs natively.
    std::vector<const char*> command = {GEOCHAIN_EMULATOR GEOCHAIN_EXE};
    for (const std::string& arg : args) {
        command.push_back(arg.c_str());
    }
    command.push_back(nullptr);
    int in_ends[2] = {-1, -1};
    int out_ends[2] = {-1, -1};
    const bool in_pieces = how == Surroundings::stdin_pipe_in_pieces ||
                           how == Surroundings::stdin_nonblocking_pipe_in_pieces;
    const bool left_open = how == Surroundings::stdin_left_open_interrupted_once_logged;
    const bool driven = how == Surroundings::driven_through_pipes;
    const bool interrupted = how == Surroundings::stdout_a_full_pipe_interrupted ||
                             how == Surroundings::stdout_a_full_non_blocking_pipe_interrupted;
    const bool reset = how == Surroundings::stdin_socket_reset;
    if (reset && (::socketpair(AF_UNIX, SOCK_STREAM, 0, in_ends) != 0 ||
                  ::write(in_ends[0], "?", 1) != 1)) {  // never read: the close resets
        return {-1, "", "no socket", ""};
    }
    if (((in_pieces || driven || left_open) && ::pipe(in_ends) != 0) ||
        ((driven || interrupted) && ::pipe(out_ends) != 0)) {
        return {-1, "", "no pipe", ""};
    }
#ifdef F_SETPIPE_SZ
    // Room for more than the program's 64 KiB buffer, so that a read that
    // asks for too much gets it (Linux; elsewhere pipes stay as they are).
    ::fcntl(in_ends[1], F_SETPIPE_SZ, 1 << 20);
#endif
    int log_terminal[2] = {-1, -1};  // its side nobody reads, and the side fi.txt leads to
    if (how == Surroundings::log_a_terminal_nobody_reads &&
        (::openpty(&log_terminal[0], &log_terminal[1], nullptr, nullptr, nullptr) != 0 ||
         ::symlink(::ttyname(log_terminal[1]), (dir / "fi.txt").c_str()) != 0)) {
        return {-1, "", "no terminal for the log", ""};
    }
    int master = -1;
    const pid_t pid = on_terminal(how) ? fork_on_terminal(how, master) : ::fork();
    if (pid == 0) {
        ::close(in_ends[1]);
        ::close(out_ends[0]);
        ::close(log_terminal[0]);
        ::close(log_terminal[1]);
        exec_in(where, how, in_ends[0], out_ends[1], command.data());
    }
    ::close(in_ends[0]);
    // Of a pipe that is to fill, its write end kept to probe it.
    const int out_probe = interrupted ? out_ends[1] : -1;
    if (!interrupted) {
        ::close(out_ends[1]);
    }
    if (in_pieces) {
        write_in_pieces(in_ends[1], read_file(dir / "in"));
    }
    if (reset) {
        const std::string sent = read_file(dir / "in");
        static_cast<void>(::write(in_ends[1], sent.data(), sent.size()));
        ::close(in_ends[1]);
    }
    if (left_open) {
        const std::string sent = read_file(dir / "in");
        static_cast<void>(::write(in_ends[1], sent.data(), sent.size()));
        // The lines that hold a point: those with a digit.
        std::istringstream sent_lines(sent);
        std::ptrdiff_t lines = 0;
        for (std::string line; std::getline(sent_lines, line);) {
            lines += line.find_first_of("0123456789") != std::string::npos ? 1 : 0;
        }
        wait_for([&dir, lines] {
            const std::string log = read_file(dir / "fi.txt");
            return std::count(log.begin(), log.end(), '\n') == 4 * lines;
        });
        ::kill(pid, SIGINT);
        ::close(in_ends[1]);
    }
    std::string shown = driven ? converse(in_ends[1], out_ends[0], read_file(dir / "in")) : "";
    int wstatus = 0;
    bool ended = false;  // and reaped
    if (interrupted) {
        const auto full = [probe = out_probe] { return pipe_full(probe); };
        wait_for(full);
        if (how == Surroundings::stdout_a_full_pipe_interrupted) {
            // Half the pipe read: the program's waiting write goes on, and
            // waits again part of the way through its block.
            shown.resize(std::max(unread_bytes(out_ends[0]), 2) / 2);
            for (std::size_t taken = 0; taken < shown.size();) {
                taken += static_cast<std::size_t>(
                    std::max<ssize_t>(::read(out_ends[0], &shown[taken], shown.size() - taken), 0));
            }
            wait_for(full);
        }
        ::close(out_probe);  // or the pipe would never end
        ::kill(pid, SIGINT);
        // Nobody reads until the program has ended by the signal.
        ended = wait_for([pid, &wstatus] { return ::waitpid(pid, &wstatus, WNOHANG) == pid; });
        if (!ended) {
            ::kill(pid, SIGKILL);
        }
        shown += read_all(out_ends[0], false);
    }
    if (typed(how)) {
        const std::string keys = read_file(dir / "in");
        static_cast<void>(::write(master, keys.data(), keys.size()));
    }
    const auto shows = [&dir](const std::string& prompt) {
        return wait_for(
            [&dir, &prompt] { return read_file(dir / "out").find(prompt) != std::string::npos; });
    };
    if (how == Surroundings::typed_at_terminal_interrupted_at_the_X_prompt && shows("X = ")) {
        ::kill(pid, SIGINT);
    }
    if (how == Surroundings::typed_at_terminal_then_hung_up) {
        // The h prompt shows once the typed line has been read whole.
        shows("h (elipsoidicka) = ");
        ::close(master);
        master = -1;
    }
    const std::string terminal =
        master < 0 ? ""
                   : read_all(master, how == Surroundings::stdout_nonblocking_terminal_read_slowly);
    if (!ended) {
        ::waitpid(pid, &wstatus, 0);
    }
    ::close(log_terminal[0]);
    ::close(log_terminal[1]);
    const int status = WIFEXITED(wstatus)     ? WEXITSTATUS(wstatus)
                       : WIFSIGNALED(wstatus) ? 128 + WTERMSIG(wstatus)
                                              : -1;
    return {status, driven || interrupted ? shown : read_file(dir / "out"), read_file(dir / "err"),
            terminal};
}

}  // namespace geochain::testing_support
