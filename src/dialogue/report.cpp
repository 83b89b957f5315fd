#include "dialogue/report.h"

#include <string>

#include "dialogue/format_fixed.h"
#include "geodesy/constants.h"

namespace geochain {

namespace {

// Angles and ro to eight decimals; seconds and metres on the ellipsoid to four.
std::string angle(double radians) { return format_fixed(radians * DEG_PER_RAD, 8); }
std::string eight(double value) { return format_fixed(value, 8); }
std::string four(double value) { return format_fixed(value, 4); }

// "15o 7' 1.4002'' ": "o" stands for the degree sign.
std::string dms(const Sexagesimal& s) {
    return format_integer(s.degrees) + "o " + format_integer(s.minutes) + "' " + four(s.seconds) +
           "'' ";
}

// 0xE9 is e-acute in Windows-1250 and ISO 8859-2, written as that one byte.
// A literal of its own, so that the hex escape cannot run into the "r".
constexpr char SPHERICAL_HEADING[] =
    "Sferick"
    "\xE9"
    " souradnice (U,V) : ";

}  // namespace

void print_report(const PointResult& r, std::ostream& out) {
    out << std::endl;
    out << "Polarni souradnice (ro,epsilon) : " << std::endl;
    out << "-------------------------------- " << std::endl;
    out << "ro = " << eight(r.polar.ro) << "    epsilon = " << angle(r.polar.epsilon) << std::endl;
    out << std::endl;
    out << "Kartograficke souradnice (S,D) : " << std::endl;
    out << "-------------------------------- " << std::endl;
    out << "D = " << angle(r.cartographic.D) << "    S = " << angle(r.cartographic.S) << std::endl;
    out << std::endl;
    out << SPHERICAL_HEADING << std::endl;
    out << "--------------------------- " << std::endl;
    out << "U = " << angle(r.spherical.U) << "    V (E-Ferro.) = " << eight(r.spherical.V)
        << std::endl;
    out << std::endl;
    out << "Zemepisne souradnice (fi,lambda) : " << std::endl;
    out << "---------------------------------- " << std::endl;
    out << "lambda = " << dms(r.lambda_dms) << std::endl;
    out << "fi = " << dms(r.fi_dms) << "N= " << four(r.geocentric.N + r.plane.h) << std::endl;
    out << std::endl;
    out << "Geocentricke souradnice : " << std::endl;
    out << "------------------------- " << std::endl;
    out << "X = " << four(r.geocentric.X) << "   Y = " << four(r.geocentric.Y)
        << "   Z = " << four(r.geocentric.Z);
}

}  // namespace geochain
