#include "text/table_row.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace geochain {

namespace {

char separator(const Layout& layout) { return layout.decimal_comma ? ';' : '\t'; }

bool has_name(const Layout& layout) {
    return std::find(layout.columns.begin(), layout.columns.end(), Column::name) !=
           layout.columns.end();
}

// A word copied as it stands; an empty one (a height that is missing) may
// have no bytes behind it at all.
char* put(char* at, std::string_view text) {
    if (!text.empty()) {
        std::memcpy(at, text.data(), text.size());
    }
    return at + text.size();
}

// Where a spreadsheet's cell would begin a formula: OWASP's rule for CSV.
bool opens_a_formula(std::string_view word) {
    return !word.empty() && std::string_view("=+-@\t\r").find(word[0]) != std::string_view::npos;
}

// A text column as CSV quotes it when it holds the separator, a quote or a
// line end, so that a spreadsheet reads it back as one cell; one that would
// open as a formula there (=1+1, @SUM) begins with an apostrophe, and stays text.
char* put_text_column(char* at, const Layout& layout, std::string_view word) {
    if (!layout.decimal_comma) {
        return put(at, word);
    }
    const bool quoted = word.find_first_of(";\"\r\n") != std::string_view::npos;
    if (quoted) {
        *at++ = '"';
    }
    if (opens_a_formula(word)) {
        *at++ = '\'';
    }
    if (!quoted) {
        return put(at, word);
    }
    for (const char ch : word) {
        *at++ = ch;
        if (ch == '"') {
            *at++ = ch;
        }
    }
    *at++ = '"';
    return at;
}

// A coordinate as its line wrote it; for a Czech spreadsheet, with the
// decimal comma, whichever mark the line used (a coordinate has at most one).
char* put_coordinate(char* at, const Layout& layout, std::string_view word) {
    char* const end = put(at, word);
    if (layout.decimal_comma) {
        std::replace(at, end, '.', ',');
    }
    return end;
}

// A quantity after its separator; the decimal comma in place of the point
// for a Czech spreadsheet (an infinity or not-a-number has none).
template <Quantity Q>
char* put_value(char* at, char sep, bool decimal_comma, bool height, const PointResult& r,
                WrittenValues& values) {
    constexpr QuantityRule shown = rule(Q);
    *at++ = sep;
    if (shown.from_height && !height) {
        return at;
    }
    char* const end = write_quantity(at, r, shown.quantity);
    if constexpr (shown.decimals > 0) {
        if (decimal_comma && end - at > shown.decimals) {
            char* const point = end - shown.decimals - 1;
            *point = *point == '.' ? ',' : *point;
        }
    }
    written(values, shown.quantity) = {at, static_cast<std::size_t>(end - at)};
    return end;
}

// The quantities from First on, as many as the sequence holds.
template <std::size_t First, std::size_t... I>
char* put_values(char* at, char sep, bool decimal_comma, bool height, const PointResult& r,
                 WrittenValues& values, std::index_sequence<I...>) {
    ((at = put_value<QUANTITIES[First + I].quantity>(at, sep, decimal_comma, height, r, values)),
     ...);
    return at;
}

// The quantities of a row back from ETRS89, in their order.
template <std::size_t... I>
char* put_back_values(char* at, char sep, bool decimal_comma, const PointResult& r,
                      WrittenValues& values, std::index_sequence<I...>) {
    ((at = put_value<ETRS89_BACK_ROW[I]>(at, sep, decimal_comma, true, r, values)), ...);
    return at;
}

// Room for every quantity of a row at its longest, each after its
// separator.
constexpr std::size_t VALUES_ROOM = quantities_room(1);

}  // namespace

void append_table_header(std::string& text, const Layout& layout) {
    const char sep = separator(layout);
    if (has_name(layout)) {
        text.append(column_word(Column::name)).append(1, sep);
    }
    if (layout.chain.from_etrs89) {
        text.append(column_word(Column::fi)).append(1, sep).append(column_word(Column::lambda));
        text.append(1, sep).append(ETRS89_HEIGHT_HEADER);
        for (const Quantity q : ETRS89_BACK_ROW) {
            text.append(1, sep).append(rule(q).header);
        }
    } else {
        text.append(column_word(Column::x)).append(1, sep).append(column_word(Column::y));
        text.append(1, sep).append(column_word(Column::h));
        const std::size_t shown =
            layout.chain.etrs89 ? ETRS89_QUANTITY_COUNT : BESSEL_QUANTITY_COUNT;
        for (std::size_t i = 0; i < shown; ++i) {
            text.append(1, sep).append(QUANTITIES[i].header);
        }
    }
    if (layout.rest) {
        text.append(1, sep).append(REST_HEADER);
    }
    text += '\n';
}

std::size_t table_row_room(const RowWords& words) {
    // A quoted text column doubles its quotes and gains two, and perhaps an
    // apostrophe.
    const auto quoted = [](std::string_view word) { return 2 * word.size() + 3; };
    std::size_t rest = quoted(words.rest);
    for (std::size_t i = 0; i < words.rest_field_count; ++i) {
        rest += 1 + quoted(words.rest_fields[i]);
    }
    return quoted(words.name) + 1 + words.x.size() + 1 + words.y.size() + 1 + words.h.size() +
           VALUES_ROOM + 1 + rest;
}

char* write_table_row(char* at, const Layout& layout, const RowWords& words, const PointResult& r,
                      WrittenValues& values) {
    const char sep = separator(layout);
    if (has_name(layout)) {
        at = put_text_column(at, layout, words.name);
        *at++ = sep;
    }
    at = put_coordinate(at, layout, words.x);
    *at++ = sep;
    at = put_coordinate(at, layout, words.y);
    *at++ = sep;
    at = put_coordinate(at, layout, words.h);
    const bool height = !words.h.empty();
    if (layout.chain.from_etrs89) {
        at = put_back_values(at, sep, layout.decimal_comma, r, values,
                             std::make_index_sequence<std::size(ETRS89_BACK_ROW)>());
    } else {
        at = put_values<0>(at, sep, layout.decimal_comma, height, r, values,
                           std::make_index_sequence<BESSEL_QUANTITY_COUNT>());
    }
    if (layout.chain.etrs89) {
        at = put_values<BESSEL_QUANTITY_COUNT>(
            at, sep, layout.decimal_comma, height, r, values,
            std::make_index_sequence<ETRS89_QUANTITY_COUNT - BESSEL_QUANTITY_COUNT>());
    }
    if (layout.rest && words.rest_field_count > 0) {
        for (std::size_t i = 0; i < words.rest_field_count; ++i) {
            *at++ = sep;
            at = put_text_column(at, layout, words.rest_fields[i]);
        }
    } else if (layout.rest) {
        *at++ = sep;
        at = put_text_column(at, layout, words.rest);
    }
    return at;
}

}  // namespace geochain
