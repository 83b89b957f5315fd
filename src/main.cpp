// geochain: S-JTSK plane grid coordinates back to the Bessel ellipsoid and
// geocentric coordinates, one point per cycle of a console dialogue, or one
// table row a point.
#include <csignal>
#include <string>

#include "io/descriptor_io.h"
#include "io/stop_signals.h"
#include "run/messages.h"
#include "run/options.h"
#include "run/standard_streams.h"

#ifdef _WIN32
#include <windows.h>

#include <utility>
#include <vector>
#else
#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard descriptor that the process was started without must stay
// unusable: otherwise the next open (the terminal, or fi.txt) would take its
// number, and prompts would land in the log. /dev/null opened read-only keeps
// the slot: reads see end of input, writes fail as they would on a closed one.
void hold_closed_standard_descriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            const int held = ::open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
    }
}

}  // namespace
#endif

namespace {

int start(int argc, const char* const* argv) {
#ifndef _WIN32
    hold_closed_standard_descriptors();
    // A closed output pipe must end the run through the dialogue, not kill
    // it; a file-size limit must fail a write, as a full disk does.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Options are read before anything else: a mistyped one ends the run at
    // once, whatever standard input is, with fi.txt untouched.
    const geochain::Terminals terminals = geochain::find_terminals();
    const geochain::Options options = geochain::parse_options(argc, argv, terminals.input);
    const auto say = [](int fd, const std::string& text) {
        return geochain::write_all(fd, text.data(), text.size()) == text.size();
    };
    // An answer that cannot be written is said where it can still be read.
    const auto answer = [&say](const std::string& text) {
        return say(1, text) ? 0 : (say(2, std::string(geochain::OUTPUT_LOST) + "\n"), 1);
    };
    switch (options.action) {
        case geochain::Action::help:
            return answer(geochain::usage_text());
        case geochain::Action::version:
            return answer(geochain::version_text());
        case geochain::Action::usage_error:
            say(2, options.message + "\n");
            return 2;
        case geochain::Action::run:
            break;
    }
    geochain::catch_stop_signals();
    return geochain::run_on_standard_streams(options, terminals);
}

}  // namespace

#ifdef _WIN32
// The command line as Windows keeps it, in wide characters, so that a file
// name in any script and with blanks reaches the program whole: as UTF-8,
// which the file calls turn back.
int wmain(int argc, wchar_t** wide_argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        const int n =
            WideCharToMultiByte(CP_UTF8, 0, wide_argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(n > 0 ? static_cast<std::size_t>(n) : 1U, '\0');
        if (n > 0) {
            WideCharToMultiByte(CP_UTF8, 0, wide_argv[i], -1, arg.data(), n, nullptr, nullptr);
        }
        arg.resize(arg.size() - 1);
        args.push_back(std::move(arg));
    }
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);
    return start(argc, argv.data());
}
#else
int main(int argc, char** argv) { return start(argc, argv); }
#endif
