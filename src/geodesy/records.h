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
};

}  // namespace geochain
