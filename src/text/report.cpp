#include "text/report.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace geochain {

namespace {

// Fixed text, copied as it stands.
char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

char* put_dms(char* at, const Sexagesimal& s) {
    at = put(write_integer(at, s.degrees), "o ");
    at = put(write_integer(at, s.minutes), "' ");
    return put(format_fixed(at, s.seconds, SECONDS_DECIMALS), "'' ");
}

// One piece, its text and value copied and written with every length and
// decimal known at compile time.
template <std::size_t I>
char* put_piece(char* at, const PointResult& r, WrittenValues& values) {
    constexpr ReportPiece piece = REPORT[I];
    at = put(at, piece.text);
    if constexpr (piece.sexagesimal) {
        static_assert(piece.quantity == Quantity::fi || piece.quantity == Quantity::lambda,
                      "only fi and lambda are split");
        return put_dms(at, piece.quantity == Quantity::fi ? r.fi_dms : r.lambda_dms);
    } else {
        char* const end = write_quantity(at, r, piece.quantity);
        written(values, piece.quantity) = {at, static_cast<std::size_t>(end - at)};
        return end;
    }
}

template <std::size_t... I>
char* put_pieces(char* at, const PointResult& r, WrittenValues& values, std::index_sequence<I...>) {
    ((at = put_piece<I>(at, r, values)), ...);
    return at;
}

}  // namespace

char* write_report(char* at, const PointResult& r, WrittenValues& values, bool height) {
    at = put_pieces(at, r, values, std::make_index_sequence<std::size(REPORT)>());
    return height ? at : put(at, NO_HEIGHT);
}

}  // namespace geochain
