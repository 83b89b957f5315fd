// Fixed parameters of the Krovak projection (S-JTSK), its reference sphere
// and the Bessel 1841 ellipsoid. Every point of a run is computed from
// exactly these values; none of them is ever changed.
#pragma once

namespace geochain {

// Degrees per radian: the double nearest 180/pi. Used in both directions,
// degrees = radians * DEG_PER_RAD, radians = degrees / DEG_PER_RAD.
inline constexpr double DEG_PER_RAD = 57.29577951308232;

// The 45 degree term of the conic formulas, in radians (double nearest pi/4).
inline constexpr double QUARTER_PI = 0.7853981633974483;

// Cartographic latitude of the reference parallel of the cone, 78 deg 30 min.
inline constexpr double S0_DEG = 78.5;

// Radius of the image of the reference parallel in the projection plane, metres.
inline constexpr double RHO0 = 1298039.0046;

// The three angles below are given in degrees, minutes and seconds. Each is
// the double nearest to deg + min/60 + sec/3600, formed as
// sec/3600 + (min/60 + deg) in extended precision and rounded once. Plain
// double arithmetic in that order gives 30.28813975277778 for the pole
// colatitude, one unit in the last place off, so the doubles are written out.

// Colatitude of the cartographic pole on the sphere, 30 deg 17' 17.30311".
inline constexpr double POLE_COLAT_DEG = 30.288139752777777;

// Spherical longitude of the cartographic pole, degrees east of Ferro.
inline constexpr double POLE_LON_DEG = 42.525393680810005;

// Spherical latitude of the parallel that maps to PHI0_DEG, 49 deg 27' 35.84625".
inline constexpr double U0_DEG = 49.45995729166667;

// Geodetic latitude about which the latitude series is expanded, degrees.
inline constexpr double PHI0_DEG = 49.5;

// Reciprocal of the sphere's longitude scale alpha: spherical longitude to
// ellipsoidal longitude. Held in the widest type (80-bit extended on x86-64
// with g++, clang and mingw); the product V * INV_ALPHA is formed in it.
inline constexpr long double INV_ALPHA = 0.99940285841912235645L;

// Ferro meridian west of Greenwich, 17 deg 40'.
inline constexpr double FERRO_OFFSET_DEG = 17.666666666666668;

// Bessel 1841: semi-major axis (metres) and first eccentricity squared.
inline constexpr double BESSEL_A = 6377397.15508;
inline constexpr double BESSEL_E2 = 0.006674372230622;
// 1 - e^2 kept as its own published value, not computed from BESSEL_E2.
inline constexpr double BESSEL_ONE_MINUS_E2 = 0.993325627769378;

// One term of the latitude series: coefficient / divisor * dU^k (k = 1..4).
// The divisors are exact powers of ten.
struct SeriesTerm {
    double coefficient;
    double divisor;
};

// Coefficients of the series fi - 49.5 deg = f(U - U0), dU in radians.
inline constexpr SeriesTerm PHI_SERIES[4] = {
    {100.1416022789, 1e2},
    {86.87150417, 1e6},
    {16.70197, 1e8},
    {117.5089, 1e10},
};

}  // namespace geochain
