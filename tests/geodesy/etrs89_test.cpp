#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "../process.h"
#include "geodesy/ellipsoid_to_plane.h"
#include "geodesy/etrs89.h"
#include "geodesy/exact_latitude.h"
#include "geodesy/plane_to_sphere.h"
#include "geodesy/sphere_to_ellipsoid.h"

namespace geochain {
namespace {

// A plane point of the Krovak cone back to Bessel: exactly, or by the series.
GeographicCoords to_bessel(PlanePoint krovak, bool exact = true) {
    const SphericalCoords s = to_spherical(to_cartographic(to_polar(krovak), KROVAK), KROVAK);
    return exact ? to_geographic_exact(s, KROVAK, BESSEL) : to_geographic(s, KROVAK);
}

// Metres on the ground between two points of Bessel's latitudes.
double apart(GeographicCoords a, double fi, double lambda) {
    return std::hypot(a.fi - fi, (a.lambda - lambda) * std::cos(fi / DEG_PER_RAD)) * 111200.0;
}

// EPSG Guidance Note 7-2's examples: Bessel 50 deg 12' 32.442" N,
// 16 deg 50' 59.179" E is X 1050538.64, Y 568991.00 on S-JTSK (Krovak) and
// X 6050538.71, Y 5568990.91 on S-JTSK/05 (Modified Krovak), each given to
// the centimetre: back within 1.5 cm.
TEST(Etrs89, GuidanceNoteExamplesBackToBessel) {
    const double fi = 50 + 12 / 60.0 + 32.442 / 3600;
    const double lambda = 16 + 50 / 60.0 + 59.179 / 3600;
    EXPECT_LT(apart(to_bessel({1050538.64, 568991.00, 0}), fi, lambda), 0.015);
    const PlanePoint modified = from_modified_krovak(6050538.71, 5568990.91, 0, MODIFIED_KROVAK);
    EXPECT_LT(apart(to_bessel(modified), fi, lambda), 0.015);
    // The series, by contrast, is 0.154" (4.8 m) off there.
    EXPECT_GT(apart(to_bessel({1050538.64, 568991.00, 0}, false), fi, lambda), 4.0);
}

// PROJ's test extract of the correction table, and PROJ 9.7.1's example of
// the whole method: S-JTSK east-north -703011.900, -1058147.294 with H
// 55.562 is ETRS89 50 deg N, 15 deg E, h 100 m; and a point inside cells
// of both grids, as PROJ 9.9 gives it. Off the table's data, a point is
// refused.
TEST(Etrs89, WorkedExamplesOfTheMethod) {
    const struct {
        double X, Y, H;  // S-JTSK and Bpv
        double X05, Y05, fi, lambda, h, within;
    } cases[] = {
        {1160020, 598000, 0, 6160019.978, 5597999.885, NAN, NAN, NAN, 0.0005},
        {1058147.294, 703011.900, 55.562, NAN, NAN, 50.0, 15.0, 100.0, 0.01},
        {1053300, 701300, 300, 6053299.9318, 5701299.9341, 50.0452003202, 15.0149951121, 344.3079,
         0.0002},
    };
    for (const auto& c : cases) {
        const Etrs89Coords e = to_etrs89({c.X, c.Y, c.H});
        ASSERT_TRUE(e.inside);
        EXPECT_TRUE(std::isnan(c.X05) || std::hypot(e.X05 - c.X05, e.Y05 - c.Y05) < c.within);
        EXPECT_TRUE(std::isnan(c.fi) || apart(e.geographic, c.fi, c.lambda) < c.within);
        EXPECT_TRUE(std::isnan(c.h) || std::fabs(e.h - c.h) < c.within) << e.h;
    }
    for (const PlanePoint far : {PlanePoint{1300000, 700000, 0}, PlanePoint{1100000, 300000, 0},
                                 PlanePoint{935000, 760000, 0}}) {
        EXPECT_FALSE(to_etrs89(far).inside) << far.X << " " << far.Y;
    }
}

// The method backwards: the same worked examples from ETRS89 to S-JTSK
// and Bpv, Guidance Note 7-2's point from Bessel forward, and off the
// quasigeoid or the table, nothing.
TEST(Etrs89, WorkedExamplesBackwards) {
    const struct {
        double fi, lambda, h;  // ETRS89
        double X, Y, H, within;
    } cases[] = {
        {50.0, 15.0, 100.0, 1058147.294, 703011.900, 55.562, 0.01},
        {50.0452003202, 15.0149951121, 344.3079, 1053300, 701300, 300, 0.0002},
        // Rounded to 9 decimals, this point's S-JTSK/05 image falls where
        // the table's interpolation jumps at a half-cell line (X 1093 km):
        // it maps back from either side to a few millimetres.
        {49.824871055, 16.854461409, 894.1044, 1093000.000, 573000.054, 850, 0.005},
    };
    for (const auto& c : cases) {
        Etrs89Coords stages;
        PlanePoint p{};
        ASSERT_TRUE(from_etrs89({c.fi, c.lambda}, c.h, stages, p));
        EXPECT_LT(std::hypot(p.X - c.X, p.Y - c.Y), c.within) << p.X << " " << p.Y;
        EXPECT_LT(std::fabs(p.h - c.H), c.within) << p.h;
    }
    const GeographicCoords bessel{50 + 12 / 60.0 + 32.442 / 3600, 16 + 50 / 60.0 + 59.179 / 3600};
    const PlanePoint krovak = to_krovak_plane(
        to_oblique_cartographic(to_gauss_sphere(bessel, KROVAK, BESSEL), KROVAK), 0, KROVAK);
    EXPECT_LT(std::hypot(krovak.X - 1050538.64, krovak.Y - 568991.00), 0.015);
    double X05 = 0;
    double Y05 = 0;
    to_modified_krovak(krovak, MODIFIED_KROVAK, X05, Y05);
    EXPECT_LT(std::hypot(X05 - 6050538.71, Y05 - 5568990.91), 0.015);
    for (const GeographicCoords far :
         {GeographicCoords{52.5, 15}, GeographicCoords{49.5, 10.5}, GeographicCoords{47.0, 17.0}}) {
        Etrs89Coords stages;
        PlanePoint p{};
        EXPECT_FALSE(from_etrs89(far, 300, stages, p)) << far.fi << " " << far.lambda;
    }
}

// There and back over the table's whole area, every 7 km, at the heights
// of the country and beyond: the same point within 0.1 mm, the same H.
TEST(Etrs89, ThereAndBackIsThePoint) {
    int points = 0;
    for (double X = 900000; X < 1250000; X += 7013) {
        for (double Y = 400000; Y < 950000; Y += 7019) {
            const double H = std::fmod(X + Y, 1700.0) - 200.0;
            const Etrs89Coords there = to_etrs89({X, Y, H});
            if (!there.inside) {
                continue;
            }
            Etrs89Coords stages;
            PlanePoint back{};
            ASSERT_TRUE(from_etrs89(there.geographic, there.h, stages, back)) << X << " " << Y;
            ASSERT_LT(std::hypot(back.X - X, back.Y - Y), 1e-4) << X << " " << Y;
            ASSERT_LT(std::fabs(back.h - H), 1e-6) << X << " " << Y;
            ++points;
        }
    }
    EXPECT_GT(points, 1800);
}

// Every node of the tables is the files' own, as GDAL reads them, where
// GDAL is there to read them.
TEST(Etrs89, TablesHoldEveryNodeOfTheFiles) {
    const testing_support::TempDir dir;
    const struct {
        const char* file;
        int band;
        const float* nodes;
        int width, height;
    } grids[] = {
        {"cz_cuzk_table_-y-x_3_v1710.tif", 1, CORRECTION_TABLE.easting_offsets, 241, 152},
        {"cz_cuzk_table_-y-x_3_v1710.tif", 2, CORRECTION_TABLE.northing_offsets, 241, 152},
        {"cz_cuzk_CR-2005.tif", 1, QUASIGEOID.heights, 306, 175},
    };
    for (const auto& g : grids) {
        const std::string xyz = (dir.path / "nodes.xyz").string();
        const std::string command = "gdal_translate -q -of XYZ -b " + std::to_string(g.band) + " " +
                                    GEOCHAIN_GRIDS + "/" + g.file + " " + xyz;
        if (std::system(command.c_str()) != 0) {
            GTEST_SKIP() << "GDAL's gdal_translate is not installed";
        }
        std::ifstream nodes(xyz);
        int count = 0;
        for (double x, y, value; nodes >> x >> y >> value; ++count) {
            // GDAL lists the rows from the north; the tables from the south.
            const int row = g.height - 1 - count / g.width;
            const float ours = g.nodes[row * g.width + count % g.width];
            EXPECT_TRUE(ours == static_cast<float>(value) || (std::isnan(ours) && value == -9999))
                << g.file << " node " << count << ": " << ours << " " << value;
        }
        EXPECT_EQ(count, g.width * g.height);
    }
}

}  // namespace
}  // namespace geochain
