#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../in_process.h"
#include "../worked_examples.h"
#include "geodesy/transform.h"
#include "run/dialogue.h"

namespace geochain {
namespace {

// An operator at a terminal types a refused entry again; a file cannot, so
// there the first line that cannot be taken ends the run.
TEST(Dialogue, ConversationTable) {
    using namespace std::string_literals;
    const std::vector<InputMode> TERMINAL{InputMode::terminal};
    const std::vector<InputMode> BATCH{InputMode::batch};
    const std::vector<InputMode> BOTH{InputMode::terminal, InputMode::batch};
    struct Case {
        const char* name;
        std::vector<InputMode> modes;
        std::string input;
        std::string out;
        std::string err;
        int status;
        int records;  // of the first worked example, in fi.txt afterwards
    };
    const std::string report = expected_report(WORKED_EXAMPLES[0]) + QUESTION;
    const Case cases[] = {
        {"answer 00 ends", BOTH, P + "\n00 \t\n", CYCLE_P, "", 0, 1},
        {"blank lines", TERMINAL, "\n\n \v\f\n1100000\n\n700000\n300\n\n0\n", CYCLE_P, "", 0, 1},
        // "ne" is Czech for "no", and goes on all the same.
        {"ne and ano continue cleanly", BOTH, P + "\nne\n" + P + "\nano\n" + P + "\n0",
         times(3, CYCLE_P), "", 0, 3},
        {"CR-only line ends", BOTH, P + "\r1\r" + P + "\r0\r", times(2, CYCLE_P), "", 0, 2},
        {"DOS end-of-file byte", BOTH, P + "\r\n1\r\n\x1A", CYCLE_P + AT_X_END, "", 0, 1},
        {"invalid Y keeps X", TERMINAL, "1100000 x 5\n700000 300\n0\n",
         HEADER + X_PROMPT + Y_PROMPT + INVALID + Y_PROMPT + H_PROMPT + report, "", 0, 1},
        {"X abc, end", TERMINAL, "abc", HEADER + X_PROMPT + INVALID + X_PROMPT + "\n", "", 0, 0},
        {"lines counted across CR, LF and CR LF", BATCH, P + "\r1\n\r\n\r1100000 x",
         CYCLE_P + AT_X_END, no_point_on(5, "1100000 x"), 1, 1},
        {"vertical tab and form feed are blanks", BATCH, "1100000\v700000\f300\n0\n", CYCLE_P, "",
         0, 1},
        {"line shown safely", BATCH, "\x1B[2J\t" + std::string(50, '9'), AT_X_END,
         no_point_on(1, R"(\x1B[2J\x09)" + std::string(35, '9') + "..."), 1, 0},
        // The first entry of a UTF-16 file, "1 ", read as bytes; without
        // its mark, the first line "1 1 1".
        {"UTF-16 little-endian", BATCH, "\377\3761\0 \0"s, AT_X_END, UTF16, 1, 0},
        {"UTF-16 big-endian", BATCH, "\376\377\0001\0 "s, AT_X_END, UTF16, 1, 0},
        {"UTF-16 without its mark", BATCH, "1\0 \0001\0 \0001\0\n\0"s, AT_X_END, UTF16, 1, 0},
        {"UTF-16 of one digit", BATCH, "1\0"s, AT_X_END, UTF16, 1, 0},
        {"end at X prompt", BOTH, "", AT_X_END, "", 0, 0},
        {"end at Y prompt", TERMINAL, "1\n", HEADER + X_PROMPT + Y_PROMPT + "\n", INCOMPLETE, 1, 0},
        {"end at h prompt", TERMINAL, "1 2", HEADER + PROMPTS + "\n", INCOMPLETE, 1, 0},
        {"end at question", TERMINAL, P, CYCLE_P + "\n", "", 0, 1},
        // In a file, as after an answer "1": the same output with and without.
        {"end after a point", BATCH, P, CYCLE_P + AT_X_END, "", 0, 1},
        {"end at second X prompt", BOTH, P + "\n1\n", CYCLE_P + AT_X_END, "", 0, 1},
    };
    for (const Case& c : cases) {
        for (const InputMode mode : c.modes) {
            SCOPED_TRACE(std::string(c.name) +
                         (mode == InputMode::terminal ? ", typed" : ", file"));
            const testing_support::TempDir dir;
            std::istringstream in(c.input);
            const auto run = testing_support::run_in_process(
                dir.path, [&](std::ostream& out, std::ostream& err, PendingRecords& log) {
                    return run_dialogue(in, out, err, log, mode);
                });
            EXPECT_EQ(run.status, c.status);
            EXPECT_EQ(run.out, c.out);
            EXPECT_EQ(run.err, c.err);
            EXPECT_EQ(run.log, times(c.records, RECORD_P));
        }
    }
}

// A GNSS point typed back to S-JTSK and Bpv, as a surveyor checks it
// against ČÚZK's example: ETRS89 50 deg N, 15 deg E, h 100 m is S-JTSK
// Y 703011.900, X 1058147.294 with H 55.562. S-JTSK coordinates typed as
// degrees are told and not computed; the log holds the S-JTSK point's
// record.
TEST(Dialogue, BackFromEtrs89) {
    const std::string prompts =
        "Zadat souradnice :\n-------------------\n   fi = lambda = "
        "h (elipsoidicka) = ";
    const std::string report =
        "\nZemepisne souradnice ETRS89 (fi,lambda,h) : \n"
        "------------------------------------------- \n"
        "lambda = 15o 0' 0.00000'' \n"
        "fi = 50o 0' 0.00000'' h = 100.0000\n\n"
        "Geocentricke souradnice ETRS89 : \n-------------------------------- \n"
        "X = 3967954.1051   Y = 1063210.0981   Z = 4862865.6420\n\n"
        "Zemepisne souradnice S-JTSK/05 na Besselove elipsoidu (fi05,lambda05) : \n"
        "---------------------------------------------------------------------- \n"
        "lambda05 = 15o 0' 4.2049'' \nfi05 = 50o 0' 2.7125'' \n\n"
        "Souradnice S-JTSK/05 (Y05,X05) : \n------------------------------- \n"
        "Y05 = 5703011.8667    X05 = 6058147.2358\n\n"
        "Souradnice S-JTSK (Y,X) : \n------------------------- \n"
        "Y = 703011.9001    X = 1058147.2947\n\n"
        "Vyska kvazigeoidu a normalni vyska Bpv (zeta,H) : \n"
        "------------------------------------------------ \n"
        "zeta = 44.4380    H = 55.5620";
    const testing_support::TempDir dir;
    std::istringstream in("1041000 740000 250\n1\n50 15 100\n0\n");
    Layout back;
    back.chain.from_etrs89 = true;
    const auto run = testing_support::run_in_process(
        dir.path, [&](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_dialogue(in, out, err, log, InputMode::terminal, back);
        });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, prompts + "\n\n" + QUESTION.substr(1) + prompts + report + QUESTION);
    EXPECT_EQ(run.err,
              "Bod ma cislo nad 1000: to jsou souradnice S-JTSK, ne fi a lambda ETRS89 ve "
              "stupnich; zadejte jiny.\n");
    EXPECT_EQ(run.log, testing_support::record_of(
                           transform_point(transform_etrs89_point({50, 15}, 100).plane)));
}

}  // namespace
}  // namespace geochain
