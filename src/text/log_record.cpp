#include "text/log_record.h"

#include <cstring>
#include <utility>

namespace geochain {

namespace {

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

template <std::size_t I>
char* put_value(char* at, const PointResult& r, const WrittenValues& values) {
    constexpr Quantity q = RECORD_QUANTITIES[I];
    constexpr auto decimals = static_cast<std::size_t>(rule(q).decimals);
    at = put(at, RECORD_TEXT[I]);
    const std::string_view text = values[static_cast<std::size_t>(q)];
    if (text.empty()) {
        return write_quantity(at, r, q);
    }
    char* const end = put(at, text);
    if (decimals > 0 && text.size() > decimals && *(end - decimals - 1) == ',') {
        *(end - decimals - 1) = '.';
    }
    return end;
}

template <std::size_t... I>
char* put_values(char* at, const PointResult& r, const WrittenValues& values,
                 std::index_sequence<I...>) {
    ((at = put_value<I>(at, r, values)), ...);
    return at;
}

}  // namespace

char* write_record(char* at, const PointResult& r, const WrittenValues& values) {
    at = put_values(at, r, values, std::make_index_sequence<std::size(RECORD_QUANTITIES)>());
    return put(at, RECORD_TEXT[std::size(RECORD_QUANTITIES)]);
}

}  // namespace geochain
