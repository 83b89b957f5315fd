#include "geodesy/ellipsoid_to_plane.h"

#include <cmath>

#include "geodesy/exact_latitude.h"

namespace geochain {

GaussSpherePoint to_gauss_sphere(GeographicCoords g, const KrovakProjection& k,
                                 const Ellipsoid& e) {
    const double fi = g.fi / DEG_PER_RAD;
    return to_gauss_sphere(std::sin(fi), std::cos(fi), g.lambda, k, e);
}

GaussSpherePoint to_gauss_sphere(double sin_fi, double cos_fi, double lambda,
                                 const KrovakProjection& k, const Ellipsoid& e) {
    const double ecc = std::sqrt(e.e2);
    const double ratio =
        ((1.0 + sin_fi) / cos_fi) / (k.gauss_t0_pow * eccentric_factor(ecc * sin_fi, ecc));
    // T = tan(U/2 + 45 deg): sin U = (T^2 - 1) / (T^2 + 1), cos U = 2 T /
    // (T^2 + 1).
    const double T = std::pow(ratio, k.gauss_b);
    const double T2 = T * T;
    // The inverse of lambda = V * (1/alpha), formed in the same width.
    const double V =
        static_cast<double>(static_cast<long double>(lambda + k.ferro_offset_deg) / k.inv_alpha);
    return {(T2 - 1.0) / (T2 + 1.0), 2.0 * T / (T2 + 1.0), V};
}

ObliquePoint to_oblique_cartographic(GaussSpherePoint s, const KrovakProjection& k) {
    const double dV = (k.pole_lon_deg - s.V) / DEG_PER_RAD;
    const double sin_S = k.cos_pole_colat * s.sin_U + k.sin_pole_colat * s.cos_U * std::cos(dV);
    const double cos_S = std::sqrt(1.0 - sin_S * sin_S);  // S lies within +-90 deg
    return {sin_S, cos_S, std::asin(s.cos_U * std::sin(dV) / cos_S)};
}

PlanePoint to_krovak_plane(ObliquePoint c, double h, const KrovakProjection& k) {
    // tan(S/2 + 45 deg) = (1 + sin S) / cos S.
    const double ro = k.rho0 * k.t0_pow_n / std::pow((1.0 + c.sin_S) / c.cos_S, k.n);
    const double epsilon = k.n * c.D;
    return {ro * std::cos(epsilon), ro * std::sin(epsilon), h};
}

}  // namespace geochain
