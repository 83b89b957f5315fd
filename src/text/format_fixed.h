// Fixed-point text of report and log values, the same in every locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace geochain {

// Room that write_fixed needs: the 309 integer digits of the largest
// double, the point, up to 40 decimals and the sign.
inline constexpr std::size_t FIXED_ROOM = 384;

// Writes exactly `decimals` digits after a "." (printf's "%.*f" for finite
// values) at `at`, which has FIXED_ROOM bytes, and returns the end; no
// grouping, no exponent. Infinities are "+INF"/"-INF" and not-a-number
// "+NAN"/"-NAN" by its sign bit. A value that rounds to zero from below is
// written without a minus sign. Values of the territory to 9 decimals are
// rounded from the exact binary value in 64- and 128-bit integers; only the
// rare others go through to_chars.
char* write_fixed(char* at, double value, int decimals);

// A whole number in plain decimal digits, "-" for negative values, at `at`,
// which has 24 bytes; returns the end.
char* write_integer(char* at, std::int64_t value);

// The same as strings.
std::string format_fixed(double value, int decimals);
std::string format_integer(std::int32_t value);

}  // namespace geochain
