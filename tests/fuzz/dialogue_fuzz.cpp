// libFuzzer target: arbitrary bytes as the operator's whole input to the
// dialogue, at a terminal and in a file. Output is discarded; the log goes to a private temporary
// folder, emptied after every input and removed when the fuzzer exits.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "dialogue/dialogue.h"

namespace {

struct DiscardingBuf : std::streambuf {
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

struct LogFolder {
    LogFolder() {
        if (::mkdtemp(dir.data()) == nullptr) {
            std::abort();
        }
        log = dir + "/fi.txt";
    }
    ~LogFolder() { std::filesystem::remove_all(dir); }
    std::string dir = (std::filesystem::temp_directory_path() / "geochain-fuzz-XXXXXX").string();
    std::string log;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const LogFolder folder;
    DiscardingBuf discard;
    std::ostream out(&discard);
    // The same bytes as typed at a terminal and as a file.
    for (const auto mode : {geochain::InputMode::terminal, geochain::InputMode::batch}) {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
        geochain::run_dialogue(in, out, out, folder.log, mode);
        std::remove(folder.log.c_str());
    }
    return 0;
}
