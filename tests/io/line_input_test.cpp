#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "io/line_input.h"

namespace geochain {
namespace {

// A line is kept up to 64 KiB; a longer one is never a point, however its
// words would read.
TEST(LineInput, ALineLongerThan64KiBIsNoPoint) {
    for (const std::size_t blanks : {std::size_t{65000}, std::size_t{70000}}) {
        const std::string line = "1100000 700000 300" + std::string(blanks, ' ');
        std::istringstream in(line + "\n1041000 740000 250\n");
        InputLines lines{*in.rdbuf()};
        const BatchLine first = read_batch_line(lines, Layout{});
        EXPECT_EQ(first.kind, line.size() <= MAX_LINE_CHARS ? LineKind::point : LineKind::too_long);
        const BatchLine second = read_batch_line(lines, Layout{});
        EXPECT_EQ(second.kind, LineKind::point);
        EXPECT_EQ(second.number, 2);
    }
}

}  // namespace
}  // namespace geochain
