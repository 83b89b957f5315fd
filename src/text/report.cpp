#include "text/report.h"

#include "geodesy/constants.h"
#include "text/format_fixed.h"

namespace geochain {

namespace {

// Angles to eight decimals, in degrees.
void append_angle(std::string& text, double radians) {
    append_fixed(text, radians * DEG_PER_RAD, 8);
}

// "15o 7' 1.4002'' ": "o" stands for the degree sign.
void append_dms(std::string& text, const Sexagesimal& s) {
    append_integer(text, s.degrees);
    text += "o ";
    append_integer(text, s.minutes);
    text += "' ";
    append_fixed(text, s.seconds, 4);
    text += "'' ";
}

// 0xE9 is e-acute in Windows-1250 and ISO 8859-2, written as that one byte.
// A literal of its own, so that the hex escape cannot run into the "r".
constexpr char SPHERICAL_HEADING[] =
    "Sferick"
    "\xE9"
    " souradnice (U,V) : \n";

// Room for a report of every value at its longest but the rare huge ones.
constexpr std::size_t REPORT_ROOM = 1024;

}  // namespace

std::string report_text(const PointResult& r) {
    std::string text;
    text.reserve(REPORT_ROOM);
    text += "\nPolarni souradnice (ro,epsilon) : \n-------------------------------- \nro = ";
    append_fixed(text, r.polar.ro, 8);
    text += "    epsilon = ";
    append_angle(text, r.polar.epsilon);
    text += "\n\nKartograficke souradnice (S,D) : \n-------------------------------- \nD = ";
    append_angle(text, r.cartographic.D);
    text += "    S = ";
    append_angle(text, r.cartographic.S);
    text += "\n\n";
    text += SPHERICAL_HEADING;
    text += "--------------------------- \nU = ";
    append_angle(text, r.spherical.U);
    text += "    V (E-Ferro.) = ";
    append_fixed(text, r.spherical.V, 8);
    text +=
        "\n\nZemepisne souradnice (fi,lambda) : \n---------------------------------- \nlambda = ";
    append_dms(text, r.lambda_dms);
    text += "\nfi = ";
    append_dms(text, r.fi_dms);
    text += "N= ";
    append_fixed(text, r.geocentric.N + r.plane.h, 4);
    text += "\n\nGeocentricke souradnice : \n------------------------- \nX = ";
    append_fixed(text, r.geocentric.X, 4);
    text += "   Y = ";
    append_fixed(text, r.geocentric.Y, 4);
    text += "   Z = ";
    append_fixed(text, r.geocentric.Z, 4);
    return text;
}

void print_report(const PointResult& r, std::ostream& out) {
    const std::string text = report_text(r);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace geochain
