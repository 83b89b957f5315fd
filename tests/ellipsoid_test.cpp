#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "geodesy/constants.h"
#include "geodesy/geocentric.h"
#include "geodesy/sphere_to_ellipsoid.h"

namespace geochain {
namespace {

constexpr std::int32_t INT32_LOWEST = std::numeric_limits<std::int32_t>::min();

TEST(Ellipsoid, ReferenceParallelAndPoleMeridianAreExact) {
    const GeographicCoords g = to_geographic({U0_DEG / DEG_PER_RAD, POLE_LON_DEG});
    EXPECT_EQ(g.fi, PHI0_DEG);
    EXPECT_EQ(g.lambda, 24.833333333333332);
    const Sexagesimal s = split_sexagesimal(g.lambda);
    EXPECT_EQ(s.degrees, 24);
    EXPECT_EQ(s.minutes, 49);
    EXPECT_LT(s.seconds, 60.0);  // shown as 60.0000, never carried
    EXPECT_GT(s.seconds, 59.99995);
}

TEST(Ellipsoid, SplitSexagesimalTruncatesTowardZero) {
    struct Case {
        double angle;
        std::int32_t degrees;
        std::int32_t minutes;
        double seconds;
    };
    const Case cases[] = {
        {49.5, 49, 30, 0.0},
        {-0.5, 0, -30, 0.0},
        {-15.25, -15, -15, 0.0},
        {0.0, 0, 0, 0.0},
        {3e9, INT32_LOWEST, INT32_LOWEST, std::numeric_limits<double>::infinity()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        const Sexagesimal s = split_sexagesimal(c.angle);
        EXPECT_EQ(s.degrees, c.degrees);
        EXPECT_EQ(s.minutes, c.minutes);
        if (std::isfinite(c.seconds)) {
            EXPECT_EQ(s.seconds, c.seconds);
        }
    }
    const Sexagesimal nan = split_sexagesimal(std::nan(""));
    EXPECT_EQ(nan.degrees, INT32_LOWEST);
    EXPECT_EQ(nan.minutes, INT32_LOWEST);
    EXPECT_TRUE(std::isnan(nan.seconds));
}

TEST(Ellipsoid, NotANumberFlowsThrough) {
    const GeographicCoords g = to_geographic({std::nan(""), std::nan("")});
    EXPECT_TRUE(std::isnan(g.fi));
    EXPECT_TRUE(std::isnan(g.lambda));
    const GeocentricCoords c = to_geocentric(g, 0.0);
    EXPECT_TRUE(std::isnan(c.X) && std::isnan(c.Y) && std::isnan(c.Z));
}

TEST(Geocentric, EquatorAndGreenwich) {
    const GeocentricCoords c = to_geocentric({0.0, 0.0}, 0.0);
    EXPECT_EQ(c.N, BESSEL_A);
    EXPECT_EQ(c.X, BESSEL_A);
    EXPECT_EQ(c.Y, 0.0);
    EXPECT_EQ(c.Z, 0.0);
}

TEST(Geocentric, HeightMovesAlongTheNormalOnly) {
    const GeographicCoords g = to_geographic({0.8655, 32.8});
    const GeocentricCoords low = to_geocentric(g, 0.0);
    const GeocentricCoords high = to_geocentric(g, 1000.0);
    EXPECT_EQ(low.N, high.N);  // N + h moves by exactly dh
    const double f = g.fi / DEG_PER_RAD;
    const double l = g.lambda / DEG_PER_RAD;
    EXPECT_NEAR(high.X - low.X, 1000.0 * std::cos(f) * std::cos(l), 1e-6);
    EXPECT_NEAR(high.Y - low.Y, 1000.0 * std::cos(f) * std::sin(l), 1e-6);
    EXPECT_NEAR(high.Z - low.Z, 1000.0 * std::sin(f), 1e-6);
}

// The exact Gauss conformal mapping from the ellipsoid to the sphere that the
// four-term series inverts: tan(U/2 + 45) = k tan(fi/2 + 45)^alpha
// ((1 - e sin fi) / (1 + e sin fi))^(alpha e / 2), k fixed by fi0 -> U0.
long double gauss_log_tan(long double fi_rad) {
    const long double alpha = 1.0L / INV_ALPHA;
    const long double e = std::sqrt(static_cast<long double>(BESSEL_E2));
    const long double pi = 3.141592653589793238462643383279502884L;
    const long double es = e * std::sin(fi_rad);
    return alpha * std::log(std::tan(fi_rad / 2 + pi / 4)) +
           alpha * e / 2 * std::log((1 - es) / (1 + es));
}

long double exact_U(long double fi_deg) {
    const long double pi = 3.141592653589793238462643383279502884L;
    const long double deg = pi / 180;
    const long double log_k =
        std::log(std::tan(U0_DEG * deg / 2 + pi / 4)) - gauss_log_tan(PHI0_DEG * deg);
    return 2 * (std::atan(std::exp(log_k + gauss_log_tan(fi_deg * deg))) - pi / 4);
}

TEST(Ellipsoid, SeriesAgainstExactGaussMapping) {
    struct Case {
        double fi_deg;
        double series_excess_arcsec;
    };
    // Independently measured: the series is exact at 49.5 deg and drifts
    // north of it toward the territory's edges.
    const Case cases[] = {{48.0, 0.691}, {49.0, 0.077}, {49.5, 0.000},
                          {50.0, 0.077}, {51.0, 0.687}, {51.5, 1.221}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fi_deg);
        const double U = static_cast<double>(exact_U(c.fi_deg));
        const double series_fi = to_geographic({U, 0.0}).fi;
        EXPECT_NEAR((series_fi - c.fi_deg) * 3600.0, c.series_excess_arcsec, 0.01);
    }
}

}  // namespace
}  // namespace geochain
