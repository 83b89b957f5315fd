#include "text/format_fixed.h"

#include <charconv>
#include <cmath>

namespace geochain {

namespace {

// 128-bit integers, a GCC and Clang extension on every platform we build
// for (x86-64 Linux and Windows, arm64): exact products of a 53-bit
// significand and a power of ten.
__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t POWERS_OF_TEN[] = {1,      10,      100,      1000,      10000,
                                           100000, 1000000, 10000000, 100000000, 1000000000};
constexpr int MOST_DECIMALS = 9;

// The value to `decimals` places as one integer, rounded half to even on the
// exact binary value as printf does: |value| = m * 2^e, so the digits are
// m * 10^decimals / 2^-e. False when it does not fit 64 bits (|value| above
// about 1.8e11 at 8 decimals), when value is not a plain fraction of a power
// of two that small, or beyond 9 decimals; to_chars then does the work.
bool scaled_exactly(double value, int decimals, std::uint64_t& scaled) {
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1)
    const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;  // |value| = m / 2^shift
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
        // "-0.00000000" carries no meaning for a surveyor: no sign when
        // every digit is zero.
        if (value < 0 && scaled != 0) {
            text += '-';
        }
        append_integer(text, static_cast<std::int64_t>(scaled / POWERS_OF_TEN[decimals]));
        if (decimals > 0) {
            char digits[MOST_DECIMALS];
            std::uint64_t rest = scaled % POWERS_OF_TEN[decimals];
            for (int i = decimals - 1; i >= 0; --i, rest /= 10) {
                digits[i] = static_cast<char>('0' + rest % 10);
            }
            text += '.';
            text.append(digits, static_cast<std::size_t>(decimals));
        }
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
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    text.append(buf, res.ptr);
}

std::string format_integer(std::int32_t value) {
    std::string text;
    append_integer(text, value);
    return text;
}

}  // namespace geochain
