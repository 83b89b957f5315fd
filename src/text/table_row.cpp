#include "text/table_row.h"

#include <algorithm>
#include <iterator>

#include "geodesy/constants.h"
#include "text/format_fixed.h"

namespace geochain {

namespace {

char separator(const TableStyle& style) { return style.decimal_comma ? ';' : '\t'; }

// A text column as CSV quotes it when it holds the separator or a quote,
// so that a spreadsheet reads it back as one cell.
void append_text(std::string& text, const TableStyle& style, std::string_view word) {
    if (!style.decimal_comma || word.find_first_of(";\"") == std::string_view::npos) {
        text.append(word);
        return;
    }
    text += '"';
    for (const char ch : word) {
        text.append(ch == '"' ? 2 : 1, ch);
    }
    text += '"';
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

void append_table_row(std::string& text, const TableStyle& style, const RowWords& words,
                      const PointResult& r, RecordValues* record) {
    const char sep = separator(style);
    if (style.name) {
        append_text(text, style, words.name);
        text += sep;
    }
    text.append(words.x).append(1, sep).append(words.y).append(1, sep).append(words.h);
    char values[VALUES_ROOM];
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
    std::size_t starts[std::size(DECIMALS) + 1];
    char* at = values;
    for (std::size_t i = 0; i < std::size(DECIMALS); ++i) {
        starts[i] = static_cast<std::size_t>(at - values) + 1;  // after the separator
        at = put_value(at, style, shown[i], DECIMALS[i]);
    }
    starts[std::size(DECIMALS)] = static_cast<std::size_t>(at - values) + 1;
    const std::size_t base = text.size();
    text.append(values, static_cast<std::size_t>(at - values));
    if (style.rest) {
        text += sep;
        append_text(text, style, words.rest);
    }
    // S, D, U and V as written, when their decimal point is the record's.
    if (record != nullptr && !style.decimal_comma) {
        const auto value = [&](std::size_t i) {
            return std::string_view(text).substr(base + starts[i], starts[i + 1] - starts[i] - 1);
        };
        *record = {value(2), value(3), value(4), value(5)};
    }
}

}  // namespace geochain
