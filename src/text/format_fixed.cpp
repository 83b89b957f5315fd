#include "text/format_fixed.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>

namespace geochain {

namespace {

// 128-bit integers, a GCC and Clang extension on every platform we build
// for (x86-64 Linux and Windows, arm64): exact products of a 53-bit
// significand and a power of ten.
__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t POWERS_OF_TEN[] = {1,      10,      100,      1000,      10000,
                                           100000, 1000000, 10000000, 100000000, 1000000000};
constexpr int MOST_DECIMALS = 9;

// "00" to "99": two digits a division.
constexpr char DIGIT_PAIRS[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The value to `decimals` places as one integer, rounded half to even on the
// exact binary value as printf does: |value| = m * 2^e, so the digits are
// m * 10^decimals / 2^-e. False when it does not fit 64 bits (|value| above
// about 1.8e11 at 8 decimals), when value is not a plain fraction of a power
// of two that small, or beyond 9 decimals; to_chars then does the work.
bool scaled_exactly(double value, int decimals, std::uint64_t& scaled) {
    // The significand and exponent straight from the IEEE bits: |value| is
    // m * 2^(biased - 1075), or m * 2^-1074 below the normal range.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int shift = biased == 0 ? 1074 : 1075 - biased;  // |value| = m / 2^shift
    if (shift <= 0 || decimals > MOST_DECIMALS) {
        return false;
    }
    const Wide product = static_cast<Wide>(m) * POWERS_OF_TEN[decimals];
    if (shift > 100) {  // below 2^-47: the product is under half a unit
        scaled = 0;
        return true;
    }
    const Wide quotient = product >> shift;
    const Wide remainder = product - (quotient << shift);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    const Wide rounded = quotient + static_cast<Wide>(remainder > half ||
                                                      (remainder == half && (quotient & 1) != 0));
    if (rounded > UINT64_MAX) {
        return false;
    }
    scaled = static_cast<std::uint64_t>(rounded);
    return true;
}

}  // namespace

void append_fixed(std::string& text, double value, int decimals) {
    if (std::isinf(value)) {
        text += value < 0 ? "-INF" : "+INF";
        return;
    }
    if (std::isnan(value)) {
        text += std::signbit(value) ? "-NAN" : "+NAN";
        return;
    }
    std::uint64_t scaled = 0;
    if (value != 0.0 && scaled_exactly(value, decimals, scaled)) {
        // The digits from the last, two at a time, into a buffer appended in
        // one piece: at most 20 digits, zeros before them up to one whole
        // digit, then the integer digits moved left for the point.
        char digits[24];
        char* const end = std::end(digits);
        char* first = end;
        std::uint64_t rest = scaled;
        for (; rest >= 100; rest /= 100) {
            first -= 2;
            std::memcpy(first, &DIGIT_PAIRS[2 * (rest % 100)], 2);
        }
        if (rest >= 10) {
            first -= 2;
            std::memcpy(first, &DIGIT_PAIRS[2 * rest], 2);
        } else {
            *--first = static_cast<char>('0' + rest);
        }
        while (end - first < decimals + 1) {
            *--first = '0';
        }
        if (decimals > 0) {
            char* const point = end - decimals - 1;
            std::memmove(first - 1, first, static_cast<std::size_t>(point + 1 - first));
            *point = '.';
            --first;
        }
        // "-0.00000000" carries no meaning for a surveyor: no sign when
        // every digit is zero.
        if (value < 0 && scaled != 0) {
            *--first = '-';
        }
        text.append(first, static_cast<std::size_t>(std::end(digits) - first));
        return;
    }
    // Room for the 309 integer digits of the largest double, the point, the
    // decimals the tool uses (at most a few dozen) and the sign.
    char buf[384];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    const char* first = buf;
    if (*first == '-') {
        bool all_zero = true;
        for (const char* p = first + 1; p != res.ptr; ++p) {
            all_zero = all_zero && (*p == '0' || *p == '.');
        }
        first += all_zero ? 1 : 0;
    }
    text.append(first, static_cast<const char*>(res.ptr));
}

std::string format_fixed(double value, int decimals) {
    std::string text;
    append_fixed(text, value, decimals);
    return text;
}

void append_integer(std::string& text, std::int64_t value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    text.append(buf, static_cast<std::size_t>(res.ptr - buf));
}

std::string format_integer(std::int32_t value) {
    std::string text;
    append_integer(text, value);
    return text;
}

}  // namespace geochain
