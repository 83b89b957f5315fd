#include "text/report.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "geodesy/sphere_to_ellipsoid.h"

namespace geochain {

namespace {

// Fixed text, copied as it stands.
char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

char* put_dms(char* at, const Sexagesimal& s, int seconds_decimals) {
    at = put(write_integer(at, s.degrees), "o ");
    at = put(write_integer(at, s.minutes), "' ");
    return put(format_fixed(at, s.seconds, seconds_decimals), "'' ");
}

// One piece, its text and value copied and written with every length and
// decimal known at compile time. The Bessel fi and lambda are split as the
// chain split them.
template <const auto& Pieces, std::size_t I>
char* put_piece(char* at, const PointResult& r, WrittenValues& values) {
    constexpr ReportPiece piece = Pieces[I];
    at = put(at, piece.text);
    if constexpr (piece.quantity == Quantity::fi && piece.sexagesimal) {
        return put_dms(at, r.fi_dms, piece.seconds_decimals);
    } else if constexpr (piece.quantity == Quantity::lambda && piece.sexagesimal) {
        return put_dms(at, r.lambda_dms, piece.seconds_decimals);
    } else if constexpr (piece.sexagesimal) {
        return put_dms(at, split_sexagesimal(rule(piece.quantity).value(r)),
                       piece.seconds_decimals);
    } else {
        char* const end = write_quantity(at, r, piece.quantity);
        written(values, piece.quantity) = {at, static_cast<std::size_t>(end - at)};
        return end;
    }
}

template <const auto& Pieces, std::size_t... I>
char* put_pieces(char* at, const PointResult& r, WrittenValues& values, std::index_sequence<I...>) {
    ((at = put_piece<Pieces, I>(at, r, values)), ...);
    return at;
}

}  // namespace

char* write_report(char* at, const PointResult& r, WrittenValues& values, bool height,
                   bool etrs89) {
    at = put_pieces<REPORT>(at, r, values, std::make_index_sequence<std::size(REPORT)>());
    if (etrs89) {
        at = put_pieces<ETRS89_REPORT>(at, r, values,
                                       std::make_index_sequence<std::size(ETRS89_REPORT)>());
    }
    return height ? at : put(at, NO_HEIGHT);
}

char* write_etrs89_back_report(char* at, const PointResult& r, WrittenValues& values) {
    return put_pieces<ETRS89_BACK_REPORT>(
        at, r, values, std::make_index_sequence<std::size(ETRS89_BACK_REPORT)>());
}

}  // namespace geochain
