// Fixed-point text of report and log values, the same in every locale.
#pragma once

#include <cstddef>
#include <cstdint>

namespace geochain {

// The most decimals a value is written with; a request outside 0 to this
// many is taken as the nearer of the two.
inline constexpr int MOST_FIXED_DECIMALS = 40;

// Room that format_fixed needs at the given decimals: the sign, the 309
// integer digits of the largest double, the point and the decimals. The
// digits are copied in pieces of fixed length, which never reach past it.
constexpr std::size_t fixed_room(int decimals) {
    return 1 + 309 + 1 + static_cast<std::size_t>(decimals < 0 ? 0 : decimals);
}

// Room for a whole number of 64 bits and its sign.
inline constexpr std::size_t INTEGER_ROOM = 24;

// Writes exactly `decimals` digits after a "." (printf's "%.*f" for finite
// values) at `at`, which has fixed_room(decimals) bytes, and returns the
// end; no grouping, no exponent. Infinities are "+INF"/"-INF" and
// not-a-number "+NAN"/"-NAN" by its sign bit. A value that rounds to zero
// from below is written without a minus sign. Values from 2^-11 to 2^53 at
// up to 9 decimals (every value of the territory) are rounded from the
// exact binary value in 64- and 128-bit integers; the others go through
// the standard library's to_chars.
char* format_fixed(char* at, double value, int decimals);

// A whole number in plain decimal digits, "-" for negative values, at `at`,
// which has INTEGER_ROOM bytes; returns the end.
char* write_integer(char* at, std::int64_t value);

}  // namespace geochain
