// Fixed-point text of report and log values, the same in every locale.
#pragma once

#include <cstdint>
#include <string>

namespace geochain {

// Exactly `decimals` digits after a "." (printf's "%.*f" for finite values);
// no grouping, no exponent. Infinities are "+INF"/"-INF" and not-a-number
// "+NAN"/"-NAN" by its sign bit. A value that rounds to zero from below is
// written without a minus sign.
std::string format_fixed(double value, int decimals);

// The same text, appended: a report is built in one string, with no
// string of its own for each value.
void append_fixed(std::string& text, double value, int decimals);

// A whole number in plain decimal digits, "-" for negative values.
std::string format_integer(std::int32_t value);
void append_integer(std::string& text, std::int64_t value);

}  // namespace geochain
