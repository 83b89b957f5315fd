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

// Eight decimal digits of v < 10^8, zeros first, as the bytes 0 to 9 of
// one 64-bit word, the first digit in its lowest byte: the first in memory
// on the little-endian machines we build for. Each step halves the digits a
// lane holds, two lanes of four, then four of two, then eight of one, with
// one multiplication for every lane at once: x / 100 is x * 10486 >> 20 for
// x < 10^4, and x / 10 is x * 103 >> 10 for x < 100, and no lane's product
// reaches the next lane (checked for every v below 10^8).
std::uint64_t eight_digits(std::uint32_t v) {
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "digits are stored lowest byte first");
    const std::uint64_t upper = v / 10000;
    std::uint64_t x = upper | (std::uint64_t{v - upper * 10000} << 32);
    const std::uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007F;
    x = hundreds | ((x - hundreds * 100) << 16);
    const std::uint64_t tens = ((x * 103) >> 10) & 0x000F000F000F000F;
    return tens | ((x - tens * 10) << 8);
}

// The digits, each '0' to '9', of eight_digits.
constexpr std::uint64_t ZERO_DIGITS = 0x3030303030303030;

// How many of the eight digits follow the leading zeros.
int significant_digits(std::uint64_t digits) { return 8 - __builtin_ctzll(digits) / 8; }

// The value's digits as printf's fixed conversion writes them, the point
// put `decimals` from the end: the digits of an unsigned 64-bit integer in
// three groups of eight (the first only when it has any), then those from
// its first (or the one before the point). Copies are of a fixed length,
// into the caller's room: no loop, no call.
[[gnu::always_inline]] inline char* write_scaled(char* at, std::uint64_t scaled, int decimals) {
    constexpr std::uint64_t E8 = 100000000;
    const std::uint64_t above = scaled / E8;
    std::uint64_t top = 0;  // below 1845
    std::uint64_t middle = above;
    if (above >= E8) {
        top = above / E8;
        middle = above - top * E8;
    }
    const std::uint64_t groups[3] = {top == 0 ? 0 : eight_digits(static_cast<std::uint32_t>(top)),
                                     eight_digits(static_cast<std::uint32_t>(middle)),
                                     eight_digits(static_cast<std::uint32_t>(scaled - above * E8))};
    const int count = groups[0] != 0   ? 16 + significant_digits(groups[0])
                      : groups[1] != 0 ? 8 + significant_digits(groups[1])
                                       : std::max(significant_digits(groups[2]), 1);
    char digits[56];
    for (int i = 0; i < 3; ++i) {
        const std::uint64_t text = groups[i] + ZERO_DIGITS;
        std::memcpy(digits + 8 * i, &text, 8);
    }
    const int shown = std::max(count, decimals + 1);
    const int whole = shown - decimals;
    std::memcpy(at, digits + 24 - shown, 24);
    if (decimals == 0) {
        return at + whole;
    }
    at[whole] = '.';
    std::memcpy(at + whole + 1, digits + 24 - decimals, 16);
    return at + whole + 1 + decimals;
}

// Every value that the common path of write_fixed leaves: zero, the very
// small and the very large, infinities, not-a-number, more than 9 decimals.
// Kept out of line: inlined, its registers would cost the common path a
// save and a restore on every call.
[[gnu::noinline]] char* write_any_fixed(char* at, double value, int decimals) {
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

}  // namespace

char* write_fixed(char* at, double value, int decimals) {
    // Every value of a report from 2^-11 to 2^53 at up to 9 decimals: the
    // quotient and the remainder of m * 10^decimals / 2^shift from the
    // product's two 64-bit halves, by shifts of less than 64.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int shift = 1075 - static_cast<int>((bits >> 52) & 0x7FF);
    if (shift > 0 && shift < 64 && decimals <= MOST_DECIMALS) {
        const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
        const Wide product = static_cast<Wide>(m) * POWERS_OF_TEN_64[decimals];
        const auto high = static_cast<std::uint64_t>(product >> 64);
        const auto low = static_cast<std::uint64_t>(product);
        // A quotient below 2^63, which rounding cannot carry past 64 bits.
        if ((high >> (shift - 1)) == 0) {
            const std::uint64_t quotient = (high << (64 - shift)) | (low >> shift);
            const std::uint64_t remainder = low & ((std::uint64_t{1} << shift) - 1);
            const std::uint64_t half = std::uint64_t{1} << (shift - 1);
            const bool up = remainder > half || (remainder == half && (quotient & 1) != 0);
            const std::uint64_t scaled = quotient + (up ? 1 : 0);
            // "-0.00000000" carries no meaning for a surveyor: no sign when
            // every digit is zero.
            if ((bits >> 63) != 0 && scaled != 0) {
                *at++ = '-';
            }
            return write_scaled(at, scaled, decimals);
        }
    }
    return write_any_fixed(at, value, decimals);
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
