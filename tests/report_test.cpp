#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

#include "dialogue/format_fixed.h"
#include "dialogue/report.h"
#include "geodesy/transform.h"
#include "worked_examples.h"

namespace geochain {
namespace {

// A numeric punctuation that an embedding program might install globally.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};

void expect_format_table() {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {0.001953125, 8, "0.00195312"},  // exact tie, rounded to even as printf does
        {1.03125, 4, "1.0312"},
        {1300000.0, 8, "1300000.00000000"},  // ro of X = 1200000, Y = 500000
        {-32.471192291, 8, "-32.47119229"},
        {-0.000000004, 8, "0.00000000"},  // rounds to zero from below: no sign
        {-0.0, 4, "0.0000"},
        {59.99999999, 4, "60.0000"},  // no carry into the minutes
        {inf, 8, "+INF"},
        {-inf, 4, "-INF"},
        {nan, 8, "+NAN"},
        {-nan, 4, "-NAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(format_fixed(c.value, c.decimals), c.text);
    }
    EXPECT_EQ(format_integer(-2147483647 - 1), "-2147483648");
}

TEST(Report, FormatFixedTableInEveryLocale) {
    expect_format_table();
    const std::locale saved =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    expect_format_table();
    std::ostringstream report;
    print_report(transform_point(WORKED_EXAMPLES[0].in), report);
    EXPECT_EQ(report.str(), REPORT_1100000_700000_300);
    std::locale::global(saved);
}

TEST(Report, WorkedExamplesByteForByte) {
    ASSERT_EQ(expected_report(WORKED_EXAMPLES[0]), REPORT_1100000_700000_300);
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        SCOPED_TRACE(ex.ro);
        std::ostringstream out;
        print_report(transform_point(ex.in), out);
        EXPECT_EQ(out.str(), expected_report(ex));
    }
}

}  // namespace
}  // namespace geochain
