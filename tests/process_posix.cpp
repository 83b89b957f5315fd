#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

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
[[noreturn]] void exec_in(const std::string& dir, Surroundings how, int broken_pipe) {
    if (on_terminal(how)) {
        // One descriptor stays on the terminal until the program exits, so
        // that the parent reads everything the program writes there.
        ::dup(0);
    } else {
        ::setsid();
    }
    const char* in = how == Surroundings::stdin_directory ? "/" : "in";
    const char* out = how == Surroundings::stdout_full_device ? "/dev/full" : "out";
    if (::chdir(dir.c_str()) != 0 || !redirect(0, in, O_RDONLY) ||
        !redirect(1, out, O_WRONLY | O_CREAT | O_TRUNC) ||
        !redirect(2, "err", O_WRONLY | O_CREAT | O_TRUNC)) {
        ::_exit(127);
    }
    if (how == Surroundings::stdout_broken_pipe) {
        ::dup2(broken_pipe, 1);
    }
    ::close(broken_pipe);
    const Surroundings closed[] = {Surroundings::stdin_closed, Surroundings::terminal_stdout_closed,
                                   Surroundings::terminal_stderr_closed};
    for (int fd = 0; fd <= 2; ++fd) {
        if (how == closed[fd]) {
            ::close(fd);
        }
    }
#ifndef GEOCHAIN_SANITIZED  // the sanitizers reserve terabytes of address space
    if (how == Surroundings::memory_bound) {
        limit(RLIMIT_AS, rlim_t{64} << 20);
    }
#endif
    if (how == Surroundings::descriptor_limit) {
        limit(RLIMIT_NOFILE, 64);
    }
    limit(RLIMIT_CPU, 30);
    std::signal(SIGPIPE, SIG_DFL);  // the program itself must choose to survive a closed pipe
    ::execl(GEOCHAIN_EXE, "geochain", static_cast<char*>(nullptr));
    ::_exit(127);
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "geochain-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    path = pattern;
}

ProcessRun run_geochain(const std::filesystem::path& dir, Surroundings how) {
    const std::string where = dir.string();
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) {
        std::abort();
    }
    ::close(pipe_ends[0]);
    int master = -1;
    const pid_t pid = on_terminal(how) ? ::forkpty(&master, nullptr, nullptr, nullptr) : ::fork();
    if (pid == 0) {
        exec_in(where, how, pipe_ends[1]);
    }
    ::close(pipe_ends[1]);
    ProcessRun run{-1, "", "", ""};
    char buf[4096];
    for (ssize_t n; master >= 0 && (n = ::read(master, buf, sizeof buf)) > 0;) {
        run.terminal.append(buf, static_cast<std::size_t>(n));
    }
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    if (master >= 0) {
        ::close(master);
    }
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.out = read_file(dir / "out");
    run.err = read_file(dir / "err");
    return run;
}

}  // namespace geochain::testing_support
