#include "io/number_input.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace geochain {

namespace {

using Traits = std::streambuf::traits_type;

// The six characters that formatted input skips.
bool is_blank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// 10^0 to 10^18, as many decimals as a plain number may have: each exactly
// a double (up to 10^22 all are).
constexpr double EXACT_POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                          1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

// Skips white space; returns the next character without taking it.
int skip_blanks(InputLines& in) {
    int c = in.buf.sgetc();
    while (c != Traits::eof() && is_blank(c)) {
        take_char(in, c);
        c = in.buf.sgetc();
    }
    return c;
}

// Takes the run of non-blank characters that begins with c, keeping at most
// room of them in kept; returns its whole length.
std::size_t take_word(InputLines& in, int c, char* kept, std::size_t room) {
    std::size_t len = 0;
    for (; c != Traits::eof() && !is_blank(c); c = in.buf.snextc(), ++len) {
        if (len < room) {
            kept[len] = Traits::to_char_type(c);
        }
    }
    return len;
}

// Position of the leading digit of a decimal number relative to the decimal
// point: the number lies in [10^k, 10^(k+1)). Only its sign matters here, so
// the exponent saturates instead of overflowing.
long decimal_order(std::string_view mantissa, long exponent) {
    const std::size_t point = mantissa.find('.');
    const std::size_t int_len = point == std::string_view::npos ? mantissa.size() : point;
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] != '0' && mantissa[i] != '.') {
            const long pos =
                i < int_len ? static_cast<long>(int_len - i) - 1 : -static_cast<long>(i - int_len);
            return pos + exponent;
        }
    }
    return 0;
}

}  // namespace

const char* scan_plain_decimal(const char* p, const char* end, double& value) {
    const bool minus = p != end && *p == '-';
    p += p != end && (*p == '-' || *p == '+') ? 1 : 0;
    const auto digit = [](char c) { return static_cast<std::uint64_t>(c) - '0'; };
    std::uint64_t whole = 0;
    const char* const first = p;
    for (; p != end && digit(*p) < 10; ++p) {
        whole = whole * 10 + digit(*p);
    }
    std::ptrdiff_t digits = p - first;
    std::ptrdiff_t decimals = 0;
    if (p != end && *p == '.') {
        const char* const point = p++;
        for (; p != end && digit(*p) < 10; ++p) {
            whole = whole * 10 + digit(*p);
        }
        decimals = p - point - 1;
        digits += decimals;
    }
    // At most 18 digits, so no wrap, and at most 18 decimals.
    if (digits == 0 || digits > 18 || whole > (std::uint64_t{1} << 53)) {
        value = std::numeric_limits<double>::quiet_NaN();
        return p;
    }
    // Clinger's fast path: an integer of at most 53 bits and a power of ten
    // of at most 18, both exact in a double, give the correctly rounded
    // value in one division.
    value = static_cast<double>(whole) / EXACT_POWERS_OF_TEN[decimals];
    value = minus ? -value : value;
    return p;
}

void take_char(InputLines& in, int c) {
    in.line += static_cast<long>(c == '\r' || (c == '\n' && !in.after_cr));
    in.after_cr = c == '\r';
    in.buf.sbumpc();
}

Entry parse_number(std::string_view text) {
    double plain = 0.0;
    const char* const end = text.data() + text.size();
    if (scan_plain_decimal(text.data(), end, plain) == end && !std::isnan(plain)) {
        return {EntryKind::number, plain};
    }
    const auto invalid = [] { return Entry{EntryKind::invalid, 0.0}; };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissa_begin = i;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return invalid();
    }
    const std::string_view mantissa = text.substr(mantissa_begin, i - mantissa_begin);
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool exp_negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            exp_negative = text[i] == '-';
            ++i;
        }
        if (i == text.size() || !is_digit(text[i])) {
            return invalid();
        }
        for (; i < text.size() && is_digit(text[i]); ++i) {
            if (exponent < 1000000) {
                exponent = exponent * 10 + (text[i] - '0');
            }
        }
        exponent = exp_negative ? -exponent : exponent;
    }
    if (i != text.size()) {
        return invalid();
    }

    // from_chars rounds correctly, subnormals included, and ignores every
    // locale; it takes no '+', and leaves the value alone when out of range.
    double value = 0.0;
    const char* first = text.data() + mantissa_begin;
    const auto res = std::from_chars(first, text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        value =
            decimal_order(mantissa, exponent) >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
        return invalid();
    }
    return {EntryKind::number, negative ? -value : value};
}

Entry read_number(InputLines& in) {
    int c = skip_blanks(in);
    if (c == Traits::eof() || c == DOS_END_OF_FILE) {
        return {EntryKind::end_of_input, 0.0};
    }
    // Characters past the limit are consumed but not kept, so a line of any
    // length costs no memory.
    char text[MAX_ENTRY_CHARS];
    const std::size_t len = take_word(in, c, text, MAX_ENTRY_CHARS);
    // An entry that a read error cut off (a hang-up) is no entry typed.
    if (cut_by_read_error(in)) {
        return {EntryKind::end_of_input, 0.0};
    }
    return len > MAX_ENTRY_CHARS ? Entry{EntryKind::invalid, 0.0}
                                 : parse_number(std::string_view(text, len));
}

bool read_answer(InputLines& in, char& answer) {
    const int c = skip_blanks(in);
    if (c == Traits::eof() || c == DOS_END_OF_FILE) {
        return false;
    }
    answer = Traits::to_char_type(c);
    take_char(in, c);
    return true;
}

bool cut_by_read_error(InputLines& in) {
    return in.buf.sgetc() == Traits::eof() && in.buf.pubsync() == -1;
}

void discard_line(InputLines& in) {
    for (int c = in.buf.sgetc(); c != Traits::eof(); c = in.buf.sgetc()) {
        take_char(in, c);
        if (is_line_end(c)) {
            return;
        }
    }
}

}  // namespace geochain
