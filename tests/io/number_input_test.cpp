#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "io/number_input.h"

namespace geochain {
namespace {

// An entry as numbers are typed, sometimes damaged: a sign, runs of zeros
// (up to hundreds) around up to 24 digits, the dot anywhere or nowhere, an
// exponent of up to 25 digits; then perhaps one character of the number's
// alphabet inserted or one character dropped.
std::string generated_entry(std::mt19937_64& random) {
    const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const auto digits = [&](std::size_t n, std::size_t zeros) {
        std::string d(zeros, '0');
        for (; n > 0; --n) {
            d += static_cast<char>('0' + pick(10));
        }
        return d;
    };
    const char* const signs[] = {"", "+", "-"};
    const std::size_t zeros[] = {0, 1, 3, 40, 350, 700};
    std::string mantissa = digits(pick(25), zeros[pick(6)]) + std::string(zeros[pick(6)], '0');
    if (pick(4) != 0) {
        mantissa.insert(pick(mantissa.size() + 1), 1, '.');
    }
    std::string text = signs[pick(3)] + mantissa;
    if (pick(3) != 0) {
        const std::size_t widths[] = {1, 2, 3, 4, 5, 25};
        text += "eE"[pick(2)] + std::string(signs[pick(3)]) + digits(widths[pick(6)], 0);
    }
    const std::size_t at = pick(text.size() + 1);
    if (const std::size_t edit = pick(6); edit == 0) {
        text.insert(at, 1, "0123456789+-.eE"[pick(15)]);
    } else if (edit == 1) {
        text.erase(at, 1);
    }
    return text;
}

// The C library's strtod in the "C" locale, which the tests never leave, is
// the reference (glibc's, and mingw-w64's own on Windows, round correctly): an entry is a number
// exactly when strtod takes all of it, and its value is strtod's to the last bit, overflow and
// underflow included.
TEST(NumberInput, AgreesWithStrtodOnGeneratedEntries) {
    std::mt19937_64 random(20261207);
    int numbers = 0;
    for (int i = 0; i < 40000; ++i) {
        const std::string text = generated_entry(random);
        SCOPED_TRACE(text);
        char* end = nullptr;
        errno = 0;
        const double reference = std::strtod(text.c_str(), &end);
        const bool whole = !text.empty() && end == text.c_str() + text.size();
        const Entry e = parse_number(text);
        ASSERT_EQ(e.kind, whole ? EntryKind::number : EntryKind::invalid);
        if (whole) {
            ASSERT_EQ(e.value, reference);  // to the last bit: no NaN is generated
            ASSERT_EQ(std::signbit(e.value), std::signbit(reference));
            ++numbers;
        }
    }
    EXPECT_GT(numbers, 20000);
}

// Entries far beyond the range of a double, with long runs of zeros: where
// the leading digit lies decides between zero and infinity.
TEST(NumberInput, OutOfRangeEntriesWithLongRunsOfZeros) {
    constexpr double INF = std::numeric_limits<double>::infinity();
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"0." + std::string(700, '0') + "1e300", 0.0},   // 1e-401
        {std::string(700, '0') + "1e-400", 0.0},         // 1e-400
        {"1" + std::string(2400, '0') + "e-2000", INF},  // 1e400
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 12));
        const Entry e = parse_number(c.text);
        ASSERT_EQ(e.kind, EntryKind::number);
        EXPECT_EQ(e.value, c.value);
    }
}

TEST(NumberInput, LongestEntryTakenIs4096Characters) {
    std::istringstream in(std::string(MAX_ENTRY_CHARS + 1, '1') + " 7 " +
                          std::string(MAX_ENTRY_CHARS, '1'));
    InputLines lines{*in.rdbuf()};
    EXPECT_EQ(read_number(lines).kind, EntryKind::invalid);
    EXPECT_EQ(read_number(lines).value, 7.0);
    EXPECT_EQ(read_number(lines).kind, EntryKind::number);
}

}  // namespace
}  // namespace geochain
