#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
#include <string>

#include "geodesy/transform.h"
#include "text/format_fixed.h"
#include "text/report.h"
#include "worked_examples.h"

namespace geochain {
namespace {

// A numeric punctuation that an embedding program might install globally.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};

// The printed digits of every worked example are checked on the whole
// program; here are the values no territory point produces.
TEST(Report, FormatFixedAtTheEdges) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {0.001953125, 8, "0.00195312"},   // exact tie, rounded to even as printf does
        {-0.000000004, 8, "0.00000000"},  // rounds to zero from below: no sign
        {-0.0, 4, "0.0000"},
        {0.0, 20, "0.00000000000000000000"},  // more decimals than one block of digits
        {inf, 8, "+INF"},
        {-inf, 4, "-INF"},
        {nan, 8, "+NAN"},
        {-nan, 4, "-NAN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(format_fixed(c.value, c.decimals), c.text);
    }
    EXPECT_EQ(format_integer(-2147483647 - 1), "-2147483648");
}

// Values of either sign from 2^-60 to 2^70 with 1 to 53 significant bits,
// exact ties at the last decimal among them, at every number of decimals
// from 0 to 9: the same text as the standard library's correctly rounded
// to_chars, but no "-" where every digit is zero.
TEST(Report, FormatFixedAgreesWithToChars) {
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 40000; ++i) {
        const auto significand = static_cast<double>(random() >> (11 + random() % 53));
        const double magnitude = std::ldexp(significand, static_cast<int>(random() % 131) - 60);
        const double value = random() % 2 == 0 ? magnitude : -magnitude;
        for (int decimals = 0; decimals <= 9; ++decimals) {
            char buf[384];
            const auto res =
                std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
            std::string expected(buf, res.ptr);
            if (expected.find_first_not_of("-0.") == std::string::npos) {
                expected.erase(0, expected[0] == '-' ? 1 : 0);
            }
            ASSERT_EQ(format_fixed(value, decimals), expected) << value;
        }
    }
}

TEST(Report, NoLocaleChangesTheDigits) {
    const std::locale saved =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    std::ostringstream report;
    print_report(transform_point({1100000, 700000, 300}), report);
    std::locale::global(saved);
    EXPECT_EQ(report.str(), expected_report(WORKED_EXAMPLES[0]));
}

}  // namespace
}  // namespace geochain
