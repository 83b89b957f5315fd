#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
#include <string>

#include "../in_process.h"
#include "../worked_examples.h"
#include "geodesy/transform.h"
#include "text/decimal_digits.h"
#include "text/format_fixed.h"

namespace geochain {
namespace {

using testing_support::fixed_text;

// A numeric punctuation that an embedding program might install globally.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};

// The printed digits of every worked example are checked on the whole
// program; here are the values no territory point produces.
TEST(FormatFixed, AtTheEdges) {
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
        {-0.0, 12, "0.000000000000"},         // beyond 9 decimals: to_chars, still no sign
        {-1e-13, 12, "0.000000000000"},
        {-1.5, 12, "-1.500000000000"},
        {1e23, 4, "99999999999999991611392.0000"},  // past 2^53: to_chars
        // Precisions outside 0 to 40 taken as the nearer bound.
        {2.5, -3, "2"},
        {0.125, 99, "0.1250000000000000000000000000000000000000"},
        {inf, 8, "+INF"},
        {-inf, 4, "-INF"},
        {nan, 8, "+NAN"},
        {-nan, 4, "-NAN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fixed_text(c.value, c.decimals), c.text);
    }
    char text[INTEGER_ROOM];
    EXPECT_EQ(std::string(text, write_integer(text, -2147483647 - 1)), "-2147483648");
}

// Values of either sign from 2^-60 to 2^70 with 1 to 53 significant bits,
// exact ties at the last decimal among them, at every number of decimals
// from 0 to 9: the same text as the standard library's correctly rounded
// to_chars, but no "-" where every digit is zero.
TEST(FormatFixed, AgreesWithToChars) {
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
            ASSERT_EQ(fixed_text(value, decimals), expected) << value;
        }
    }
}

// The digit routines on every group of eight digits, in both halves of
// sixteen: each digit against a counter that carries by hand, and the count
// of digits after the leading zeros. The words' way is what arm64 uses; on
// x86-64 it is checked beside SSE2's. Under an emulator, every 97th group.
TEST(FormatFixed, EveryGroupOfEightDigits) {
#ifdef GEOCHAIN_EMULATED
    constexpr std::uint32_t STEP = 97;
#else
    constexpr std::uint32_t STEP = 1;
#endif
    char digits[9] = "00000000";  // v, first digit first
    const auto count = [](std::uint32_t v) {
        return v < 10 ? 1 : 1 + static_cast<int>(std::log10(v));
    };
    for (std::uint32_t v = 0; v < E8; v += STEP) {
        const std::uint64_t word = eight_digits(v) + 0x3030303030303030;
        if (std::memcmp(&word, digits, 8) != 0) {
            FAIL() << "eight digits of " << v;
        }
        // Sixteen digits and sixteen zero bytes: v as the low eight, and as
        // the high eight.
        char low_text[32];
        char high_text[32];
        const int low = write_sixteen_digits_by_words(low_text, v);
        const int high = write_sixteen_digits_by_words(high_text, v * E8);
        if (low != count(v) || high != (v == 0 ? 1 : 8 + count(v)) ||
            std::memcmp(low_text, "00000000", 8) != 0 ||
            std::memcmp(low_text + 8, digits, 8) != 0 || std::memcmp(high_text, digits, 8) != 0 ||
            std::memcmp(high_text + 8, "00000000", 8) != 0) {
            FAIL() << "sixteen digits by words of " << v;
        }
#if defined(__SSE2__)
        char sse2[32];
        if (write_sixteen_digits_sse2(sse2, v) != low || std::memcmp(sse2, low_text, 16) != 0 ||
            write_sixteen_digits_sse2(sse2, v * E8) != high ||
            std::memcmp(sse2, high_text, 16) != 0) {
            FAIL() << "sixteen digits in SSE2 of " << v;
        }
#endif
        if (STEP == 1) {  // v + 1, a digit carried by hand
            int i = 7;
            for (; i > 0 && digits[i] == '9'; --i) {
                digits[i] = '0';
            }
            ++digits[i];
        } else {
            std::snprintf(digits, sizeof digits, "%08u",
                          static_cast<unsigned>(v + STEP) % 100000000);
        }
    }
}

// A report's digits do not follow the locale.
TEST(FormatFixed, NoLocaleChangesTheDigits) {
    const std::locale saved =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const std::string report = testing_support::report_of(transform_point({1100000, 700000, 300}));
    std::locale::global(saved);
    EXPECT_EQ(report, expected_report(WORKED_EXAMPLES[0]));
}

}  // namespace
}  // namespace geochain
