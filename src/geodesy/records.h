// Plain value records of the transformation chain, one per stage.
#pragma once

#include <cstdint>

namespace geochain {

// Input: national grid coordinates (X southward, Y westward, metres) and
// ellipsoidal height h (metres).
struct PlanePoint {
    double X;
    double Y;
    double h;
};

// Polar coordinates in the projection plane: ro (metres) from the apex of
// the cone's image, epsilon (radians) from the X axis.
struct PolarCoords {
    double ro;
    double epsilon;
};

// Cartographic latitude S and longitude D on the sphere (radians).
struct CartographicCoords {
    double S;
    double D;
};

// Spherical latitude U (radians) and longitude V (degrees east of Ferro),
// and how many of the two arcsines that give them had an argument outside
// [-1, 1] (or not a number): each of those is not-a-number, and the
// dialogue reports it as the classic math library did.
struct SphericalCoords {
    double U;
    double V;
    int asin_domain_errors;
};

// Geodetic latitude fi and longitude lambda east of Greenwich on the
// Bessel ellipsoid, decimal degrees.
struct GeographicCoords {
    double fi;
    double lambda;
};

// A geodetic point from geocentric coordinates, with the sines and cosines
// of its latitude and longitude, which the stages after it take instead of
// computing them again.
struct GeodeticPoint {
    GeographicCoords g;  // degrees
    double h;            // ellipsoidal height, metres
    double sin_fi, cos_fi, sin_lambda, cos_lambda;
};

// An angle split into degrees, minutes and seconds, every part carrying
// the sign of the angle.
struct Sexagesimal {
    std::int32_t degrees;
    std::int32_t minutes;
    double seconds;
};

// Prime-vertical radius N and geocentric Cartesian coordinates (metres).
struct GeocentricCoords {
    double N;
    double X;
    double Y;
    double Z;
};

// Geocentric Cartesian coordinates, metres.
struct Cartesian {
    double X;
    double Y;
    double Z;
};

// The point in ETRS89 by ČÚZK's method, and the stages on the way. The
// input's height is then the normal height H in the Baltic system (Bpv).
struct Etrs89Coords {
    bool inside;  // within the correction table's data; nothing else is set otherwise
    double X05;   // S-JTSK/05 / Modified Krovak: southing and westing, metres
    double Y05;
    GeographicCoords bessel05;    // fi05, lambda05 on Bessel 1841, S-JTSK/05
    GeographicCoords geographic;  // ETRS89 fi, lambda on GRS80, degrees
    double zeta;                  // CR-2005 quasigeoid height above GRS80, metres
    double h;                     // ellipsoidal height H + zeta, metres
    GeocentricCoords geocentric;  // on GRS80, from fi, lambda and h
};

// Everything known about one point, from the typed input to the geocentric
// coordinates.
struct PointResult {
    PlanePoint plane;
    PolarCoords polar;
    CartographicCoords cartographic;
    SphericalCoords spherical;
    GeographicCoords geographic;
    Sexagesimal lambda_dms;
    Sexagesimal fi_dms;
    GeocentricCoords geocentric;
    Etrs89Coords etrs89;  // computed only where asked for
};

}  // namespace geochain
