// libFuzzer target: arbitrary bytes as the operator's whole input to the
// dialogue. Typed at a terminal, nothing may crash; as a file, every point
// the dialogue computes must be a point line of the input, as a table by a
// layout (a surveyor's list, a height that may be missing, a spreadsheet's
// CSV with either decimal mark, files joined) every row must be one of the
// layout's point lines, and an input that breaks this aborts, so that
// libFuzzer keeps it. The log goes to a
// private temporary folder, removed when the fuzzer exits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
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
    // As a table too, by one of the layouts, read from files joined where
    // the input holds 0x1C.
    namespace support = geochain::testing_support;
    const support::TriedLayout& layout =
        support::TRIED_LAYOUTS[size % std::size(support::TRIED_LAYOUTS)];
    std::string mismatch = support::points_file_mismatch(input, folder.path);
    if (mismatch.empty()) {
        mismatch = support::table_mismatch(support::files_of(input), folder.path, layout.columns,
                                           layout.decimal_comma);
    }
    if (!mismatch.empty()) {
        std::fprintf(stderr, "points file property: %s\n", mismatch.c_str());
        std::abort();
    }
    return 0;
}
