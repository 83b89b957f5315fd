#include "geodesy/exact_latitude.h"

#include <cmath>
#include <limits>

#include "geodesy/sphere_to_ellipsoid.h"

namespace geochain {

// ((1 + x) / (1 - x))^(e/2) = exp(e atanh x) for |x| <= e, as the two
// series (atanh to x^17, exp to its 7th power), each Horner's scheme over
// constant coefficients: the first term left out is below 1e-19 of the
// sum for Bessel's e = 0.0817 (x <= 0.082, e atanh x <= 0.0067), and the
// digits are the same on every platform.
double eccentric_factor(double x, double ecc) {
    constexpr double ATANH[] = {1.0 / 17, 1.0 / 15, 1.0 / 13, 1.0 / 11, 1.0 / 9,
                                1.0 / 7,  1.0 / 5,  1.0 / 3,  1.0};
    constexpr double EXP[] = {1.0 / 5040, 1.0 / 720, 1.0 / 120, 1.0 / 24, 1.0 / 6, 0.5, 1.0, 1.0};
    const double x2 = x * x;
    double atanh = 0.0;
    for (const double c : ATANH) {
        atanh = atanh * x2 + c;
    }
    const double y = ecc * (atanh * x);
    double exp = 0.0;
    for (const double c : EXP) {
        exp = exp * y + c;
    }
    return exp;
}

GeographicCoords to_geographic_exact(SphericalCoords s, const KrovakProjection& k,
                                     const Ellipsoid& e) {
    GeographicCoords g{0.0, to_longitude(s, k)};
    const double ecc = std::sqrt(e.e2);
    // The fixed point of
    //   tan(fi/2 + 45 deg) = t0^(-1/B) tan(U/2 + 45 deg)^(1/B) ((1 + e sin fi) / (1 - e sin
    //   fi))^(e/2),
    // from fi = U. It is iterated on T = tan(fi/2 + 45 deg) itself, sin fi
    // being (T^2 - 1) / (T^2 + 1): no trigonometric function a step. A step
    // moves fi by 2 dT / (1 + T^2).
    const double fixed =
        k.gauss_t0_pow * std::pow(std::tan(s.U / 2.0 + QUARTER_PI), 1.0 / k.gauss_b);
    double sin_fi = std::sin(s.U);
    double T = std::tan(s.U / 2.0 + QUARTER_PI);
    for (int step = 0; step < MOST_LATITUDE_STEPS; ++step) {
        const double next = fixed * eccentric_factor(ecc * sin_fi, ecc);
        const double T2 = next * next;
        const bool settled = std::fabs(next - T) * 2.0 < 1e-15 * (1.0 + T2);
        T = next;
        sin_fi = (T2 - 1.0) / (T2 + 1.0);
        if (settled) {
            g.fi = (2.0 * std::atan(T) - 2.0 * QUARTER_PI) * DEG_PER_RAD;
            return g;
        }
    }
    g.fi = std::numeric_limits<double>::quiet_NaN();
    return g;
}

}  // namespace geochain
