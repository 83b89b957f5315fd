#include "geodesy/exact_latitude.h"

#include <cmath>
#include <limits>

#include "geodesy/sphere_to_ellipsoid.h"

namespace geochain {

GeographicCoords to_geographic_exact(SphericalCoords s, const KrovakProjection& k,
                                     const Ellipsoid& e) {
    GeographicCoords g = to_geographic(s, k);
    const double ecc = std::sqrt(e.e2);
    // fi = 2 atan(t0^(-1/B) tan(U/2 + 45 deg)^(1/B) ((1 + e sin fi) / (1 - e sin fi))^(e/2))
    //      - 90 deg, the part without fi taken once.
    const double fixed =
        k.gauss_t0_pow * std::pow(std::tan(s.U / 2.0 + QUARTER_PI), 1.0 / k.gauss_b);
    double fi = s.U;
    for (int step = 0; step < MOST_LATITUDE_STEPS; ++step) {
        const double e_sin = ecc * std::sin(fi);
        const double next =
            2.0 * std::atan(fixed * std::pow((1.0 + e_sin) / (1.0 - e_sin), ecc / 2.0)) -
            2.0 * QUARTER_PI;
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
