#include "dialogue/format_fixed.h"

#include <charconv>
#include <cmath>

namespace geochain {

std::string format_fixed(double value, int decimals) {
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "+INF";
    }
    if (std::isnan(value)) {
        return std::signbit(value) ? "-NAN" : "+NAN";
    }
    // Room for the 309 integer digits of the largest double, the point, the
    // decimals the tool uses (at most a few dozen) and the sign.
    char buf[384];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    const char* first = buf;
    // "-0.00000000" carries no meaning for a surveyor: drop the sign when
    // every digit is zero.
    if (*first == '-') {
        bool all_zero = true;
        for (const char* p = first + 1; p != res.ptr; ++p) {
            all_zero = all_zero && (*p == '0' || *p == '.');
        }
        first += all_zero ? 1 : 0;
    }
    return std::string(first, static_cast<const char*>(res.ptr));
}

std::string format_integer(std::int32_t value) {
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

}  // namespace geochain
