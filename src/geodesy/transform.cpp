#include "geodesy/transform.h"

#include "geodesy/plane_to_sphere.h"

namespace geochain {

PointResult transform_point(PlanePoint p) {
    PointResult r{};
    r.plane = p;
    r.polar = to_polar(p);
    r.cartographic = to_cartographic(r.polar);
    r.spherical = to_spherical(r.cartographic);
    return r;
}

}  // namespace geochain
