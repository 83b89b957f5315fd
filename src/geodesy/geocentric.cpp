#include "geodesy/geocentric.h"

#include <cmath>

namespace geochain {

GeocentricCoords to_geocentric(GeographicCoords g, double h, const Ellipsoid& e) {
    const double f = g.fi / DEG_PER_RAD;
    const double l = g.lambda / DEG_PER_RAD;
    const double sin_f = std::sin(f);
    // N = a / sqrt(1 - e^2 sin^2 fi), the square taken as sin * (sin * e^2).
    const double N = e.a / std::sqrt(1.0 - sin_f * (sin_f * e.e2));
    const double radial = std::cos(f) * (N + h);
    return {N, radial * std::cos(l), radial * std::sin(l), sin_f * (N * e.one_minus_e2 + h)};
}

}  // namespace geochain
