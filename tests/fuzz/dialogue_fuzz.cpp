// libFuzzer target: arbitrary bytes as the operator's whole input to the
// dialogue. Output is discarded; the log goes to a private temporary folder
// and is removed after every input, so memory and disk stay bounded.
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

const std::string& log_path() {
    static const std::string path = [] {
        std::string dir =
            (std::filesystem::temp_directory_path() / "geochain-fuzz-XXXXXX").string();
        if (::mkdtemp(dir.data()) == nullptr) {
            std::abort();
        }
        return dir + "/fi.txt";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    DiscardingBuf discard;
    std::ostream out(&discard);
    std::ostream err(&discard);
    geochain::run_dialogue(in, out, err, log_path());
    std::remove(log_path().c_str());
    return 0;
}
