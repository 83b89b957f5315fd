#include "geodesy/transform.h"

#include "geodesy/etrs89.h"
#include "geodesy/exact_latitude.h"
#include "geodesy/geocentric.h"
#include "geodesy/plane_to_sphere.h"
#include "geodesy/sphere_to_ellipsoid.h"

namespace geochain {

PointResult transform_point(PlanePoint p, const KrovakProjection& projection,
                            const Ellipsoid& ellipsoid) {
    PointResult r{};
    r.plane = p;
    r.polar = to_polar(p);
    r.cartographic = to_cartographic(r.polar, projection);
    r.spherical = to_spherical(r.cartographic, projection);
    r.geographic = to_geographic(r.spherical, projection);
    r.lambda_dms = split_sexagesimal(r.geographic.lambda);
    r.fi_dms = split_sexagesimal(r.geographic.fi);
    r.geocentric = to_geocentric(r.geographic, p.h, ellipsoid);
    return r;
}

PointResult transform_point(PlanePoint p, ChainOptions options) {
    if (!options.exact && !options.etrs89) {
        return transform_point(p);
    }
    PointResult r{};
    r.plane = p;
    r.polar = to_polar(p);
    r.cartographic = to_cartographic(r.polar, KROVAK);
    r.spherical = to_spherical(r.cartographic, KROVAK);
    r.geographic = options.exact ? to_geographic_exact(r.spherical, KROVAK, BESSEL)
                                 : to_geographic(r.spherical, KROVAK);
    r.lambda_dms = split_sexagesimal(r.geographic.lambda);
    r.fi_dms = split_sexagesimal(r.geographic.fi);
    r.geocentric = to_geocentric(r.geographic, p.h, BESSEL);
    if (options.etrs89) {
        r.etrs89 = to_etrs89(p);
    }
    return r;
}

}  // namespace geochain
