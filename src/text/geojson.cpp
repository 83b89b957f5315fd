#include "text/geojson.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "text/quantities.h"

namespace geochain {

namespace {

constexpr std::string_view REPLACEMENT_CHARACTER = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// The length of the well-formed UTF-8 sequence at `at`, 0 for none
// (Unicode's table 3-7: no overlong form, no surrogate, nothing above
// U+10FFFF).
std::size_t utf8_sequence(std::string_view bytes, std::size_t at) {
    const auto byte = [&bytes](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
    };
    const unsigned b0 = byte(at);
    const auto continuation = [&byte](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
        return byte(i) >= low && byte(i) <= high;
    };
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        return continuation(at + 1) ? 2 : 0;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        const unsigned low = b0 == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = b0 == 0xED ? 0x9F : 0xBF;
        return continuation(at + 1, low, high) && continuation(at + 2) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        const unsigned low = b0 == 0xF0 ? 0x90 : 0x80;
        const unsigned high = b0 == 0xF4 ? 0x8F : 0xBF;
        return continuation(at + 1, low, high) && continuation(at + 2) && continuation(at + 3) ? 4
                                                                                               : 0;
    }
    return 0;
}

// A number with its decimals, or null where it is none (JSON has no
// infinity nor not-a-number).
void append_number(std::string& text, double value, int decimals) {
    char digits[fixed_room(MOST_FIXED_DECIMALS)];
    const char* const end = format_fixed(digits, value, decimals);
    const std::string_view written(digits, static_cast<std::size_t>(end - digits));
    text.append(written.find_first_of("NI") == std::string_view::npos ? written : "null");
}

// "name": before a property's value, after a comma but for the first.
void append_key(std::string& text, std::string_view name, bool& first) {
    text.append(first ? "\"" : ",\"").append(name).append("\":");
    first = false;
}

// "name":value of a quantity, as a row rounds it.
void append_quantity(std::string& text, const PointResult& r, Quantity q, bool height,
                     bool& first) {
    const QuantityRule& shown = rule(q);
    append_key(text, shown.header, first);
    if (shown.from_height && !height) {
        text.append("null");
    } else {
        append_number(text, shown.value(r), shown.decimals);
    }
}

}  // namespace

void append_json_string(std::string& text, std::string_view bytes) {
    static constexpr char HEX[] = "0123456789abcdef";
    text += '"';
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            const std::size_t n = utf8_sequence(bytes, i);
            text.append(n > 0 ? bytes.substr(i, n) : REPLACEMENT_CHARACTER);
            i += std::max<std::size_t>(n, 1);
            continue;
        }
        if (byte == '"' || byte == '\\') {
            text.append(1, '\\').append(1, static_cast<char>(byte));
        } else if (byte < 0x20 || byte == 0x7F) {
            text.append("\\u00").append(1, HEX[byte >> 4]).append(1, HEX[byte & 0xF]);
        } else {
            text += static_cast<char>(byte);
        }
        ++i;
    }
    text += '"';
}

void append_feature(std::string& text, const Layout& layout, const RowWords& words,
                    const PointResult& r, bool first) {
    const bool height = !words.h.empty();
    text.append(first ? "\n" : ",\n").append(R"({"type":"Feature","geometry":)");
    if (height) {
        const Etrs89Coords& e = r.etrs89;
        text.append(R"({"type":"Point","coordinates":[)");
        append_number(text, e.geographic.lambda, GEOJSON_DEGREE_DECIMALS);
        text += ',';
        append_number(text, e.geographic.fi, GEOJSON_DEGREE_DECIMALS);
        text += ',';
        append_number(text, e.h, GEOJSON_HEIGHT_DECIMALS);
        text.append("]}");
    } else {
        text.append("null");
    }
    text.append(",\"properties\":{");
    bool first_property = true;
    if (std::find(layout.columns.begin(), layout.columns.end(), Column::name) !=
        layout.columns.end()) {
        append_key(text, column_word(Column::name), first_property);
        append_json_string(text, words.name);
    }
    const Quantity s_jtsk[] = {Quantity::Y_s_jtsk, Quantity::X_s_jtsk, Quantity::H};
    for (const Quantity q : s_jtsk) {
        append_quantity(text, r, q, height, first_property);
    }
    // The ETRS89 values of a row: back from ETRS89, the point as given first.
    if (layout.chain.from_etrs89) {
        for (const Quantity q : {Quantity::fi_etrs, Quantity::lambda_etrs, Quantity::h_etrs}) {
            append_quantity(text, r, q, height, first_property);
        }
        for (const Quantity q : ETRS89_BACK_ROW) {
            if (std::find(std::begin(s_jtsk), std::end(s_jtsk), q) == std::end(s_jtsk)) {
                append_quantity(text, r, q, height, first_property);
            }
        }
    } else {
        for (std::size_t i = BESSEL_QUANTITY_COUNT; i < ETRS89_QUANTITY_COUNT; ++i) {
            append_quantity(text, r, QUANTITIES[i].quantity, height, first_property);
        }
    }
    if (layout.rest) {
        append_key(text, REST_HEADER, first_property);
        std::string rest(words.rest);
        for (std::size_t i = 0; i < words.rest_field_count; ++i) {
            rest.append(i == 0 ? "" : ";").append(words.rest_fields[i]);
        }
        append_json_string(text, rest);
    }
    text.append("}}");
}

}  // namespace geochain
