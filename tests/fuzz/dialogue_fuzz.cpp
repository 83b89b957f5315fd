// libFuzzer target: arbitrary bytes as the operator's whole input to the
// dialogue. Typed at a terminal, nothing may crash; as a file, every point
// the dialogue computes must be a point line of the input, as a table by a
// layout every row must be one of the layout's point lines, and an input
// that breaks this aborts, so that libFuzzer keeps it. The log goes to a
// private temporary folder, removed when the fuzzer exits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "../points_file_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const geochain::testing_support::TempDir folder;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream typed(input);
    geochain::testing_support::run_in_process(
        folder.path, [&typed](std::ostream& out, std::ostream& err, geochain::PendingRecords& log) {
            return geochain::run_dialogue(typed, out, err, log, geochain::InputMode::terminal);
        });
    // As a table too, by one of three layouts.
    static const char* const LAYOUTS[] = {"x,y,h", "n,y,x,h,...", "-,x,y"};
    std::string mismatch = geochain::testing_support::points_file_mismatch(input, folder.path);
    if (mismatch.empty()) {
        mismatch = geochain::testing_support::table_mismatch(input, folder.path, LAYOUTS[size % 3]);
    }
    if (!mismatch.empty()) {
        std::fprintf(stderr, "points file property: %s\n", mismatch.c_str());
        std::abort();
    }
    return 0;
}
