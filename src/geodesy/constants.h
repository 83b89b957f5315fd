// The datum and the projection of S-JTSK as values: the Bessel 1841
// ellipsoid and the Krovak projection's constants. Every stage takes the
// record it needs; a second ellipsoid or projection is a second value.
#pragma once

namespace geochain {

// Degrees per radian: the double nearest 180/pi. Used in both directions,
// degrees = radians * DEG_PER_RAD, radians = degrees / DEG_PER_RAD.
inline constexpr double DEG_PER_RAD = 57.29577951308232;

// The 45 degree term of the conic formulas, in radians (double nearest pi/4).
inline constexpr double QUARTER_PI = 0.7853981633974483;

// An ellipsoid of revolution: semi-major axis a (metres) and first
// eccentricity squared e^2, with 1 - e^2 as published, not computed from it.
struct Ellipsoid {
    double a;
    double e2;
    double one_minus_e2;
};

// Bessel 1841, the ellipsoid of S-JTSK (EPSG:7004).
inline constexpr double BESSEL_A = 6377397.15508;
inline constexpr double BESSEL_E2 = 0.006674372230622;
inline constexpr double BESSEL_ONE_MINUS_E2 = 0.993325627769378;
inline constexpr Ellipsoid BESSEL{BESSEL_A, BESSEL_E2, BESSEL_ONE_MINUS_E2};

// One term of the latitude series: coefficient / divisor * dU^k (k = 1..4).
// The divisors are exact powers of ten.
struct SeriesTerm {
    double coefficient;
    double divisor;
};

// The Krovak oblique conformal conic projection, from the plane back to
// the ellipsoid. The defining angles are those of EPSG Guidance Note 7-2
// (method 9819): pseudo standard parallel 78 deg 30', co-latitude of the
// cone axis 30 deg 17' 17.30311", origin 42 deg 30' east of Ferro
// (24 deg 50' east of Greenwich), on Bessel 1841.
//
// Angles given in degrees, minutes and seconds are each the double nearest
// deg + min/60 + sec/3600, formed as sec/3600 + (min/60 + deg) in extended
// precision and rounded once; plain double arithmetic in that order lands a
// unit in the last place off for the pole's co-latitude, so the doubles are
// written out. The derived values are written out too, each the double
// nearest its exact value: the digits must not depend on whether a
// compiler folds sin(s0) at build time or a C library computes it.
struct KrovakProjection {
    double s0_deg;          // cartographic latitude of the cone's reference parallel
    double rho0;            // radius of that parallel's image in the plane, metres
    double pole_colat_deg;  // co-latitude of the cartographic pole on the sphere
    double pole_lon_deg;    // its spherical longitude, degrees east of Ferro
    // The latitude series fi - phi0 = f(U - U0), dU in radians: the Taylor
    // expansion of the inverse Gauss mapping about the spherical latitude U0
    // of the parallel phi0, four terms, as the classic hand computation of
    // S-JTSK tabulates them. It is an approximation: about 0.7" off at 48
    // and 51 deg.
    double u0_deg;
    double phi0_deg;
    SeriesTerm phi_series[4];
    // Reciprocal of the sphere's longitude scale alpha (EPSG's B): spherical
    // longitude to ellipsoidal longitude. Held in the widest type (80-bit
    // extended on x86-64 with g++, clang and mingw); the product V * (1/alpha)
    // is formed in it.
    long double inv_alpha;
    double ferro_offset_deg;  // Ferro meridian west of Greenwich
    // Derived from s0 and the pole's co-latitude.
    double n;               // the cone constant sin(s0)
    double t0_pow_n;        // tan(s0/2 + 45 deg)^n
    double inv_n;           // 1/n
    double cos_pole_colat;  // cos and sin of the pole's co-latitude
    double sin_pole_colat;
    // The Gauss mapping exactly (EPSG Guidance Note 7-2, the reverse
    // formulas), from the ellipsoid's e^2 and phi0 = 49 deg 30': its
    // exponent B = sqrt(1 + e^2 cos^4 phi0 / (1 - e^2)), and t0^(-1/B),
    // where t0 = tan(45 deg + U0/2) ((1 + e sin phi0) / (1 - e sin
    // phi0))^(e B / 2) / tan(45 deg + phi0/2)^B, U0 = asin(sin phi0 / B),
    // so that phi0 maps to U0.
    double gauss_b;
    double gauss_t0_pow;
};

inline constexpr KrovakProjection KROVAK{
    78.5,                // 78 deg 30'
    1298039.0046,        // m
    30.288139752777777,  // 30 deg 17' 17.30311"
    42.525393680810005,  // 42 deg 30' times alpha: 42 deg 31' 31.41725"
    49.45995729166667,   // U0, 49 deg 27' 35.84625"
    49.5,                // phi0, 49 deg 30'
    {
        {100.1416022789, 1e2},
        {86.87150417, 1e6},
        {16.70197, 1e8},
        {117.5089, 1e10},
    },
    0.99940285841912235645L,
    17.666666666666668,  // 17 deg 40'
    0.97992470462082959,
    9.483713574072528,
    1.0204865693093617,
    0.86349996950998531,
    0.50434888981364323,
    1.000597498371542,
    0.9965945181786494,
};

// GRS 1980, the ellipsoid of ETRS89 (EPSG:7019): a = 6378137 m,
// 1/f = 298.257222101; e^2 = 2f - f^2 and 1 - e^2, each the double nearest.
inline constexpr Ellipsoid GRS80{6378137.0, 0.006694380022900788, 0.9933056199770992};

}  // namespace geochain
