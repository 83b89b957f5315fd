#include "geodesy/plane_to_sphere.h"

#include <cmath>
#include <limits>

#include "geodesy/constants.h"

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

CartographicCoords to_cartographic(PolarCoords polar) {
    const double s0 = S0_DEG / DEG_PER_RAD;
    const double n = std::sin(s0);  // cone constant
    const double D = polar.epsilon / n;
    // Inverse of ro = RHO0 * (tan(s0/2 + 45) / tan(S/2 + 45))^n, evaluated as
    // t^n first, then times RHO0/ro, then to the power 1/n; simplifying it
    // changes the last digits of S.
    const double r = RHO0 / polar.ro;
    const double t = std::tan(s0 * 0.5 + QUARTER_PI);
    const double w = std::pow(t, n) * r;
    const double inv_n = 1.0 / n;
    const double q = std::pow(w, inv_n);
    const double S = (std::atan(q) - QUARTER_PI) * 2.0;
    return {S, D};
}

SphericalCoords to_spherical(CartographicCoords c) {
    const double a = POLE_COLAT_DEG / DEG_PER_RAD;
    // Spherical triangle pole - cartographic pole - point:
    // sin U = cos a sin S - (sin a cos S) cos D.
    const double first = std::cos(a) * std::sin(c.S);
    const double second = (std::sin(a) * std::cos(c.S)) * std::cos(c.D);
    int domain_errors = 0;
    const double U = checked_asin(first - second, domain_errors);
    const double dV =
        checked_asin((1.0 / std::cos(U)) * (std::cos(c.S) * std::sin(c.D)), domain_errors);
    return {U, POLE_LON_DEG - dV * DEG_PER_RAD, domain_errors};
}

}  // namespace geochain
