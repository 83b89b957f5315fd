#include <cstdlib>
#include <string>

#include "process.h"

namespace geochain::testing_support {

// Plain files only: every other kind of surroundings needs POSIX, and its
// tests are skipped. The command interpreter's redirections are text mode,
// as a user's would be, so the program's C runtime writes CR LF for "\n".
ProcessRun run_geochain(const std::filesystem::path& dir, Surroundings /*how*/,
                        const std::vector<std::string>& args) {
    std::string command = "cd /d \"" + dir.string() + "\" && \"" +
                          std::filesystem::absolute(GEOCHAIN_EXE).string() + "\"";
    for (const std::string& arg : args) {
        command += " " + arg;  // the tests' arguments hold no blank or quote
    }
    command += " <in >out 2>err";
    const int status = std::system(command.c_str());
    return {status, read_file(dir / "out"), read_file(dir / "err"), ""};
}

}  // namespace geochain::testing_support
