#include "geodesy/plane_to_sphere.h"

#include <cmath>
#include <limits>

namespace geochain {

namespace {

// asin that counts an argument outside its domain (or not a number) and
// then yields not-a-number, as the classic math library's handler did.
double checked_asin(double x, int& domain_errors) {
    if (!(x >= -1.0 && x <= 1.0)) {
        ++domain_errors;
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::asin(x);
}

}  // namespace

PolarCoords to_polar(PlanePoint p) {
    // One-argument arctangent: no quadrant correction, epsilon in (-90, 90) deg.
    return {std::sqrt(p.X * p.X + p.Y * p.Y), std::atan(p.Y / p.X)};
}

CartographicCoords to_cartographic(PolarCoords polar, const KrovakProjection& k) {
    const double D = polar.epsilon / k.n;
    // Inverse of ro = rho0 * (tan(s0/2 + 45) / tan(S/2 + 45))^n, evaluated as
    // tan(s0/2 + 45)^n first, then times rho0/ro, then to the power 1/n;
    // simplifying it changes the last digits of S.
    const double r = k.rho0 / polar.ro;
    const double w = k.t0_pow_n * r;
    const double q = std::pow(w, k.inv_n);
    const double S = (std::atan(q) - QUARTER_PI) * 2.0;
    return {S, D};
}

SphericalCoords to_spherical(CartographicCoords c, const KrovakProjection& k) {
    // Spherical triangle pole - cartographic pole - point, a the pole's
    // co-latitude: sin U = cos a sin S - (sin a cos S) cos D.
    const double first = k.cos_pole_colat * std::sin(c.S);
    const double second = (k.sin_pole_colat * std::cos(c.S)) * std::cos(c.D);
    int domain_errors = 0;
    const double U = checked_asin(first - second, domain_errors);
    const double dV =
        checked_asin((1.0 / std::cos(U)) * (std::cos(c.S) * std::sin(c.D)), domain_errors);
    return {U, k.pole_lon_deg - dV * DEG_PER_RAD, domain_errors};
}

}  // namespace geochain
