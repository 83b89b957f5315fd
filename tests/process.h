// Running the built geochain executable as a child process, for the
// end-to-end tests.
#pragma once

#include <filesystem>
#include <string>

namespace geochain::testing_support {

struct ProcessRun {
    int status;  // exit status, or -1 when the process did not exit by itself
    std::string out;
    std::string err;
};

// A fresh, empty directory of its own under the system's temporary directory.
std::filesystem::path make_temp_dir();

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// Text as a text-mode standard output delivers it on this platform: a Windows
// C runtime writes CR LF for every line feed, elsewhere the bytes stay as
// they are.
inline std::string platform_text(const std::string& text) {
#ifdef _WIN32
    std::string crlf;
    for (const char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return crlf;
#else
    return text;
#endif
}

// Runs geochain in dir with the given bytes as standard input.
ProcessRun run_geochain(const std::string& input, const std::filesystem::path& dir);

}  // namespace geochain::testing_support
