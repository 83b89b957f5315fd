#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include "../in_process.h"
#include "geodesy/constants.h"
#include "geodesy/sphere_to_ellipsoid.h"
#include "geodesy/transform.h"

namespace geochain {
namespace {

// Every printed value of a point is in the worked examples of the whole
// program; here are the points where an arcsine argument lies at or just
// beyond the edge of its domain.
TEST(Chain, ArcsineDomainEdges) {
    struct Case {
        PlanePoint in;
        int reports;
        const char* V;
    };
    const Case cases[] = {
        // The argument of the longitude arcsine is exactly 1 and -1: in the domain.
        {{387997.72071034694, 12303900.837484749, 0}, 0, "-47.47460632"},
        {{387997.72071034694, -12303900.837484749, 0}, 0, "132.52539368"},
        // Finite, and rounding puts the longitude argument just above 1
        // and just below -1.
        {{44306738.193236932, 2977.8164878447515, 0}, 1, "+NAN"},
        {{44306738.193236932, -2977.8164878447515, 0}, 1, "+NAN"},
        // 0/0 makes epsilon not-a-number: U fails, and the V argument with it.
        {{0, 0, 0}, 2, "+NAN"},
        // X = 0 alone is an ordinary point at epsilon = 90 degrees.
        {{0, 700000, 0}, 0, "30.42429750"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.V);
        const PointResult r = transform_point(c.in);
        EXPECT_EQ(r.spherical.asin_domain_errors, c.reports);
        EXPECT_EQ(testing_support::fixed_text(r.spherical.V, 8), c.V);
    }
}

TEST(Chain, NegatedXAndYGiveTheSamePointAndRepeatsAreIdentical) {
    const auto sphere = [](PlanePoint p) {
        const PointResult r = transform_point(p);
        return std::make_tuple(r.polar.ro, r.polar.epsilon, r.cartographic.S, r.cartographic.D,
                               r.spherical.U, r.spherical.V);
    };
    EXPECT_EQ(sphere({1041000, 740000, 250}), sphere({-1041000, -740000, 250}));
    EXPECT_EQ(sphere({1041000, 740000, 250}), sphere({1041000, 740000, 250}));
}

TEST(Constants, EachTheDoubleNearestItsValue) {
    const KrovakProjection& k = KROVAK;
    // Plain double arithmetic lands one unit in the last place away.
    EXPECT_NE(k.pole_colat_deg, 17.30311 / 3600 + (17.0 / 60 + 30));
    EXPECT_EQ(k.pole_colat_deg, static_cast<double>(17.30311L / 3600 + (17.0L / 60 + 30)));
    EXPECT_NEAR(k.pole_lon_deg, 42.5L / k.inv_alpha, 1e-12);  // 42 deg 30' times alpha
    EXPECT_EQ(k.u0_deg, static_cast<double>(35.84625L / 3600 + (27.0L / 60 + 49)));
    EXPECT_EQ(k.ferro_offset_deg, static_cast<double>(40.0L / 60 + 17));
    EXPECT_GE(sizeof(k.inv_alpha), 10u);
    // The derived values, from the C library's correctly rounded functions
    // (glibc's; others may differ in the last place, which is why they are
    // written out).
    const double s0 = k.s0_deg / DEG_PER_RAD;
    const double a = k.pole_colat_deg / DEG_PER_RAD;
    EXPECT_NEAR(k.n, std::sin(s0), 1e-16);
    EXPECT_NEAR(k.t0_pow_n, std::pow(std::tan(s0 * 0.5 + QUARTER_PI), k.n), 2e-15);
    EXPECT_EQ(k.inv_n, 1.0 / k.n);
    EXPECT_NEAR(k.cos_pole_colat, std::cos(a), 1e-16);
    EXPECT_NEAR(k.sin_pole_colat, std::sin(a), 1e-16);
    // The Gauss mapping's constants from Bessel's e^2 and phi0 = 49.5 deg.
    const double e2 = BESSEL.e2;
    const double e = std::sqrt(e2);
    const double phi0 = k.phi0_deg / DEG_PER_RAD;
    const double b = std::sqrt(1 + e2 * std::pow(std::cos(phi0), 4) / (1 - e2));
    const double u0 = std::asin(std::sin(phi0) / b);
    const double t0 = std::tan(QUARTER_PI + u0 / 2) *
                      std::pow((1 + e * std::sin(phi0)) / (1 - e * std::sin(phi0)), e * b / 2) /
                      std::pow(std::tan(QUARTER_PI + phi0 / 2), b);
    EXPECT_NEAR(k.gauss_b, b, 2e-16);
    EXPECT_NEAR(k.gauss_t0_pow, std::pow(t0, -1 / b), 1e-15);
    EXPECT_NEAR(GRS80.e2, 2 / 298.257222101 - 1 / (298.257222101 * 298.257222101), 1e-18);
}

TEST(Ellipsoid, LatitudeSeriesAndSexagesimalSplit) {
    const double U0 = KROVAK.u0_deg / DEG_PER_RAD;
    EXPECT_EQ(to_geographic({U0, 0.0, 0}, KROVAK).fi, KROVAK.phi0_deg);
    // One radian from the reference parallel every power of dU is +1 or -1,
    // so fi - 49.5 deg is the signed sum of the coefficients over their powers
    // of ten: (1.001416022789 - 0.00008687150417 + 0.0000001670197 +
    // 0.00000001175089) rad north; south the odd terms change sign.
    EXPECT_NEAR(to_geographic({U0 + 1, 0.0, 0}, KROVAK).fi, 106.87194451483778, 2e-13);
    EXPECT_NEAR(to_geographic({U0 - 1, 0.0, 0}, KROVAK).fi, -7.881897909382761, 2e-13);
    constexpr std::int32_t LOWEST = std::numeric_limits<std::int32_t>::min();
    struct Case {
        double angle;
        std::int32_t degrees;
        std::int32_t minutes;
        const char* seconds;
    };
    const Case cases[] = {
        {49.5, 49, 30, "0.0000"},
        {-0.5, 0, -30, "0.0000"},  // a zero degrees part shows no sign
        {-15.25, -15, -15, "0.0000"},
        {std::nan(""), LOWEST, LOWEST, "+NAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        const Sexagesimal s = split_sexagesimal(c.angle);
        EXPECT_EQ(s.degrees, c.degrees);
        EXPECT_EQ(s.minutes, c.minutes);
        EXPECT_EQ(testing_support::fixed_text(s.seconds, 4), c.seconds);
    }
}

}  // namespace
}  // namespace geochain
