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

template <const auto& Pieces>
char* put_stage(char* at, const PointResult& r, WrittenValues& values) {
    return put_pieces<Pieces>(at, r, values, std::make_index_sequence<std::size(Pieces)>());
}

}  // namespace

char* write_report(char* at, const PointResult& r, WrittenValues& values, bool height,
                   bool etrs89) {
    at = put_stage<REPORT>(at, r, values);
    if (etrs89) {
        at = put_stage<S_JTSK05_STAGE>(at, r, values);
        at = put_stage<BESSEL05_STAGE>(at, r, values);
        at = put_stage<ETRS89_GEOGRAPHIC_STAGE>(at, r, values);
        at = put_stage<ETRS89_HEIGHT_STAGE>(at, r, values);
        at = put_stage<ETRS89_GEOCENTRIC_STAGE>(at, r, values);
    }
    return height ? at : put(at, NO_HEIGHT);
}

char* write_etrs89_back_report(char* at, const PointResult& r, WrittenValues& values) {
    at = put_stage<ETRS89_GIVEN_STAGE>(at, r, values);
    at = put_stage<ETRS89_GEOCENTRIC_STAGE>(at, r, values);
    at = put_stage<BESSEL05_STAGE>(at, r, values);
    at = put_stage<S_JTSK05_STAGE>(at, r, values);
    at = put_stage<S_JTSK_STAGE>(at, r, values);
    return put_stage<NORMAL_HEIGHT_STAGE>(at, r, values);
}

}  // namespace geochain
