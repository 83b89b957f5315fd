#include "text/format_fixed.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string_view>

#include "text/decimal_digits.h"

namespace geochain {

namespace {

// 128-bit integers, a GCC and Clang extension on every platform we build
// for (x86-64 Linux and Windows, arm64): exact products of a 53-bit
// significand and a power of ten.
__extension__ using Wide = unsigned __int128;

// The most decimals rounded in integers: 10^9 times a 53-bit significand
// still fits 128 bits.
constexpr int MOST_DECIMALS_IN_INTEGERS = 9;

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

// m * 10^decimals / 2^shift, the product given, for 0 < shift < 64,
// rounded half to even: the quotient and the remainder from the product's
// two 64-bit halves. False when the quotient reaches 2^63, so that rounding
// never carries past 64 bits.
[[gnu::always_inline]] inline bool round_from_halves(Wide product, int shift,
                                                     std::uint64_t& scaled) {
    const auto high = static_cast<std::uint64_t>(product >> 64);
    const auto low = static_cast<std::uint64_t>(product);
    if ((high >> (shift - 1)) != 0) {
        return false;
    }
    const std::uint64_t quotient = (high << (64 - shift)) | (low >> shift);
    // The remainder as a fraction of the divisor, in 64 bits: above 2^63 is
    // more than half. At exactly half, the odd quotient's last bit puts it
    // above, so that it rounds to even.
    const std::uint64_t remainder = low << (64 - shift);
    const bool up = (remainder | (quotient & 1)) > (std::uint64_t{1} << 63);
    scaled = quotient + (up ? 1 : 0);
    return true;
}

// A finite double as m / 2^shift, straight from its IEEE bits: m * 2^-1074
// below the normal range. shift <= 0 from 2^53 up, and for infinities and
// not-a-number.
struct BinaryValue {
    std::uint64_t m;
    int shift;
};

[[gnu::always_inline]] inline BinaryValue binary_value(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    return biased == 0 ? BinaryValue{fraction, 1074}
                       : BinaryValue{fraction | (std::uint64_t{1} << 52), 1075 - biased};
}

// The same as round_from_halves for shift >= 64: |value| below 2^-11, zero
// and subnormals.
std::uint64_t round_small(BinaryValue v, int decimals) {
    if (v.shift > 100) {  // below 2^-47: the product is under half a unit
        return 0;
    }
    const Wide product = static_cast<Wide>(v.m) * POWERS_OF_TEN_64[decimals];
    const Wide quotient = product >> v.shift;
    const Wide remainder = product - (quotient << v.shift);
    const Wide half = static_cast<Wide>(1) << (v.shift - 1);
    // No tie here to round to even: m * 10^decimals has at most 2^61 as a
    // factor (2^52 of m, 2^9 of 10^9), and half is 2^63 or more.
    return static_cast<std::uint64_t>(quotient) + static_cast<std::uint64_t>(remainder > half);
}

// A scaled value of 10^16 or more: from 10^8 at 8 decimals, far beyond
// every value of the territory.
[[gnu::noinline]] char* write_wide_scaled(char* at, std::uint64_t scaled, int decimals) {
    char digits[24];
    const auto count = std::to_chars(digits, digits + sizeof digits, scaled).ptr - digits;
    const auto whole = static_cast<std::size_t>(count - decimals);
    std::memcpy(at, digits, whole);
    if (decimals == 0) {
        return at + whole;
    }
    at[whole] = '.';
    std::memcpy(at + whole + 1, digits + whole, static_cast<std::size_t>(decimals));
    return at + whole + 1 + decimals;
}

// The value's digits as printf's fixed conversion writes them, the point
// put `decimals` (at most 9) from the end: the sixteen digits of the
// integer, then those from its first (or the one before the point). Copies
// are of a fixed length, into the caller's room: no loop, no call.
[[gnu::always_inline]] inline char* write_scaled(char* at, std::uint64_t scaled, int decimals) {
    if (scaled >= E16) {
        return write_wide_scaled(at, scaled, decimals);
    }
    char digits[32];
    const int count = write_sixteen_digits(digits, scaled);
    const int shown = std::max(count, decimals + 1);
    const int whole = shown - decimals;
    std::memcpy(at, digits + 16 - shown, 16);
    if (decimals == 0) {
        return at + whole;
    }
    at[whole] = '.';
    std::memcpy(at + whole + 1, digits + 16 - decimals, 16);
    return at + whole + 1 + decimals;
}

// The value rounded to `scaled`, its digits at `at`. "-0.00000000"
// carries no meaning for a surveyor: no sign when every digit is zero.
[[gnu::always_inline]] inline char* write_rounded(char* at, double value, std::uint64_t scaled,
                                                  int decimals) {
    if (std::signbit(value) && scaled != 0) {
        *at++ = '-';
    }
    return write_scaled(at, scaled, decimals);
}

// Every value that the common path of format_fixed leaves: below 2^-11,
// zero included, in 128-bit integers; infinities, not-a-number, the very
// large and more than 9 decimals by to_chars. Kept out of line: inlined,
// its registers would cost the common path a save and a restore on every
// call.
[[gnu::noinline]] char* write_rare_fixed(char* at, double value, int decimals) {
    const BinaryValue v = binary_value(value);
    if (v.shift >= 64 && decimals <= MOST_DECIMALS_IN_INTEGERS) {
        return write_rounded(at, value, round_small(v, decimals), decimals);
    }
    if (std::isinf(value) || std::isnan(value)) {
        const bool negative = std::signbit(value);
        const std::string_view text =
            std::isinf(value) ? (negative ? "-INF" : "+INF") : (negative ? "-NAN" : "+NAN");
        return std::copy(text.begin(), text.end(), at);
    }
    const auto res =
        std::to_chars(at, at + fixed_room(decimals), value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) {  // never, in the room given: but then no digits
        return at;
    }
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

// The value to `decimals` places as one integer, rounded half to even on the
// exact binary value as printf does: |value| = m / 2^shift, so the digits
// are m * 10^decimals / 2^shift. A value from 2^-11 up to 2^53 at up to 9
// decimals takes the first path while that integer stays below 2^63 (at 8
// decimals, every value below 9.2e10; at 4, below 9.2e14); the rest,
// write_rare_fixed.
char* format_fixed(char* at, double value, int decimals) {
    if (static_cast<unsigned>(decimals) > static_cast<unsigned>(MOST_FIXED_DECIMALS)) {
        decimals = decimals < 0 ? 0 : MOST_FIXED_DECIMALS;
    }
    const BinaryValue v = binary_value(value);
    std::uint64_t scaled = 0;
    if (v.shift > 0 && v.shift < 64 && decimals <= MOST_DECIMALS_IN_INTEGERS &&
        round_from_halves(static_cast<Wide>(v.m) * POWERS_OF_TEN_64[decimals], v.shift, scaled)) {
        return write_rounded(at, value, scaled, decimals);
    }
    return write_rare_fixed(at, value, decimals);
}

char* write_integer(char* at, std::int64_t value) {
    return std::to_chars(at, at + INTEGER_ROOM, value).ptr;
}

}  // namespace geochain
