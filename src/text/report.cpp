#include "text/report.h"

#include <cstring>
#include <string_view>

#include "geodesy/constants.h"
#include "text/format_fixed.h"

namespace geochain {

namespace {

// Fixed text, copied as it stands.
char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// Angles to eight decimals, in degrees.
char* put_angle(char* at, double radians) { return write_fixed(at, radians * DEG_PER_RAD, 8); }

// "15o 7' 1.4002'' ": "o" stands for the degree sign.
char* put_dms(char* at, const Sexagesimal& s) {
    at = put(write_integer(at, s.degrees), "o ");
    at = put(write_integer(at, s.minutes), "' ");
    return put(write_fixed(at, s.seconds, 4), "'' ");
}

// 0xE9 is e-acute in Windows-1250 and ISO 8859-2, written as that one byte.
// A literal of its own, so that the hex escape cannot run into the "r".
constexpr char SPHERICAL_HEADING[] =
    "\n\nSferick"
    "\xE9"
    " souradnice (U,V) : \n--------------------------- \nU = ";

}  // namespace

char* write_report(char* at, const PointResult& r, RecordValues* values) {
    at = put(at, "\nPolarni souradnice (ro,epsilon) : \n-------------------------------- \nro = ");
    at = write_fixed(at, r.polar.ro, 8);
    at = put_angle(put(at, "    epsilon = "), r.polar.epsilon);
    at = put(at, "\n\nKartograficke souradnice (S,D) : \n-------------------------------- \nD = ");
    // D, S, U and V as written are the log record's too.
    char* const d = at;
    char* const d_end = put_angle(d, r.cartographic.D);
    char* const s = put(d_end, "    S = ");
    char* const s_end = put_angle(s, r.cartographic.S);
    char* const u = put(s_end, SPHERICAL_HEADING);
    char* const u_end = put_angle(u, r.spherical.U);
    char* const v = put(u_end, "    V (E-Ferro.) = ");
    at = write_fixed(v, r.spherical.V, 8);
    if (values != nullptr) {
        const auto text = [](const char* first, const char* last) {
            return std::string_view(first, static_cast<std::size_t>(last - first));
        };
        *values = {text(s, s_end), text(d, d_end), text(u, u_end), text(v, at)};
    }
    at = put(
        at,
        "\n\nZemepisne souradnice (fi,lambda) : \n---------------------------------- \nlambda = ");
    at = put_dms(at, r.lambda_dms);
    at = put_dms(put(at, "\nfi = "), r.fi_dms);
    at = write_fixed(put(at, "N= "), r.geocentric.N + r.plane.h, 4);
    at = put(at, "\n\nGeocentricke souradnice : \n------------------------- \nX = ");
    at = write_fixed(at, r.geocentric.X, 4);
    at = write_fixed(put(at, "   Y = "), r.geocentric.Y, 4);
    return write_fixed(put(at, "   Z = "), r.geocentric.Z, 4);
}

std::string report_text(const PointResult& r) {
    char text[REPORT_ROOM];
    return std::string(text, write_report(text, r));
}

void print_report(const PointResult& r, std::ostream& out) {
    char text[REPORT_ROOM];
    out.write(text, write_report(text, r) - text);
}

}  // namespace geochain
