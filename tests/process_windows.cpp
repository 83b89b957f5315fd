#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "process.h"

namespace geochain::testing_support {

namespace {

// Resolved while the working directory is still the build's, before any run
// changes it.
const std::filesystem::path& geochain_exe() {
    static const std::filesystem::path exe = std::filesystem::absolute(GEOCHAIN_EXE);
    return exe;
}

// Text mode, as a shell redirection gives it: the child inherits the mode
// with the descriptor, and its C runtime then writes CR LF for each "\n".
int open_for(const std::filesystem::path& path, int flags) {
    return ::_open(path.string().c_str(), flags | _O_TEXT, _S_IREAD | _S_IWRITE);
}

}  // namespace

std::filesystem::path make_temp_dir() {
    static std::atomic<int> counter{0};
    for (;;) {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("geochain-" + std::to_string(::_getpid()) + "-" +
                          std::to_string(counter++) + "-" + std::to_string(std::rand()));
        if (std::filesystem::create_directory(dir)) {
            return dir;
        }
    }
}

ProcessRun run_geochain(const std::string& input, const std::filesystem::path& dir) {
    const std::filesystem::path& exe = geochain_exe();
    const std::filesystem::path io = make_temp_dir();
    write_file(io / "in", input);
    const int files[3] = {open_for(io / "in", _O_RDONLY),
                          open_for(io / "out", _O_WRONLY | _O_CREAT | _O_TRUNC),
                          open_for(io / "err", _O_WRONLY | _O_CREAT | _O_TRUNC)};
    // The child inherits descriptors 0-2 and the working directory.
    std::fflush(stdout);
    std::fflush(stderr);
    int saved[3];
    for (int fd = 0; fd < 3; ++fd) {
        saved[fd] = ::_dup(fd);
        ::_dup2(files[fd], fd);
    }
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const intptr_t status = ::_spawnl(_P_WAIT, exe.string().c_str(), "geochain", nullptr);
    std::filesystem::current_path(cwd);
    for (int fd = 0; fd < 3; ++fd) {
        if (saved[fd] >= 0) {
            ::_dup2(saved[fd], fd);
            ::_close(saved[fd]);
        }
        ::_close(files[fd]);
    }
    ProcessRun run{static_cast<int>(status), read_file(io / "out"), read_file(io / "err")};
    std::filesystem::remove_all(io);
    return run;
}

}  // namespace geochain::testing_support
