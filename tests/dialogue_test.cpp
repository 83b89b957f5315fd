#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "dialogue/dialogue.h"
#include "process.h"
#include "worked_examples.h"

namespace geochain {
namespace {

const std::string INVALID = "Neplatne cislo, zadejte znovu.\n";
const std::string INCOMPLETE = "Neuplne zadani bodu, konec vstupu.\n";

struct DialogueRun {
    std::string out;
    std::string err;
    int status;
};

DialogueRun drive(const std::string& input, const std::string& log_path) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_dialogue(in, out, err, log_path);
    return {out.str(), err.str(), status};
}

TEST(Dialogue, ConversationTable) {
    struct Case {
        const char* name;
        std::string input;
        std::string out;
        std::string err;
        int status;
    };
    const std::string point = HEADER + PROMPTS + REPORT_1100000_700000_300 + QUESTION;
    const std::string P = "1100000 700000 300";
    const Case cases[] = {
        {"answer 0 ends", "1100000\n700000\n300\n0\n", point, "", 0},
        {"three numbers on one line", P + "\n0\n", point, "", 0},
        {"answer 00 ends", P + "\n00\n", point, "", 0},
        {"blank lines skipped", "\n\n  \n1100000\n\n700000\n300\n\n\n0\n", point, "", 0},
        {"ano continues cleanly", P + "\nano\n" + P + "\n0\n", point + point, "", 0},
        {"n and a continue", P + "\nn\n" + P + "\na\n" + P + "\n0", point + point + point, "", 0},
        {"decimal comma re-asks X", "12,5 1 2\n" + P + "\n0\n",
         HEADER + X_PROMPT + INVALID + PROMPTS + REPORT_1100000_700000_300 + QUESTION, "", 0},
        {"invalid Y keeps X", "1100000 x 5\n700000 300\n0\n",
         HEADER + X_PROMPT + Y_PROMPT + INVALID + Y_PROMPT + H_PROMPT + REPORT_1100000_700000_300 +
             QUESTION,
         "", 0},
        {"end at X prompt", "", HEADER + X_PROMPT + "\n", "", 0},
        {"end after invalid X", "abc", HEADER + X_PROMPT + INVALID + X_PROMPT + "\n", "", 0},
        {"end at Y prompt", "1\n", HEADER + X_PROMPT + Y_PROMPT + "\n", INCOMPLETE, 1},
        {"end at h prompt", "1 2", HEADER + PROMPTS + "\n", INCOMPLETE, 1},
        {"end at question", P, point + "\n", "", 0},
        {"end at second X prompt", P + "\n1\n", point + HEADER + X_PROMPT + "\n", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto dir = testing_support::make_temp_dir();
        const DialogueRun run = drive(c.input, (dir / "fi.txt").string());
        std::filesystem::remove_all(dir);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.status, c.status);
    }
}

TEST(Dialogue, UndefinedPointShowsNonFiniteValuesAndGoesOn) {
    testing::internal::CaptureStderr();
    const auto dir = testing_support::make_temp_dir();
    const DialogueRun run = drive("0 0 0\n0\n", (dir / "fi.txt").string());
    EXPECT_NE(testing_support::read_file(dir / "fi.txt").find("U = +NAN   V = +NAN\r\n"),
              std::string::npos);
    std::filesystem::remove_all(dir);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("ro = 0.00000000    epsilon = "), std::string::npos);
    EXPECT_NE(run.out.find("U = +NAN    V (E-Ferro.) = +NAN"), std::string::npos);
    EXPECT_NE(run.out.find("lambda = -2147483648o -2147483648' "), std::string::npos);
    EXPECT_EQ(run.out.substr(run.out.size() - QUESTION.size()), QUESTION);
}

TEST(Dialogue, LostOutputEndsTheRunWithoutReadingOn) {
    std::istringstream in("1 2 3\n1\n4 5 6\n1\n");
    std::ostream out(nullptr);  // every write fails
    std::ostringstream err;
    EXPECT_EQ(run_dialogue(in, out, err, "fi.txt"), 1);
    EXPECT_EQ(in.tellg(), 0);
}

}  // namespace
}  // namespace geochain
