// What a point shows: each output quantity once, with its word in a table's
// header, its unit, its decimals and where it comes from in the result.
// The report, the table row, the log record and the bench all read it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "geodesy/constants.h"
#include "geodesy/records.h"
#include "text/format_fixed.h"

namespace geochain {

enum class Quantity {
    ro,
    epsilon,
    S,
    D,
    U,
    V,
    fi,
    lambda,
    N_plus_h,
    X,
    Y,
    Z,
    // ETRS89 by ČÚZK's method, where asked for.
    Y05,
    X05,
    fi05,
    lambda05,
    fi_etrs,
    lambda_etrs,
    zeta,
    h_etrs,
    X_etrs,
    Y_etrs,
    Z_etrs,
    // Back from ETRS89: the S-JTSK point and its normal height.
    Y_s_jtsk,
    X_s_jtsk,
    H,
};

enum class Unit { metres, degrees };

struct QuantityRule {
    Quantity quantity;
    std::string_view header;  // its column in a table: one ASCII word
    Unit unit;
    int decimals;
    // Its value in that unit: angles held in radians times DEG_PER_RAD.
    double (*value)(const PointResult&);
    // Computed from the height h: none where a line has no height.
    bool from_height = false;
};

// In the order of a table row; each rule stands at its quantity's place.
// fi and lambda are decimal degrees here; the report shows them split into
// degrees, minutes and seconds instead.
inline constexpr QuantityRule QUANTITIES[] = {
    {Quantity::ro, "ro", Unit::metres, 8, [](const PointResult& r) { return r.polar.ro; }},
    {Quantity::epsilon, "epsilon", Unit::degrees, 8,
     [](const PointResult& r) { return r.polar.epsilon * DEG_PER_RAD; }},
    {Quantity::S, "S", Unit::degrees, 8,
     [](const PointResult& r) { return r.cartographic.S * DEG_PER_RAD; }},
    {Quantity::D, "D", Unit::degrees, 8,
     [](const PointResult& r) { return r.cartographic.D * DEG_PER_RAD; }},
    {Quantity::U, "U", Unit::degrees, 8,
     [](const PointResult& r) { return r.spherical.U * DEG_PER_RAD; }},
    {Quantity::V, "V", Unit::degrees, 8, [](const PointResult& r) { return r.spherical.V; }},
    {Quantity::fi, "fi", Unit::degrees, 9, [](const PointResult& r) { return r.geographic.fi; }},
    {Quantity::lambda, "lambda", Unit::degrees, 9,
     [](const PointResult& r) { return r.geographic.lambda; }},
    {Quantity::N_plus_h, "N+h", Unit::metres, 4,
     [](const PointResult& r) { return r.geocentric.N + r.plane.h; }, true},
    // Named apart from the plane X and Y of the input.
    {Quantity::X, "Xgeo", Unit::metres, 4, [](const PointResult& r) { return r.geocentric.X; },
     true},
    {Quantity::Y, "Ygeo", Unit::metres, 4, [](const PointResult& r) { return r.geocentric.Y; },
     true},
    {Quantity::Z, "Zgeo", Unit::metres, 4, [](const PointResult& r) { return r.geocentric.Z; },
     true},
    // S-JTSK/05 and Bessel on it do not depend on the height; ETRS89 does,
    // through the Helmert transformation (a centimetre for 300 m of H).
    {Quantity::Y05, "Y05", Unit::metres, 4, [](const PointResult& r) { return r.etrs89.Y05; }},
    {Quantity::X05, "X05", Unit::metres, 4, [](const PointResult& r) { return r.etrs89.X05; }},
    {Quantity::fi05, "fi05", Unit::degrees, 9,
     [](const PointResult& r) { return r.etrs89.bessel05.fi; }},
    {Quantity::lambda05, "lambda05", Unit::degrees, 9,
     [](const PointResult& r) { return r.etrs89.bessel05.lambda; }},
    {Quantity::fi_etrs, "fi_etrs", Unit::degrees, 9,
     [](const PointResult& r) { return r.etrs89.geographic.fi; }, true},
    {Quantity::lambda_etrs, "lambda_etrs", Unit::degrees, 9,
     [](const PointResult& r) { return r.etrs89.geographic.lambda; }, true},
    {Quantity::zeta, "zeta", Unit::metres, 4, [](const PointResult& r) { return r.etrs89.zeta; },
     true},
    {Quantity::h_etrs, "h_etrs", Unit::metres, 4, [](const PointResult& r) { return r.etrs89.h; },
     true},
    {Quantity::X_etrs, "Xetrs", Unit::metres, 4,
     [](const PointResult& r) { return r.etrs89.geocentric.X; }, true},
    {Quantity::Y_etrs, "Yetrs", Unit::metres, 4,
     [](const PointResult& r) { return r.etrs89.geocentric.Y; }, true},
    {Quantity::Z_etrs, "Zetrs", Unit::metres, 4,
     [](const PointResult& r) { return r.etrs89.geocentric.Z; }, true},
    {Quantity::Y_s_jtsk, "Y", Unit::metres, 4, [](const PointResult& r) { return r.plane.Y; }},
    {Quantity::X_s_jtsk, "X", Unit::metres, 4, [](const PointResult& r) { return r.plane.X; }},
    {Quantity::H, "H", Unit::metres, 4, [](const PointResult& r) { return r.plane.h; }, true},
};

inline constexpr std::size_t QUANTITY_COUNT = std::size(QUANTITIES);

// The classic chain's quantities come first; the ETRS89 ones after them.
inline constexpr std::size_t BESSEL_QUANTITY_COUNT = static_cast<std::size_t>(Quantity::Z) + 1;
inline constexpr std::size_t ETRS89_QUANTITY_COUNT = static_cast<std::size_t>(Quantity::Z_etrs) + 1;

// A row back from ETRS89, after the ETRS89 point as written: its stages in
// the order they are computed, ending with the S-JTSK point and H.
inline constexpr Quantity ETRS89_BACK_ROW[] = {
    Quantity::X_etrs,   Quantity::Y_etrs, Quantity::Z_etrs, Quantity::fi05,
    Quantity::lambda05, Quantity::Y05,    Quantity::X05,    Quantity::Y_s_jtsk,
    Quantity::X_s_jtsk, Quantity::zeta,   Quantity::H,
};

constexpr const QuantityRule& rule(Quantity q) { return QUANTITIES[static_cast<std::size_t>(q)]; }

constexpr bool rules_in_place() {
    for (std::size_t i = 0; i < QUANTITY_COUNT; ++i) {
        const QuantityRule& r = QUANTITIES[i];
        if (static_cast<std::size_t>(r.quantity) != i || r.decimals < 0 ||
            r.decimals > MOST_FIXED_DECIMALS) {
            return false;
        }
    }
    return true;
}
static_assert(rules_in_place(),
              "each rule at its quantity's place, its decimals within the formatter's");

// Writes the quantity of r with its decimals at `at`, which has
// fixed_room(decimals) bytes; returns the end.
inline char* write_quantity(char* at, const PointResult& r, Quantity q) {
    const QuantityRule& shown = rule(q);
    return format_fixed(at, shown.value(r), shown.decimals);
}

// Each quantity's text as a report or a row has written it, so that the
// log record copies it instead of formatting it again; empty where the
// writer did not write it.
using WrittenValues = std::array<std::string_view, QUANTITY_COUNT>;

inline std::string_view& written(WrittenValues& values, Quantity q) {
    return values[static_cast<std::size_t>(q)];
}

// Room for every quantity at its longest, each with `extra` bytes beside
// it.
constexpr std::size_t quantities_room(std::size_t extra) {
    std::size_t room = 0;
    for (const QuantityRule& r : QUANTITIES) {
        room += extra + fixed_room(r.decimals);
    }
    return room;
}

}  // namespace geochain
