#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <string>

#include "dialogue/dialogue.h"
#include "process.h"
#include "worked_examples.h"

namespace geochain {
namespace {

TEST(Dialogue, ConversationTable) {
    struct Case {
        const char* name;
        std::string input;
        std::string out;
        std::string err;
        int status;
        int records;  // of the first worked example, in fi.txt afterwards
    };
    const std::string report = expected_report(WORKED_EXAMPLES[0]) + QUESTION;
    const Case cases[] = {
        {"answer 0 ends", "1100000\n700000\n300\n0\n", CYCLE_P, "", 0, 1},
        {"three numbers on one line", P + "\n0\n", CYCLE_P, "", 0, 1},
        {"answer 00 ends", P + "\n00\n", CYCLE_P, "", 0, 1},
        {"blank lines skipped", "\n\n  \n1100000\n\n700000\n300\n\n\n0\n", CYCLE_P, "", 0, 1},
        {"ano continues cleanly", P + "\nano\n" + P + "\n0\n", times(2, CYCLE_P), "", 0, 2},
        {"n and a continue", P + "\nn\n" + P + "\na\n" + P + "\n0", times(3, CYCLE_P), "", 0, 3},
        {"decimal comma re-asks X", "12,5 1 2\n" + P + "\n0\n",
         HEADER + X_PROMPT + INVALID + PROMPTS + report, "", 0, 1},
        {"invalid Y keeps X", "1100000 x 5\n700000 300\n0\n",
         HEADER + X_PROMPT + Y_PROMPT + INVALID + Y_PROMPT + H_PROMPT + report, "", 0, 1},
        {"end at X prompt", "", HEADER + X_PROMPT + "\n", "", 0, 0},
        {"end after invalid X", "abc", HEADER + X_PROMPT + INVALID + X_PROMPT + "\n", "", 0, 0},
        {"end at Y prompt", "1\n", HEADER + X_PROMPT + Y_PROMPT + "\n", INCOMPLETE, 1, 0},
        {"end at h prompt", "1 2", HEADER + PROMPTS + "\n", INCOMPLETE, 1, 0},
        {"end at question", P, CYCLE_P + "\n", "", 0, 1},
        {"end at second X prompt", P + "\n1\n", CYCLE_P + HEADER + X_PROMPT + "\n", "", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testing_support::TempDir dir;
        std::istringstream in(c.input);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(run_dialogue(in, out, err, (dir.path / "fi.txt").string()), c.status);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
        EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), times(c.records, RECORD_P));
    }
}

// Standard output closes once the report and the two line ends after it are
// through: the question is lost, and with it the run. A reader process that
// closes a pipe races with the writes that follow; this output fails at
// exactly that byte.
TEST(Dialogue, OutputLostAtTheQuestionEndsTheRunWithStatus1) {
    struct ClosingOutput : std::streambuf {
        std::string taken;
        std::size_t room = CYCLE_P.size() - QUESTION.size() + 2;
        int_type overflow(int_type c) override {
            if (taken.size() == room) {
                return traits_type::eof();
            }
            taken += traits_type::to_char_type(c);
            return c;
        }
    } screen;
    const testing_support::TempDir dir;
    std::istringstream in(P + "\n1\n" + P + "\n0\n");
    std::ostream out(&screen);
    std::ostringstream err;
    EXPECT_EQ(run_dialogue(in, out, err, (dir.path / "fi.txt").string()), 1);
    EXPECT_EQ(screen.taken, CYCLE_P.substr(0, screen.room));
    EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), RECORD_P);
}

#ifndef _WIN32
TEST(Dialogue, NewLogGetsMode0666LessTheUmask) {
    for (const mode_t mask : {0, 022}) {
        const testing_support::TempDir dir;
        std::istringstream in(P + "\n0\n");
        std::ostringstream out;
        const mode_t saved = ::umask(mask);
        run_dialogue(in, out, out, (dir.path / "fi.txt").string());
        ::umask(saved);
        struct stat st {};
        ASSERT_EQ(::stat((dir.path / "fi.txt").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask) << "umask " << mask;
    }
}
#endif

}  // namespace
}  // namespace geochain
