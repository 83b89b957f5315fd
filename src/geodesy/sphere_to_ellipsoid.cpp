#include "geodesy/sphere_to_ellipsoid.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace geochain {

namespace {

// Truncation toward zero, defined for every double: a plain conversion of a
// NaN or of a value beyond the 32-bit range is undefined behaviour.
std::int32_t truncate_to_int32(double value) {
    constexpr double above_max = 2147483648.0;   // 2^31
    constexpr double below_min = -2147483649.0;  // -2^31 - 1
    if (!(value > below_min && value < above_max)) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

GeographicCoords to_geographic(SphericalCoords s, const KrovakProjection& k) {
    const double dU = s.U - k.u0_deg / DEG_PER_RAD;
    const SeriesTerm* const series = k.phi_series;
    // Each term is divided by its exact power of ten only after the product,
    // and the terms are summed left to right with the sign pattern + - + +.
    const double t1 = (series[0].coefficient * dU) / series[0].divisor;
    const double t2 = (std::pow(dU, 2) * series[1].coefficient) / series[1].divisor;
    const double t3 = (std::pow(dU, 3) * series[2].coefficient) / series[2].divisor;
    const double t4 = (std::pow(dU, 4) * series[3].coefficient) / series[3].divisor;
    const double dfi = ((t1 - t2) + t3) + t4;
    // The product is rounded to a double before phi0 is added.
    const double dfi_deg = dfi * DEG_PER_RAD;
    const double fi = k.phi0_deg + dfi_deg;

    return {fi, to_longitude(s, k)};
}

double to_longitude(SphericalCoords s, const KrovakProjection& k) {
    // V * (1/alpha) is formed in extended precision and rounded once.
    const double lambda_ferro = static_cast<double>(static_cast<long double>(s.V) * k.inv_alpha);
    return lambda_ferro - k.ferro_offset_deg;
}

Sexagesimal split_sexagesimal(double angle_deg) {
    const std::int32_t degrees = truncate_to_int32(angle_deg);
    const double minutes_full = (angle_deg - degrees) * 60.0;
    const std::int32_t minutes = truncate_to_int32(minutes_full);
    return {degrees, minutes, (minutes_full - minutes) * 60.0};
}

}  // namespace geochain
