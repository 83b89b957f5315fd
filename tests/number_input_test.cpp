#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "dialogue/number_input.h"

namespace geochain {
namespace {

constexpr double INF = std::numeric_limits<double>::infinity();

TEST(NumberInput, AcceptedForms) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"+5", 5.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"-1e3", -1000.0},
        {"1E+3", 1000.0},
        {"1e999", INF},
        {"-1e999", -INF},
        {"1e-400", 0.0},
        {"4e-324", 4.9406564584124654e-324},  // the smallest subnormal
        {"0.000001e99999999999999999999", INF},
        {"100000e-99999999999999999999", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Entry e = parse_number(c.text);
        ASSERT_EQ(e.kind, EntryKind::number);
        EXPECT_EQ(e.value, c.value);
    }
    EXPECT_TRUE(std::signbit(parse_number("-1e-400").value));
}

TEST(NumberInput, InvalidEntries) {
    const std::string long_entry(MAX_ENTRY_CHARS + 1, '1');
    const std::string invalid[] = {
        "12,5", "1e", "1e+", "inf",  "nan", "0x1A",  "12abc",
        "-",    ".",  "+-1", "1..2", "e5",  "1e5.5", std::string("1\0", 2)};
    for (const std::string& text : invalid) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_number(text).kind, EntryKind::invalid);
    }
    std::istringstream in(long_entry + " 7");
    EXPECT_EQ(read_number(in).kind, EntryKind::invalid);
    EXPECT_EQ(read_number(in).value, 7.0);
    std::istringstream longest(std::string(MAX_ENTRY_CHARS, '1'));
    EXPECT_EQ(read_number(longest).kind, EntryKind::number);
}

TEST(NumberInput, ReadsEntriesAcrossBlanksAndLineEnds) {
    std::istringstream in("\n\n \t1100000 700000\r\n\v\f300\n");
    EXPECT_EQ(read_number(in).value, 1100000.0);
    EXPECT_EQ(read_number(in).value, 700000.0);
    EXPECT_EQ(read_number(in).value, 300.0);
    EXPECT_EQ(read_number(in).kind, EntryKind::end_of_input);
}

}  // namespace
}  // namespace geochain
