#include "geodesy/exact_latitude.h"

#include <cmath>
#include <limits>

namespace geochain {

namespace {

// ((1 + x) / (1 - x))^(e/2) = exp(e atanh x) for |x| <= e, as the two
// series (atanh to x^19, exp to its 9th power): within a unit in the last
// place for Bessel's e = 0.0817, and the same digits on every platform.
double eccentric_factor(double x, double ecc) {
    const double x2 = x * x;
    double atanh = 1.0 / 19;
    for (int k = 17; k >= 1; k -= 2) {
        atanh = atanh * x2 + 1.0 / k;
    }
    const double y = ecc * (atanh * x);
    double exp = 1.0;
    for (int k = 9; k >= 1; --k) {
        exp = 1.0 + exp * y / k;
    }
    return exp;
}

}  // namespace

GeographicCoords to_geographic_exact(SphericalCoords s, const KrovakProjection& k,
                                     const Ellipsoid& e) {
    // lambda as the classic chain gives it: V * (1/alpha) in extended
    // precision, less Ferro's longitude.
    GeographicCoords g{
        0.0, static_cast<double>(static_cast<long double>(s.V) * k.inv_alpha) - k.ferro_offset_deg};
    const double ecc = std::sqrt(e.e2);
    // fi = 2 atan(t0^(-1/B) tan(U/2 + 45 deg)^(1/B) ((1 + e sin fi) / (1 - e sin fi))^(e/2))
    //      - 90 deg, the part without fi taken once.
    const double fixed =
        k.gauss_t0_pow * std::pow(std::tan(s.U / 2.0 + QUARTER_PI), 1.0 / k.gauss_b);
    double fi = s.U;
    for (int step = 0; step < MOST_LATITUDE_STEPS; ++step) {
        const double next =
            2.0 * std::atan(fixed * eccentric_factor(ecc * std::sin(fi), ecc)) - 2.0 * QUARTER_PI;
        const bool settled = std::fabs(next - fi) < 1e-15;
        fi = next;
        if (settled) {
            g.fi = fi * DEG_PER_RAD;
            return g;
        }
    }
    g.fi = std::numeric_limits<double>::quiet_NaN();
    return g;
}

}  // namespace geochain
