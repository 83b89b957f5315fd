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

enum class Quantity { ro, epsilon, S, D, U, V, fi, lambda, N_plus_h, X, Y, Z };

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
};

inline constexpr std::size_t QUANTITY_COUNT = std::size(QUANTITIES);

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
