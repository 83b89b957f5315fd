#include "text/table_row.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "geodesy/constants.h"
#include "text/format_fixed.h"

namespace geochain {

namespace {

char separator(const TableStyle& style) { return style.decimal_comma ? ';' : '\t'; }

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// A text column as CSV quotes it when it holds the separator or a quote,
// so that a spreadsheet reads it back as one cell.
char* put_text_column(char* at, const TableStyle& style, std::string_view word) {
    if (!style.decimal_comma || word.find_first_of(";\"") == std::string_view::npos) {
        return put(at, word);
    }
    *at++ = '"';
    for (const char ch : word) {
        *at++ = ch;
        if (ch == '"') {
            *at++ = ch;
        }
    }
    *at++ = '"';
    return at;
}

// A column's separator, then a value; the decimal comma in its place for a
// Czech spreadsheet.
char* put_value(char* at, const TableStyle& style, double value, int decimals) {
    *at++ = separator(style);
    char* const end = write_fixed(at, value, decimals);
    if (style.decimal_comma) {
        std::replace(at, end, '.', ',');
    }
    return end;
}

// Room for the twelve values of a row at their longest, each after its
// separator.
constexpr std::size_t VALUES_ROOM = 12 * (1 + FIXED_ROOM);

}  // namespace

void append_table_header(std::string& text, const TableStyle& style) {
    // The plane X, Y and h as read, then the stages; the geocentric X, Y, Z
    // named apart from the plane ones.
    static constexpr const char* VALUES[] = {"X",      "Y",   "h",    "ro",   "epsilon",
                                             "S",      "D",   "U",    "V",    "fi",
                                             "lambda", "N+h", "Xgeo", "Ygeo", "Zgeo"};
    const char sep = separator(style);
    if (style.name) {
        text.append("cislo").append(1, sep);
    }
    for (const char* column : VALUES) {
        text.append(column == VALUES[0] ? 0 : 1, sep).append(column);
    }
    text += style.rest ? std::string(1, sep) + "zbytek\n" : "\n";
}

std::size_t table_row_room(const RowWords& words) {
    // A quoted text column doubles its quotes and gains two.
    return 2 * (words.name.size() + words.rest.size()) + words.x.size() + words.y.size() +
           words.h.size() + VALUES_ROOM + 16;
}

char* write_table_row(char* at, const TableStyle& style, const RowWords& words,
                      const PointResult& r, RecordValues* record) {
    const char sep = separator(style);
    if (style.name) {
        at = put_text_column(at, style, words.name);
        *at++ = sep;
    }
    at = put(at, words.x);
    *at++ = sep;
    at = put(at, words.y);
    *at++ = sep;
    at = put(at, words.h);
    const double shown[] = {r.polar.ro,
                            r.polar.epsilon * DEG_PER_RAD,
                            r.cartographic.S * DEG_PER_RAD,
                            r.cartographic.D * DEG_PER_RAD,
                            r.spherical.U * DEG_PER_RAD,
                            r.spherical.V,
                            r.geographic.fi,
                            r.geographic.lambda,
                            r.geocentric.N + r.plane.h,
                            r.geocentric.X,
                            r.geocentric.Y,
                            r.geocentric.Z};
    static constexpr int DECIMALS[] = {8, 8, 8, 8, 8, 8, 9, 9, 4, 4, 4, 4};
    const char* starts[std::size(DECIMALS) + 1];
    for (std::size_t i = 0; i < std::size(DECIMALS); ++i) {
        starts[i] = at + 1;  // after the separator
        at = put_value(at, style, shown[i], DECIMALS[i]);
    }
    starts[std::size(DECIMALS)] = at + 1;
    // S, D, U and V as written, when their decimal point is the record's.
    if (record != nullptr && !style.decimal_comma) {
        const auto value = [&starts](std::size_t i) {
            return std::string_view(starts[i],
                                    static_cast<std::size_t>(starts[i + 1] - starts[i] - 1));
        };
        *record = {value(2), value(3), value(4), value(5)};
    }
    if (style.rest) {
        *at++ = sep;
        at = put_text_column(at, style, words.rest);
    }
    return at;
}

void append_table_row(std::string& text, const TableStyle& style, const RowWords& words,
                      const PointResult& r) {
    std::vector<char> row(table_row_room(words));
    text.append(row.data(), static_cast<std::size_t>(write_table_row(row.data(), style, words, r) -
                                                     row.data()));
}

}  // namespace geochain
