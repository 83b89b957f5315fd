#include "text/format_fixed.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

constexpr std::uint64_t E8 = 100000000;
constexpr std::uint64_t E16 = E8 * E8;

#if defined(__SSE2__)

// The sixteen decimal digits of high * 10^8 + low, both below 10^8, as the
// bytes 0 to 9, the first digit lowest, by W. Mula's SSE2 conversion: the
// two halves of four digits of each part in one register, each copied into
// four 16-bit lanes, divided there by 1000, 100, 10 and 1 at once (a
// multiplication by the reciprocal and a shift), and each lane less ten
// times the lane before it leaves one digit (checked for every part below
// 10^8).
__m128i sixteen_digits(std::uint32_t high, std::uint32_t low) {
    const __m128i parts = _mm_set_epi64x(low, high);
    const __m128i upper =
        _mm_srli_epi64(_mm_mul_epu32(parts, _mm_set1_epi32(static_cast<int>(0xD1B71759))), 45);
    const __m128i lower = _mm_sub_epi32(parts, _mm_mul_epu32(upper, _mm_set1_epi32(10000)));
    // Four digits a 16-bit lane, each times 4 (below 2^16): U L u l U L u l.
    const __m128i fours = _mm_or_si128(upper, _mm_slli_epi64(lower, 32));
    const __m128i packed = _mm_slli_epi16(_mm_packs_epi32(fours, fours), 2);
    const __m128i doubled = _mm_unpacklo_epi16(packed, packed);
    const __m128i reciprocals =
        _mm_setr_epi16(8389, 5243, 13108, -32768, 8389, 5243, 13108, -32768);
    const __m128i shifts =
        _mm_setr_epi16(1 << 7, 1 << 11, 1 << 13, -32768, 1 << 7, 1 << 11, 1 << 13, -32768);
    const __m128i ten = _mm_set1_epi16(10);
    __m128i first = _mm_unpacklo_epi32(doubled, doubled);   // U U U U L L L L
    __m128i second = _mm_unpackhi_epi32(doubled, doubled);  // u u u u l l l l
    first = _mm_mulhi_epu16(_mm_mulhi_epu16(first, reciprocals), shifts);
    second = _mm_mulhi_epu16(_mm_mulhi_epu16(second, reciprocals), shifts);
    first = _mm_sub_epi16(first, _mm_slli_epi64(_mm_mullo_epi16(first, ten), 16));
    second = _mm_sub_epi16(second, _mm_slli_epi64(_mm_mullo_epi16(second, ten), 16));
    return _mm_packus_epi16(first, second);
}

// The sixteen digits of v < 10^16, zeros first, as text at `at`, and
// sixteen zero bytes after them; returns how many follow the leading zeros
// (1 for 0).
[[gnu::always_inline]] inline int write_sixteen_digits(char* at, std::uint64_t v) {
    const std::uint64_t high = v / E8;
    const __m128i digits =
        sixteen_digits(static_cast<std::uint32_t>(high), static_cast<std::uint32_t>(v - high * E8));
    const int zeros = _mm_movemask_epi8(_mm_cmpeq_epi8(digits, _mm_setzero_si128()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_add_epi8(digits, _mm_set1_epi8('0')));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 16), _mm_setzero_si128());
    return 16 - __builtin_ctz(~zeros | 0x8000);
}

#else

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

// How many of the eight digits follow the leading zeros; the last is
// always counted.
int significant_digits(std::uint64_t digits) {
    return 8 - __builtin_ctzll(digits | (std::uint64_t{1} << 56)) / 8;
}

// As above, where there is no SSE2: two words of eight digits.
[[gnu::always_inline]] inline int write_sixteen_digits(char* at, std::uint64_t v) {
    constexpr std::uint64_t ZERO_DIGITS = 0x3030303030303030;  // '0' in every byte
    const std::uint64_t high = v / E8;
    const std::uint64_t words[4] = {
        eight_digits(static_cast<std::uint32_t>(high)) + ZERO_DIGITS,
        eight_digits(static_cast<std::uint32_t>(v - high * E8)) + ZERO_DIGITS, 0, 0};
    std::memcpy(at, words, sizeof words);
    return words[0] != ZERO_DIGITS ? 8 + significant_digits(words[0] - ZERO_DIGITS)
                                   : significant_digits(words[1] - ZERO_DIGITS);
}

#endif

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

// Every value that the common path of write_fixed leaves: below 2^-11,
// zero included, in 128-bit integers; infinities, not-a-number, the very
// large and more than 9 decimals by to_chars. Kept out of line: inlined,
// its registers would cost the common path a save and a restore on every
// call.
[[gnu::noinline]] char* write_rare_fixed(char* at, double value, int decimals) {
    const BinaryValue v = binary_value(value);
    if (v.shift >= 64 && decimals <= MOST_DECIMALS) {
        return write_rounded(at, value, round_small(v, decimals), decimals);
    }
    if (std::isinf(value) || std::isnan(value)) {
        const bool negative = std::signbit(value);
        const std::string_view text =
            std::isinf(value) ? (negative ? "-INF" : "+INF") : (negative ? "-NAN" : "+NAN");
        return std::copy(text.begin(), text.end(), at);
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

// The value to `decimals` places as one integer, rounded half to even on the
// exact binary value as printf does: |value| = m / 2^shift, so the digits
// are m * 10^decimals / 2^shift. Every value of a report from 2^-11 to 2^53
// at up to 9 decimals takes the first path; the rest, write_rare_fixed.
char* write_fixed(char* at, double value, int decimals) {
    const BinaryValue v = binary_value(value);
    std::uint64_t scaled = 0;
    if (v.shift > 0 && v.shift < 64 && decimals <= MOST_DECIMALS &&
        round_from_halves(static_cast<Wide>(v.m) * POWERS_OF_TEN_64[decimals], v.shift, scaled)) {
        return write_rounded(at, value, scaled, decimals);
    }
    return write_rare_fixed(at, value, decimals);
}

char* write_integer(char* at, std::int64_t value) { return std::to_chars(at, at + 24, value).ptr; }

std::string format_fixed(double value, int decimals) {
    char digits[FIXED_ROOM];
    return std::string(digits, write_fixed(digits, value, decimals));
}

std::string format_integer(std::int32_t value) {
    char digits[24];
    return std::string(digits, write_integer(digits, value));
}

}  // namespace geochain
