#include "text/format_fixed.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string_view>

namespace geochain {

namespace {

// 128-bit integers, a GCC and Clang extension on every platform we build
// for (x86-64 Linux and Windows, arm64): exact products of a 53-bit
// significand and a power of ten.
__extension__ using Wide = unsigned __int128;

// The most decimals rounded in integers: 10^9 times a 53-bit significand
// still fits 128 bits.
constexpr int MOST_DECIMALS = 9;

// 10^0 to 10^19: the powers of ten below 2^64.
constexpr std::uint64_t POWERS_OF_TEN_64[] = {1,
                                              10,
                                              100,
                                              1000,
                                              10000,
                                              100000,
                                              1000000,
                                              10000000,
                                              100000000,
                                              1000000000,
                                              10000000000,
                                              100000000000,
                                              1000000000000,
                                              10000000000000,
                                              100000000000000,
                                              1000000000000000,
                                              10000000000000000,
                                              100000000000000000,
                                              1000000000000000000,
                                              10000000000000000000U};

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
    const Wide product = static_cast<Wide>(m) * POWERS_OF_TEN_64[decimals];
    if (shift < 64) {
        // Every value of the territory: the quotient and the remainder from
        // the product's two 64-bit halves, by shifts of less than 64.
        const auto high = static_cast<std::uint64_t>(product >> 64);
        const auto low = static_cast<std::uint64_t>(product);
        if ((high >> shift) != 0) {
            return false;  // the quotient needs more than 64 bits
        }
        const std::uint64_t quotient = (high << (64 - shift)) | (low >> shift);
        const std::uint64_t remainder = low & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        const bool up = remainder > half || (remainder == half && (quotient & 1) != 0);
        if (up && quotient == UINT64_MAX) {
            return false;
        }
        scaled = quotient + (up ? 1 : 0);
        return true;
    }
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

// Eight digits of v < 10^8, zeros first, with 32-bit arithmetic only.
// The two digits of n < 100.
inline const char* pair(std::uint32_t n) { return &DIGIT_PAIRS[std::size_t{2} * n]; }

inline void write_eight_digits(char* at, std::uint32_t v) {
    const std::uint32_t high = v / 10000;
    const std::uint32_t low = v % 10000;
    std::memcpy(at, pair(high / 100), 2);
    std::memcpy(at + 2, pair(high % 100), 2);
    std::memcpy(at + 4, pair(low / 100), 2);
    std::memcpy(at + 6, pair(low % 100), 2);
}

// How many digits v has, 1 for 0: from its bit length (log10(2) is about
// 1233 / 4096), put right by one comparison.
int digit_count(std::uint64_t v) {
    const int bits = 64 - __builtin_clzll(v | 1);
    const int estimate = (bits * 1233) >> 12;
    return estimate + 1 - static_cast<int>(v < POWERS_OF_TEN_64[estimate]);
}

// The value's digits as printf's fixed conversion writes them, the point
// put `decimals` from the end: the digits of an unsigned 64-bit integer in
// groups of eight (only those it needs), then those from its first (or the
// one before the point). Copies are of a fixed length, into the caller's
// room: no loop, no call.
char* write_scaled(char* at, std::uint64_t scaled, int decimals) {
    constexpr std::uint64_t E8 = 100000000;
    char digits[48];
    const std::uint64_t above = scaled / E8;
    write_eight_digits(digits + 12, static_cast<std::uint32_t>(scaled - above * E8));
    std::memset(digits, '0', 12);
    if (above >= E8) {
        const std::uint64_t top = above / E8;  // below 1845
        write_eight_digits(digits + 4, static_cast<std::uint32_t>(above - top * E8));
        std::memcpy(digits, pair(static_cast<std::uint32_t>(top / 100)), 2);
        std::memcpy(digits + 2, pair(static_cast<std::uint32_t>(top % 100)), 2);
    } else if (above != 0) {
        write_eight_digits(digits + 4, static_cast<std::uint32_t>(above));
    }
    const int shown = std::max(digit_count(scaled), decimals + 1);
    const int whole = shown - decimals;
    std::memcpy(at, digits + 20 - shown, 20);
    if (decimals == 0) {
        return at + whole;
    }
    at[whole] = '.';
    std::memcpy(at + whole + 1, digits + 20 - decimals, 16);
    return at + whole + 1 + decimals;
}

}  // namespace

char* write_fixed(char* at, double value, int decimals) {
    if (std::isinf(value) || std::isnan(value)) {
        const bool negative = std::signbit(value);
        const std::string_view text =
            std::isinf(value) ? (negative ? "-INF" : "+INF") : (negative ? "-NAN" : "+NAN");
        return std::copy(text.begin(), text.end(), at);
    }
    std::uint64_t scaled = 0;
    if (value == 0.0 || scaled_exactly(value, decimals, scaled)) {
        // "-0.00000000" carries no meaning for a surveyor: no sign when
        // every digit is zero.
        if (value < 0 && scaled != 0) {
            *at++ = '-';
        }
        return write_scaled(at, scaled, decimals);
    }
    const auto res = std::to_chars(at, at + FIXED_ROOM, value, std::chars_format::fixed, decimals);
    if (*at != '-') {
        return res.ptr;
    }
    bool all_zero = true;
    for (const char* p = at + 1; p != res.ptr; ++p) {
        all_zero = all_zero && (*p == '0' || *p == '.');
    }
    if (all_zero) {
        std::memmove(at, at + 1, static_cast<std::size_t>(res.ptr - at - 1));
        return res.ptr - 1;
    }
    return res.ptr;
}

char* write_integer(char* at, std::int64_t value) { return std::to_chars(at, at + 24, value).ptr; }

void append_fixed(std::string& text, double value, int decimals) {
    char digits[FIXED_ROOM];
    text.append(digits, static_cast<std::size_t>(write_fixed(digits, value, decimals) - digits));
}

std::string format_fixed(double value, int decimals) {
    std::string text;
    append_fixed(text, value, decimals);
    return text;
}

void append_integer(std::string& text, std::int64_t value) {
    char digits[24];
    text.append(digits, static_cast<std::size_t>(write_integer(digits, value) - digits));
}

std::string format_integer(std::int32_t value) {
    std::string text;
    append_integer(text, value);
    return text;
}

}  // namespace geochain
