#include "text/geojson.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>

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

// Fixed text, copied as it stands.
char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// A number with its decimals, or null where it is none (JSON has no
// infinity nor not-a-number).
char* put_number(char* at, double value, int decimals) {
    return std::isfinite(value) ? format_fixed(at, value, decimals) : put(at, "null");
}

// "name": before a property's value, after a comma but for the first.
char* put_key(char* at, std::string_view name, bool& first) {
    if (!first) {
        *at++ = ',';
    }
    first = false;
    *at++ = '"';
    at = put(at, name);
    return put(at, "\":");
}

// "name":value of a quantity, as a row rounds it.
char* put_quantity(char* at, const PointResult& r, Quantity q, bool height, bool& first) {
    const QuantityRule& shown = rule(q);
    at = put_key(at, shown.header, first);
    return shown.from_height && !height ? put(at, "null")
                                        : put_number(at, shown.value(r), shown.decimals);
}

// The quantities a feature shows: S-JTSK Y, X and H, then the ETRS89 values
// of a row, back from ETRS89 the point as given first.
constexpr Quantity S_JTSK_PROPERTIES[] = {Quantity::Y_s_jtsk, Quantity::X_s_jtsk, Quantity::H};
constexpr Quantity GIVEN_ETRS89_PROPERTIES[] = {Quantity::fi_etrs, Quantity::lambda_etrs,
                                                Quantity::h_etrs};

// Room for every property's key and value at their longest.
constexpr std::size_t properties_room() {
    std::size_t room = 0;
    for (const QuantityRule& q : QUANTITIES) {
        room += q.header.size() + 4 + fixed_room(q.decimals);
    }
    return room;
}

constexpr std::size_t FIXED_ROOM = 256 + 3 * fixed_room(GEOJSON_DEGREE_DECIMALS) +
                                   properties_room() + REST_HEADER.size() +
                                   column_word(Column::name).size();

}  // namespace

namespace {

// The bytes of a JSON string, escaped, without its quotes.
char* put_escaped(char* at, std::string_view bytes) {
    static constexpr char HEX[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            const std::size_t n = utf8_sequence(bytes, i);
            at = put(at, n > 0 ? bytes.substr(i, n) : REPLACEMENT_CHARACTER);
            i += std::max<std::size_t>(n, 1);
            continue;
        }
        if (byte == '"' || byte == '\\') {
            *at++ = '\\';
            *at++ = static_cast<char>(byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            at = put(at, "\\u00");
            *at++ = HEX[byte >> 4];
            *at++ = HEX[byte & 0xF];
        } else {
            *at++ = static_cast<char>(byte);
        }
        ++i;
    }
    return at;
}

}  // namespace

char* write_json_string(char* at, std::string_view bytes) {
    *at++ = '"';
    at = put_escaped(at, bytes);
    *at++ = '"';
    return at;
}

std::size_t feature_room(const RowWords& words) {
    std::size_t rest = words.rest.size();
    for (std::size_t i = 0; i < words.rest_field_count; ++i) {
        rest += 1 + words.rest_fields[i].size();
    }
    return FIXED_ROOM + json_string_room(words.name.size()) + json_string_room(rest);
}

char* write_feature(char* at, const Layout& layout, const RowWords& words, const PointResult& r,
                    bool first) {
    const bool height = !words.h.empty();
    at = put(at, first ? "\n" : ",\n");
    at = put(at, R"({"type":"Feature","geometry":)");
    if (height) {
        const Etrs89Coords& e = r.etrs89;
        at = put(at, R"({"type":"Point","coordinates":[)");
        at = put_number(at, e.geographic.lambda, GEOJSON_DEGREE_DECIMALS);
        *at++ = ',';
        at = put_number(at, e.geographic.fi, GEOJSON_DEGREE_DECIMALS);
        *at++ = ',';
        at = put_number(at, e.h, GEOJSON_HEIGHT_DECIMALS);
        at = put(at, "]}");
    } else {
        at = put(at, "null");
    }
    at = put(at, R"(,"properties":{)");
    bool first_property = true;
    if (std::find(layout.columns.begin(), layout.columns.end(), Column::name) !=
        layout.columns.end()) {
        at = put_key(at, column_word(Column::name), first_property);
        at = write_json_string(at, words.name);
    }
    for (const Quantity q : S_JTSK_PROPERTIES) {
        at = put_quantity(at, r, q, height, first_property);
    }
    if (layout.chain.from_etrs89) {
        for (const Quantity q : GIVEN_ETRS89_PROPERTIES) {
            at = put_quantity(at, r, q, height, first_property);
        }
        for (const Quantity q : ETRS89_BACK_ROW) {
            if (std::find(std::begin(S_JTSK_PROPERTIES), std::end(S_JTSK_PROPERTIES), q) ==
                std::end(S_JTSK_PROPERTIES)) {
                at = put_quantity(at, r, q, height, first_property);
            }
        }
    } else {
        for (std::size_t i = BESSEL_QUANTITY_COUNT; i < ETRS89_QUANTITY_COUNT; ++i) {
            at = put_quantity(at, r, QUANTITIES[i].quantity, height, first_property);
        }
    }
    if (layout.rest) {
        at = put_key(at, REST_HEADER, first_property);
        // A spreadsheet's fields of the rest, joined by the ';' between them.
        *at++ = '"';
        at = put_escaped(at, words.rest);
        for (std::size_t i = 0; i < words.rest_field_count; ++i) {
            at = put_escaped(i == 0 ? at : put(at, ";"), words.rest_fields[i]);
        }
        *at++ = '"';
    }
    return put(at, "}}");
}

}  // namespace geochain
