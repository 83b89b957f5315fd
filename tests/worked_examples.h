// Worked examples a surveyor can check by hand, shared by the tests of the
// report, the log and the whole program.
#pragma once

#include <string>

namespace geochain {

// One point as typed, and every value its report shows: angles in degrees to
// eight decimals, seconds and lengths to four.
struct WorkedExample {
    const char* typed;
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

// The first four span the territory near 49.5 deg. The last six come from an
// independent implementation, far enough from 49.5 deg that the third and
// fourth terms of the latitude series move printed digits.
// clang-format off
inline const WorkedExample WORKED_EXAMPLES[] = {
    {"1100000 700000 300", "1303840.48104053", "32.47119229", "33.13641562", "78.44790021",
     "49.59071283", "32.80331049", "15o 7' 1.4002''", "49o 37' 51.3864''", "6390087.1339",
     "3995687.2066", "1079395.2686", "4836039.0639"},
    {"1041000 740000 250", "1277216.11327136", "35.40730626", "36.13268049", "78.68699834",
     "50.06874429", "32.14329189", "14o 27' 26.7521''", "50o 6' 34.7346''", "6390213.4155",
     "3968399.1750", "1023152.8255", "4870315.8104"},
    {"1100000 0 0", "1100000.00000000", "0.00000000", "0.00000000", "80.27817937",
     "49.99003962", "42.52539368", "24o 49' 60.0000''", "50o 1' 50.9970''", "6389934.4261",
     "3725184.5569", "1723907.5603", "4864497.7200"},
    {"1100000 -700000 300", "1303840.48104053", "-32.47119229", "-33.13641562", "78.44790021",
     "49.59071283", "52.24747687", "34o 32' 58.5998''", "49o 37' 51.3864''", "6390087.1339",
     "3408956.3909", "2347259.4070", "4836039.0639"},
    {"914859.281 448598.340 819.522", "1018924.91120916", "26.12087582", "26.65600295",
     "81.00571808", "51.48220203", "36.05879809", "18o 22' 14.1572''", "51o 31' 30.3675''",
     "6391300.9663", "3773836.3494", "1253237.8293", "4970235.1176"},
    {"895335.269 845304.494 1109.502", "1231326.49264600", "43.35361497", "44.24178181",
     "79.09909648", "51.22303619", "30.36379665", "12o 40' 44.3946''", "51o 15' 56.0547''",
     "6391496.3580", "3901711.7745", "877786.0600", "4952445.1050"},
    {"1022869.766 783521.365 832.677", "1288475.17927524", "37.45222510", "38.21949270",
     "78.58588730", "50.17522492", "31.50414803", "13o 49' 7.2081''", "50o 12' 58.6069''",
     "6390835.2904", "3971077.7071", "976762.3230", "4878361.1274"},
    {"935000 740000 400", "1192403.03589013", "38.35963665", "39.14549400", "79.44861294",
     "51.01162270", "31.93788962", "14o 15' 7.7455''", "51o 3' 13.8922''", "6390709.5575",
     "3893492.7819", "988976.8346", "4937120.9831"},
    {"1245000 560000 200", "1365146.51228357", "24.21817688", "24.71432424", "77.89735620",
     "48.43897312", "34.93254031", "17o 14' 42.0503''", "48o 28' 39.2466''", "6389560.5906",
     "4045310.3436", "1255716.2851", "4751911.8945"},
    {"1300000 700000 150", "1476482.30602334", "28.30075577", "28.88054116", "76.89770335",
     "47.80889376", "33.14291129", "15o 27' 23.2330''", "47o 50' 47.7398''", "6389276.3453",
     "4132876.5319", "1142766.1325", "4705080.2104"},
};
// clang-format on

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
inline const std::string INVALID = "Neplatne cislo, zadejte znovu.\n";
inline const std::string INCOMPLETE = "Vstup skoncil uprostred zadani bodu; bod se nepocita.\n";
inline const std::string END_OF_RUN = ". Vypocet ukoncen.\n";
// A batch run's end at a line that holds no point "X Y h", where a point is
// expected, or where the answer or the next point is.
inline std::string no_point_on(int line, const std::string& shown, bool answer_expected = false) {
    return "Na radku " + std::to_string(line) + " ma byt " +
           (answer_expected ? "odpoved nebo " : "") + "bod \"X Y h\", je tam: " + shown +
           END_OF_RUN;
}
inline const std::string READ_ERROR = "Vstup nelze cist; vypocet ukoncen.\n";
inline const std::string UTF16 =
    "Vstup je v kodovani UTF-16; ulozte ho jako UTF-8 nebo ANSI. Vypocet ukoncen.\n";
inline const std::string ASIN_DOMAIN_ERROR = "\r\nasin: DOMAIN error\r\n";

// The first example as one cycle of the dialogue, and its log record.
inline const std::string P = WORKED_EXAMPLES[0].typed;
inline const std::string AT_X_END = HEADER + X_PROMPT + "\n";  // the input ended at the X prompt
inline const std::string CYCLE_P =
    HEADER + PROMPTS + expected_report(WORKED_EXAMPLES[0]) + QUESTION;
inline const std::string RECORD_P = expected_record(WORKED_EXAMPLES[0]);

// Text repeated n times.
inline std::string times(int n, const std::string& text) {
    std::string all;
    for (int i = 0; i < n; ++i) {
        all += text;
    }
    return all;
}

}  // namespace geochain
