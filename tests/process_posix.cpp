#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "process.h"

namespace geochain::testing_support {

std::filesystem::path make_temp_dir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "geochain-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern;
}

ProcessRun run_geochain(const std::string& input, const std::filesystem::path& dir) {
    const std::filesystem::path io = make_temp_dir();
    write_file(io / "in", input);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open((io / "in").c_str(), O_RDONLY);
        const int out = ::open((io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open((io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0 || ::chdir(dir.c_str()) != 0) {
            ::_exit(127);
        }
        ::execl(GEOCHAIN_EXE, "geochain", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    ProcessRun run{WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1, read_file(io / "out"),
                   read_file(io / "err")};
    std::filesystem::remove_all(io);
    return run;
}

}  // namespace geochain::testing_support
