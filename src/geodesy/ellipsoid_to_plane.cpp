#include "geodesy/ellipsoid_to_plane.h"

#include <cmath>

#include "geodesy/exact_latitude.h"

namespace geochain {

SphericalCoords to_gauss_sphere(GeographicCoords g, const KrovakProjection& k, const Ellipsoid& e) {
    const double fi = g.fi / DEG_PER_RAD;
    return to_gauss_sphere(std::sin(fi), std::cos(fi), g.lambda, k, e);
}

SphericalCoords to_gauss_sphere(double sin_fi, double cos_fi, double lambda,
                                const KrovakProjection& k, const Ellipsoid& e) {
    const double ecc = std::sqrt(e.e2);
    const double ratio =
        ((1.0 + sin_fi) / cos_fi) / (k.gauss_t0_pow * eccentric_factor(ecc * sin_fi, ecc));
    const double U = 2.0 * std::atan(std::pow(ratio, k.gauss_b)) - 2.0 * QUARTER_PI;
    // The inverse of lambda = V * (1/alpha), formed in the same width.
    const double V =
        static_cast<double>(static_cast<long double>(lambda + k.ferro_offset_deg) / k.inv_alpha);
    return {U, V, 0};
}

CartographicCoords to_oblique_cartographic(SphericalCoords s, const KrovakProjection& k) {
    const double dV = (k.pole_lon_deg - s.V) / DEG_PER_RAD;
    const double cos_U = std::cos(s.U);
    const double sin_S = k.cos_pole_colat * std::sin(s.U) + k.sin_pole_colat * cos_U * std::cos(dV);
    const double cos_S = std::sqrt(1.0 - sin_S * sin_S);
    const double D = std::asin(cos_U * std::sin(dV) / cos_S);
    return {std::asin(sin_S), D};
}

PlanePoint to_krovak_plane(CartographicCoords c, double h, const KrovakProjection& k) {
    const double ro = k.rho0 * k.t0_pow_n / std::pow(std::tan(c.S / 2.0 + QUARTER_PI), k.n);
    const double epsilon = k.n * c.D;
    return {ro * std::cos(epsilon), ro * std::sin(epsilon), h};
}

}  // namespace geochain
