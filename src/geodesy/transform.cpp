#include "geodesy/transform.h"

#include "geodesy/etrs89.h"
#include "geodesy/exact_latitude.h"
#include "geodesy/geocentric.h"
#include "geodesy/plane_to_sphere.h"
#include "geodesy/sphere_to_ellipsoid.h"

namespace geochain {

namespace {

// The stages from the plane to the sphere, which every chain shares.
PointResult on_the_sphere(PlanePoint p, const KrovakProjection& projection) {
    PointResult r{};
    r.plane = p;
    r.polar = to_polar(p);
    r.cartographic = to_cartographic(r.polar, projection);
    r.spherical = to_spherical(r.cartographic, projection);
    return r;
}

// fi and lambda on the ellipsoid, split, and the geocentric coordinates
// from them.
void on_the_ellipsoid(PointResult& r, GeographicCoords g, const Ellipsoid& ellipsoid) {
    r.geographic = g;
    r.lambda_dms = split_sexagesimal(g.lambda);
    r.fi_dms = split_sexagesimal(g.fi);
    r.geocentric = to_geocentric(g, r.plane.h, ellipsoid);
}

}  // namespace

PointResult transform_point(PlanePoint p, const KrovakProjection& projection,
                            const Ellipsoid& ellipsoid) {
    PointResult r = on_the_sphere(p, projection);
    on_the_ellipsoid(r, to_geographic(r.spherical, projection), ellipsoid);
    return r;
}

PointResult transform_point(PlanePoint p, ChainOptions options) {
    PointResult r = on_the_sphere(p, KROVAK);
    on_the_ellipsoid(r,
                     options.exact ? to_geographic_exact(r.spherical, KROVAK, BESSEL)
                                   : to_geographic(r.spherical, KROVAK),
                     BESSEL);
    if (options.etrs89) {
        r.etrs89 = to_etrs89(p);
    }
    return r;
}

PointResult transform_etrs89_point(GeographicCoords etrs, double h) {
    Etrs89Coords stages;
    PlanePoint s_jtsk{};
    if (!from_etrs89(etrs, h, stages, s_jtsk)) {
        PointResult r{};
        r.etrs89 = stages;
        return r;
    }
    // Of the classic chain, only what the log keeps of a point: S, D, U, V.
    PointResult r = on_the_sphere(s_jtsk, KROVAK);
    r.etrs89 = stages;
    return r;
}

}  // namespace geochain
