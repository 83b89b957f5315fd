#include "text/table_row.h"

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

void append_value(std::string& text, const TableStyle& style, double value, int decimals) {
    text += separator(style);
    const std::size_t at = text.size();
    append_fixed(text, value, decimals);
    if (style.decimal_comma) {
        const std::size_t point = text.find('.', at);
        if (point != std::string::npos) {
            text[point] = ',';
        }
    }
}

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
                      const PointResult& r) {
    const char sep = separator(style);
    if (style.name) {
        append_text(text, style, words.name);
        text += sep;
    }
    text.append(words.x).append(1, sep).append(words.y).append(1, sep).append(words.h);
    append_value(text, style, r.polar.ro, 8);
    append_value(text, style, r.polar.epsilon * DEG_PER_RAD, 8);
    append_value(text, style, r.cartographic.S * DEG_PER_RAD, 8);
    append_value(text, style, r.cartographic.D * DEG_PER_RAD, 8);
    append_value(text, style, r.spherical.U * DEG_PER_RAD, 8);
    append_value(text, style, r.spherical.V, 8);
    append_value(text, style, r.geographic.fi, 9);
    append_value(text, style, r.geographic.lambda, 9);
    append_value(text, style, r.geocentric.N + r.plane.h, 4);
    append_value(text, style, r.geocentric.X, 4);
    append_value(text, style, r.geocentric.Y, 4);
    append_value(text, style, r.geocentric.Z, 4);
    if (style.rest) {
        text += sep;
        append_text(text, style, words.rest);
    }
}

}  // namespace geochain
