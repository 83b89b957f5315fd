#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "process.h"

namespace geochain::testing_support {

namespace {

bool on_terminal(Surroundings how) {
    return how == Surroundings::terminal || how == Surroundings::terminal_stdout_closed ||
           how == Surroundings::terminal_stderr_closed;
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

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void exec_in(const std::string& dir, Surroundings how) {
    using S = Surroundings;
    if (on_terminal(how)) {
        // One descriptor stays on the terminal until the program exits, so
        // that the parent reads everything the program writes there.
        ::dup(0);
    } else {
        ::setsid();
    }
    const char* in = how == S::stdin_directory ? "/" : "in";
    const char* out = how == S::stdout_full_device ? "/dev/full" : "out";
    if (::chdir(dir.c_str()) != 0 || !redirect(0, in, O_RDONLY) ||
        !redirect(1, out, O_WRONLY | O_CREAT | O_TRUNC) ||
        !redirect(2, "err", O_WRONLY | O_CREAT | O_TRUNC)) {
        ::_exit(127);
    }
    int pipe_ends[2];
    if (how == S::stdout_broken_pipe && ::pipe(pipe_ends) == 0) {
        ::close(pipe_ends[0]);
        ::dup2(pipe_ends[1], 1);
        ::close(pipe_ends[1]);
    }
    ::close(how == S::stdin_closed             ? 0
            : how == S::terminal_stdout_closed ? 1
            : how == S::terminal_stderr_closed ? 2
                                               : -1);
#ifndef GEOCHAIN_SANITIZED  // the sanitizers reserve terabytes of address space
    if (how == S::memory_bound) {
        limit(RLIMIT_AS, rlim_t{64} << 20);
    }
#endif
    if (how == S::descriptor_limit) {
        limit(RLIMIT_NOFILE, 64);
    }
    limit(RLIMIT_CPU, 30);
    std::signal(SIGPIPE, SIG_DFL);  // the program itself must choose to survive a closed pipe
    ::execl(GEOCHAIN_EXE, "geochain", static_cast<char*>(nullptr));
    ::_exit(127);
}

}  // namespace

ProcessRun run_geochain(const std::filesystem::path& dir, Surroundings how) {
    const std::string where = dir.string();
    int master = -1;
    const pid_t pid = on_terminal(how) ? ::forkpty(&master, nullptr, nullptr, nullptr) : ::fork();
    if (pid == 0) {
        exec_in(where, how);
    }
    std::string terminal;
    char buf[4096];
    for (ssize_t n; master >= 0 && (n = ::read(master, buf, sizeof buf)) > 0;) {
        terminal.append(buf, static_cast<std::size_t>(n));
    }
    ::close(master);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    return {WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1, read_file(dir / "out"),
            read_file(dir / "err"), terminal};
}

}  // namespace geochain::testing_support
