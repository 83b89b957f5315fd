// The console report of one point: five groups, one per stage of the chain.
#pragma once

#include <cstddef>
#include <string_view>

#include "geodesy/records.h"
#include "text/quantities.h"

namespace geochain {

// A piece of the report's fixed text and the quantity that follows it,
// with its decimals, or, for fi and lambda, split into degrees, minutes and
// seconds.
struct ReportPiece {
    std::string_view text;
    Quantity quantity;
    bool sexagesimal;
    int seconds_decimals = 4;  // of an angle split into degrees, minutes and seconds
};

constexpr ReportPiece value_after(std::string_view text, Quantity q) { return {text, q, false}; }
constexpr ReportPiece dms_after(std::string_view text, Quantity q, int seconds_decimals = 4) {
    return {text, q, true, seconds_decimals};
}

// 0xE9 is e-acute in Windows-1250 and ISO 8859-2, written as that one byte.
// A literal of its own, so that the hex escape cannot run into the "r".
inline constexpr char SPHERICAL_HEADING[] =
    "\n\nSferick"
    "\xE9"
    " souradnice (U,V) : \n--------------------------- \nU = ";

// The report as it reads: each piece of text, then what follows it.
inline constexpr ReportPiece REPORT[] = {
    value_after("\nPolarni souradnice (ro,epsilon) : \n-------------------------------- \nro = ",
                Quantity::ro),
    value_after("    epsilon = ", Quantity::epsilon),
    value_after("\n\nKartograficke souradnice (S,D) : \n-------------------------------- \nD = ",
                Quantity::D),
    value_after("    S = ", Quantity::S),
    value_after(SPHERICAL_HEADING, Quantity::U),
    value_after("    V (E-Ferro.) = ", Quantity::V),
    dms_after(
        "\n\nZemepisne souradnice (fi,lambda) : \n---------------------------------- \nlambda = ",
        Quantity::lambda),
    dms_after("\nfi = ", Quantity::fi),
    value_after("N= ", Quantity::N_plus_h),
    value_after("\n\nGeocentricke souradnice : \n------------------------- \nX = ", Quantity::X),
    value_after("   Y = ", Quantity::Y),
    value_after("   Z = ", Quantity::Z),
};

// The stages of ČÚZK's method, each its heading and values, shown both
// ways in the order they are computed. There, after the Bessel report:
// S-JTSK/05, Bessel on it, ETRS89 fi and lambda (seconds to 5 decimals, as
// ČÚZK writes them), the quasigeoid height and h, and ETRS89 geocentric
// X, Y, Z from them. Back: the ETRS89 point as given, its geocentric X, Y,
// Z, Bessel on S-JTSK/05, S-JTSK/05, S-JTSK, and zeta and H.
inline constexpr ReportPiece S_JTSK05_STAGE[] = {
    value_after("\n\nSouradnice S-JTSK/05 (Y05,X05) : \n------------------------------- \nY05 = ",
                Quantity::Y05),
    value_after("    X05 = ", Quantity::X05),
};
inline constexpr ReportPiece BESSEL05_STAGE[] = {
    dms_after("\n\nZemepisne souradnice S-JTSK/05 na Besselove elipsoidu (fi05,lambda05) : "
              "\n---------------------------------------------------------------------- "
              "\nlambda05 = ",
              Quantity::lambda05),
    dms_after("\nfi05 = ", Quantity::fi05),
};
inline constexpr ReportPiece ETRS89_GEOGRAPHIC_STAGE[] = {
    dms_after(
        "\n\nZemepisne souradnice ETRS89 (fi,lambda) : \n----------------------------------------- "
        "\nlambda = ",
        Quantity::lambda_etrs, 5),
    dms_after("\nfi = ", Quantity::fi_etrs, 5),
};
inline constexpr ReportPiece ETRS89_HEIGHT_STAGE[] = {
    value_after("\n\nVyska kvazigeoidu a elipsoidicka vyska ETRS89 (zeta,h) : "
                "\n-------------------------------------------------------- \nzeta = ",
                Quantity::zeta),
    value_after("    h = ", Quantity::h_etrs),
};
inline constexpr ReportPiece ETRS89_GEOCENTRIC_STAGE[] = {
    value_after("\n\nGeocentricke souradnice ETRS89 : \n-------------------------------- \nX = ",
                Quantity::X_etrs),
    value_after("   Y = ", Quantity::Y_etrs),
    value_after("   Z = ", Quantity::Z_etrs),
};
inline constexpr ReportPiece ETRS89_GIVEN_STAGE[] = {
    dms_after("\nZemepisne souradnice ETRS89 (fi,lambda,h) : "
              "\n------------------------------------------- \nlambda = ",
              Quantity::lambda_etrs, 5),
    dms_after("\nfi = ", Quantity::fi_etrs, 5),
    value_after("h = ", Quantity::h_etrs),
};
inline constexpr ReportPiece S_JTSK_STAGE[] = {
    value_after("\n\nSouradnice S-JTSK (Y,X) : \n------------------------- \nY = ",
                Quantity::Y_s_jtsk),
    value_after("    X = ", Quantity::X_s_jtsk),
};
inline constexpr ReportPiece NORMAL_HEIGHT_STAGE[] = {
    value_after("\n\nVyska kvazigeoidu a normalni vyska Bpv (zeta,H) : "
                "\n------------------------------------------------ \nzeta = ",
                Quantity::zeta),
    value_after("    H = ", Quantity::H),
};

// The seconds of an angle split into degrees, minutes and seconds, at most.
inline constexpr int SECONDS_DECIMALS = 5;

// "15o 7' 1.4002'' ": "o" stands for the degree sign; "o ", "' " and "'' "
// around the three numbers.
inline constexpr std::size_t DMS_TEXT = 7;
inline constexpr std::size_t DMS_ROOM = 2 * INTEGER_ROOM + fixed_room(SECONDS_DECIMALS) + DMS_TEXT;

template <std::size_t N>
constexpr std::size_t pieces_room(const ReportPiece (&pieces)[N]) {
    std::size_t room = 0;
    for (const ReportPiece& piece : pieces) {
        room += piece.text.size() +
                (piece.sexagesimal ? DMS_ROOM : fixed_room(rule(piece.quantity).decimals));
    }
    return room;
}

constexpr std::size_t report_room() {
    const std::size_t there = pieces_room(REPORT) + pieces_room(S_JTSK05_STAGE) +
                              pieces_room(BESSEL05_STAGE) + pieces_room(ETRS89_GEOGRAPHIC_STAGE) +
                              pieces_room(ETRS89_HEIGHT_STAGE) +
                              pieces_room(ETRS89_GEOCENTRIC_STAGE);
    const std::size_t back = pieces_room(ETRS89_GIVEN_STAGE) +
                             pieces_room(ETRS89_GEOCENTRIC_STAGE) + pieces_room(BESSEL05_STAGE) +
                             pieces_room(S_JTSK05_STAGE) + pieces_room(S_JTSK_STAGE) +
                             pieces_room(NORMAL_HEIGHT_STAGE);
    return there > back ? there : back;
}

// After the report of a point whose line has no height: the values that
// need one are computed with 0.
inline constexpr std::string_view NO_HEIGHT =
    "\nVyska h chybi: N + h a X, Y, Z jsou spocteny s h = 0.";

// Room for a report at its longest: its fixed text and every value in it.
inline constexpr std::size_t REPORT_ROOM = report_room() + NO_HEIGHT.size();

// Writes the fixed Czech layout at `at`, which has REPORT_ROOM bytes, line
// ends as "\n", and returns the end: right after the Z value (with etrs89,
// the ETRS89 one), or, without a height, after the line that says so, with
// no line end. Each quantity's text is set in `values` as written.
char* write_report(char* at, const PointResult& r, WrittenValues& values, bool height = true,
                   bool etrs89 = false);

// The report of a point back from ETRS89, the same way: it ends right after
// the value of H.
char* write_etrs89_back_report(char* at, const PointResult& r, WrittenValues& values);

}  // namespace geochain
