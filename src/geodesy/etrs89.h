// S-JTSK + Bpv to ETRS89 by ČÚZK's method ("Metodika převodu mezi ETRF2000
// a S-JTSK, varianta 2"; EPSG:5514+8357 to EPSG:4937): the correction
// table to S-JTSK/05, the modified Krovak projection back to Bessel, the
// Helmert transformation to ETRS89, and heights by the quasigeoid CR-2005.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/cuzk_grids.h"
#include "geodesy/grid_interpolation.h"
#include "geodesy/records.h"

namespace geochain {

// The Modified Krovak projection (EPSG method 1042) as S-JTSK/05 defines
// it (EPSG:5516): the Krovak projection of S-JTSK, false easting and
// northing 5,000 km, and a polynomial correction of the plane
// coordinates, in metres, about the reference point X0, Y0:
//   dX = C1 + C3 Xr - C4 Yr - 2 C6 Xr Yr + C5 (Xr^2 - Yr^2)
//        + C7 Xr (Xr^2 - 3 Yr^2) - C8 Yr (3 Xr^2 - Yr^2)
//        + 4 C9 Xr Yr (Xr^2 - Yr^2) + C10 (Xr^4 + Yr^4 - 6 Xr^2 Yr^2)
//   dY = C2 + C3 Yr + C4 Xr + 2 C5 Xr Yr + C6 (Xr^2 - Yr^2)
//        + C8 Xr (Xr^2 - 3 Yr^2) + C7 Yr (3 Xr^2 - Yr^2)
//        - 4 C10 Xr Yr (Xr^2 - Yr^2) + C9 (Xr^4 + Yr^4 - 6 Xr^2 Yr^2)
// with Xr = Xk - X0, Yr = Yk - Y0 on the Krovak plane; X05 = Xk - dX + FN.
struct ModifiedKrovak {
    double false_northing;  // metres, added to the southing X
    double false_easting;   // added to the westing Y
    double X0;              // reference point of the polynomial, metres
    double Y0;
    double C[10];
};

inline constexpr ModifiedKrovak MODIFIED_KROVAK{
    5000000.0,
    5000000.0,
    1089000.0,
    654000.0,
    {2.946529277E-02, 2.515965696E-02, 1.193845912E-07, -4.668270147E-07, 9.233980362E-12,
     1.523735715E-12, 1.696780024E-18, 4.408314235E-18, -8.331083518E-24, -3.689471323E-24},
};

// A 7-parameter Helmert transformation, coordinate frame rotation (EPSG
// method 1032), with the rotation matrix in its linear form as EPSG
// defines the method.
struct Helmert {
    double tx, ty, tz;  // metres
    double rx, ry, rz;  // arc-seconds
    double scale_ppm;   // parts per million
};

// S-JTSK/05 to ETRS89 (EPSG:5226).
inline constexpr Helmert S_JTSK05_TO_ETRS89{572.213, 85.334,  461.94, -4.9732,
                                            -1.529,  -5.2484, 3.5378};

// The Krovak plane to S-JTSK/05: X05 = Xk - dX + FN, Y05 = Yk - dY + FE.
void to_modified_krovak(PlanePoint krovak, const ModifiedKrovak& m, double& X05, double& Y05);

// S-JTSK/05 plane coordinates back to the Krovak plane: the polynomial
// correction undone by iteration, to well under a micrometre.
PlanePoint from_modified_krovak(double X05, double Y05, double h, const ModifiedKrovak& m);

Cartesian helmert_coordinate_frame(Cartesian p, const Helmert& t);
// Its exact inverse: a point there and back comes back to itself; and that
// of its rotation and scale alone, for a direction.
Cartesian helmert_coordinate_frame_inverse(Cartesian p, const Helmert& t);
Cartesian helmert_rotation_inverse(Cartesian v, const Helmert& t);

// Geodetic latitude and longitude (degrees) of a geocentric point, by
// Bowring's formula (one step, exact to a micrometre for any height on
// Earth); and with its height and the sines and cosines of both angles.
GeographicCoords to_geodetic(Cartesian p, const Ellipsoid& e);
GeodeticPoint to_geodetic_point(Cartesian p, const Ellipsoid& e);

// The whole method for one point, its height taken as H (Bpv).
Etrs89Coords to_etrs89(PlanePoint p);

// The method backwards, from ETRS89 fi, lambda (degrees) and h (GRS80):
// the stages in `r` (its geographic, h and geocentric the ETRS89 point's),
// and the S-JTSK point with its normal height H = h - zeta. False off the
// quasigeoid or the correction table.
bool from_etrs89(GeographicCoords etrs, double h, Etrs89Coords& r, PlanePoint& s_jtsk);

}  // namespace geochain
