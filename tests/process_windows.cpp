#include <windows.h>

#include <cstdlib>
#include <string>

#include "process.h"

namespace geochain::testing_support {

// Plain files only: every other kind of surroundings needs POSIX, and its
// tests are skipped. The command interpreter's redirections are text mode,
// as a user's would be, so the program's C runtime writes CR LF for "\n".
// The command goes in wide characters, so that names in any script (the
// tests' are UTF-8) reach the program as the user typed them.
ProcessRun run_geochain(const std::filesystem::path& dir, Surroundings /*how*/,
                        const std::vector<std::string>& args) {
    std::string command = "cd /d \"" + dir.u8string() + "\" && \"" +
                          std::filesystem::absolute(GEOCHAIN_EXE).u8string() + "\"";
    for (const std::string& arg : args) {
        // The tests' arguments hold no quote; a blank one is quoted.
        command += arg.find(' ') == std::string::npos ? " " + arg : " \"" + arg + "\"";
    }
    command += " <in >out 2>err";
    const int n = MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, wide.data(), n);
    const int status = ::_wsystem(wide.c_str());
    return {status, read_file(dir / "out"), read_file(dir / "err"), ""};
}

}  // namespace geochain::testing_support
