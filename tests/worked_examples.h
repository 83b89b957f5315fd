// The worked examples of the report, shared by the tests of the chain, the
// console report and the log.
#pragma once

#include <string>

#include "geodesy/records.h"

namespace geochain {

// The worked examples a surveyor can check by hand: angles in degrees to
// eight decimals, seconds and lengths to four.
struct WorkedExample {
    PlanePoint in;
    const char* ro;
    const char* epsilon;
    const char* D;
    const char* S;
    const char* U;
    const char* V;
    const char* lambda;
    const char* fi;
    const char* N_plus_h;
    const char* X;
    const char* Y;
    const char* Z;
};

// clang-format off
inline const WorkedExample WORKED_EXAMPLES[] = {
    {{1100000, 700000, 300}, "1303840.48104053", "32.47119229", "33.13641562", "78.44790021",
     "49.59071283", "32.80331049", "15o 7' 1.4002''", "49o 37' 51.3864''", "6390087.1339",
     "3995687.2066", "1079395.2686", "4836039.0639"},
    {{1041000, 740000, 250}, "1277216.11327136", "35.40730626", "36.13268049", "78.68699834",
     "50.06874429", "32.14329189", "14o 27' 26.7521''", "50o 6' 34.7346''", "6390213.4155",
     "3968399.1750", "1023152.8255", "4870315.8104"},
    {{1100000, 0, 0}, "1100000.00000000", "0.00000000", "0.00000000", "80.27817937",
     "49.99003962", "42.52539368", "24o 49' 60.0000''", "50o 1' 50.9970''", "6389934.4261",
     "3725184.5569", "1723907.5603", "4864497.7200"},
    {{1100000, -700000, 300}, "1303840.48104053", "-32.47119229", "-33.13641562", "78.44790021",
     "49.59071283", "52.24747687", "34o 32' 58.5998''", "49o 37' 51.3864''", "6390087.1339",
     "3408956.3909", "2347259.4070", "4836039.0639"},
};
// clang-format on

// The whole console report of the first example, byte for byte.
inline const std::string REPORT_1100000_700000_300 =
    "\n"
    "Polarni souradnice (ro,epsilon) : \n"
    "-------------------------------- \n"
    "ro = 1303840.48104053    epsilon = 32.47119229\n"
    "\n"
    "Kartograficke souradnice (S,D) : \n"
    "-------------------------------- \n"
    "D = 33.13641562    S = 78.44790021\n"
    "\n"
    "Sferick"
    "\xE9"
    " souradnice (U,V) : \n"
    "--------------------------- \n"
    "U = 49.59071283    V (E-Ferro.) = 32.80331049\n"
    "\n"
    "Zemepisne souradnice (fi,lambda) : \n"
    "---------------------------------- \n"
    "lambda = 15o 7' 1.4002'' \n"
    "fi = 49o 37' 51.3864'' N= 6390087.1339\n"
    "\n"
    "Geocentricke souradnice : \n"
    "------------------------- \n"
    "X = 3995687.2066   Y = 1079395.2686   Z = 4836039.0639";

// The report the console shows for a worked example.
inline std::string expected_report(const WorkedExample& ex) {
    return std::string(
               "\nPolarni souradnice (ro,epsilon) : \n-------------------------------- \n") +
           "ro = " + ex.ro + "    epsilon = " + ex.epsilon + "\n\n" +
           "Kartograficke souradnice (S,D) : \n-------------------------------- \n" +
           "D = " + ex.D + "    S = " + ex.S + "\n\n" +
           "Sferick\xE9 souradnice (U,V) : \n--------------------------- \n" + "U = " + ex.U +
           "    V (E-Ferro.) = " + ex.V + "\n\n" +
           "Zemepisne souradnice (fi,lambda) : \n---------------------------------- \n" +
           "lambda = " + ex.lambda + " \nfi = " + ex.fi + " N= " + ex.N_plus_h + "\n\n" +
           "Geocentricke souradnice : \n------------------------- \n" + "X = " + ex.X +
           "   Y = " + ex.Y + "   Z = " + ex.Z;
}

// The record fi.txt receives for a worked example.
inline std::string expected_record(const WorkedExample& ex) {
    return std::string("Kartograficke souradnice S, D : \r\n") + "S = " + ex.S + "   D = " + ex.D +
           "\r\n" + "Sfericke souradncie U, V : \r\n" + "U = " + ex.U + "   V = " + ex.V + "\r\n";
}

// The dialogue's own texts around each point.
inline const std::string HEADER = "Zadat souradnice :\n-------------------\n";
inline const std::string X_PROMPT = "    X = ";
inline const std::string Y_PROMPT = "    Y = ";
inline const std::string H_PROMPT = "h (elipsoidicka) = ";
inline const std::string PROMPTS = X_PROMPT + Y_PROMPT + H_PROMPT;
inline const std::string QUESTION =
    "\n\nVymazat obrazovku a pokracovat ? [ano='cokoliv' ne = '0'] ?";
inline const std::string ASIN_DOMAIN_ERROR = "\r\nasin: DOMAIN error\r\n";

}  // namespace geochain
