// The decimal digits of a whole number below 10^16, sixteen at a time,
// without a division a digit. Two ways: SSE2 on x86-64, and 64-bit words
// on every machine. The formatter takes the first where the compiler
// offers SSE2 (unless GEOCHAIN_PORTABLE_DIGITS is defined); the tests check
// both on every value of a group of eight digits.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace geochain {

inline constexpr std::uint64_t E8 = 100000000;
inline constexpr std::uint64_t E16 = E8 * E8;

// Eight decimal digits of v < 10^8, zeros first, as the bytes 0 to 9 of
// one 64-bit word, the first digit in its lowest byte: the first in memory
// on the little-endian machines we build for. Each step halves the digits a
// lane holds, two lanes of four, then four of two, then eight of one, with
// one multiplication for every lane at once: x / 100 is x * 10486 >> 20 for
// x < 10^4, and x / 10 is x * 103 >> 10 for x < 100, and no lane's product
// reaches the next lane.
inline std::uint64_t eight_digits(std::uint32_t v) {
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
inline int significant_digits(std::uint64_t digits) {
    return 8 - __builtin_ctzll(digits | (std::uint64_t{1} << 56)) / 8;
}

// The sixteen digits of v < 10^16, zeros first, as text at `at`, and
// sixteen zero bytes after them; returns how many follow the leading zeros
// (1 for 0). Two words of eight digits.
[[gnu::always_inline]] inline int write_sixteen_digits_by_words(char* at, std::uint64_t v) {
    constexpr std::uint64_t ZERO_DIGITS = 0x3030303030303030;  // '0' in every byte
    const std::uint64_t high = v / E8;
    const std::uint64_t words[4] = {
        eight_digits(static_cast<std::uint32_t>(high)) + ZERO_DIGITS,
        eight_digits(static_cast<std::uint32_t>(v - high * E8)) + ZERO_DIGITS, 0, 0};
    std::memcpy(at, words, sizeof words);
    return words[0] != ZERO_DIGITS ? 8 + significant_digits(words[0] - ZERO_DIGITS)
                                   : significant_digits(words[1] - ZERO_DIGITS);
}

#if defined(__SSE2__)

// The sixteen decimal digits of high * 10^8 + low, both below 10^8, as the
// bytes 0 to 9, the first digit lowest, by W. Mula's SSE2 conversion: the
// two halves of four digits of each part in one register, each copied into
// four 16-bit lanes, divided there by 1000, 100, 10 and 1 at once (a
// multiplication by the reciprocal and a shift), and each lane less ten
// times the lane before it leaves one digit.
inline __m128i sixteen_digits(std::uint32_t high, std::uint32_t low) {
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

// As write_sixteen_digits_by_words, in SSE2; the leading zeros counted
// from a byte mask.
[[gnu::always_inline]] inline int write_sixteen_digits_sse2(char* at, std::uint64_t v) {
    const std::uint64_t high = v / E8;
    const __m128i digits =
        sixteen_digits(static_cast<std::uint32_t>(high), static_cast<std::uint32_t>(v - high * E8));
    const int zeros = _mm_movemask_epi8(_mm_cmpeq_epi8(digits, _mm_setzero_si128()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_add_epi8(digits, _mm_set1_epi8('0')));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 16), _mm_setzero_si128());
    return 16 - __builtin_ctz(~zeros | 0x8000);
}

#endif

[[gnu::always_inline]] inline int write_sixteen_digits(char* at, std::uint64_t v) {
#if defined(__SSE2__) && !defined(GEOCHAIN_PORTABLE_DIGITS)
    return write_sixteen_digits_sse2(at, v);
#else
    return write_sixteen_digits_by_words(at, v);
#endif
}

}  // namespace geochain
