#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "io/console_streams.h"
#include "io/descriptor_io.h"
#include "io/results_log.h"
#include "process.h"
#include "run/dialogue.h"
#include "worked_examples.h"

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
            std::ostringstream out;
            std::ostringstream err;
            EXPECT_EQ(run_dialogue(in, out, err, (dir.path / "fi.txt").string(), mode), c.status);
            EXPECT_EQ(out.str(), c.out);
            EXPECT_EQ(err.str(), c.err);
            EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), times(c.records, RECORD_P));
        }
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
            const bool full = taken.size() == room;
            taken.append(full ? 0 : 1, traits_type::to_char_type(c));
            return full ? traits_type::eof() : c;
        }
    } screen;
    const testing_support::TempDir dir;
    std::istringstream in(P + "\n1\n" + P + "\n0\n");
    std::ostream out(&screen);
    std::ostringstream err;
    EXPECT_EQ(run_dialogue(in, out, err, (dir.path / "fi.txt").string(), InputMode::batch), 1);
    EXPECT_EQ(screen.taken, CYCLE_P.substr(0, screen.room));
    EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), RECORD_P);
}

// A record cut short is taken back only while it still ends the file: what
// another process appended after it stays.
TEST(ResultsLog, TakesBackOnlyWhatStillEndsTheFile) {
    const testing_support::TempDir dir;
    const std::string path = (dir.path / "fi.txt").string();
    const int ours = open_for_append(path.c_str());
    const int theirs = open_for_append(path.c_str());
    ASSERT_EQ(write_all(ours, "half", 4), 4u);
    ASSERT_EQ(write_all(theirs, "whole\r\n", 7), 7u);
    take_back(ours, 4);
    EXPECT_EQ(testing_support::read_file(path), "halfwhole\r\n");
    take_back(theirs, 7);
    EXPECT_EQ(testing_support::read_file(path), "half");
    close_descriptor(ours);
    close_descriptor(theirs);
}

#ifndef _WIN32
TEST(Dialogue, NewLogGetsMode0666LessTheUmask) {
    for (const mode_t mask : {0, 022}) {
        const testing_support::TempDir dir;
        std::istringstream in(P + "\n0\n");
        std::ostringstream out;
        const mode_t saved = ::umask(mask);
        run_dialogue(in, out, out, (dir.path / "fi.txt").string(), InputMode::batch);
        ::umask(saved);
        const auto mode = std::filesystem::status(dir.path / "fi.txt").permissions();
        EXPECT_EQ(static_cast<mode_t>(mode), 0666 & ~mask) << "umask " << mask;
    }
}

// fi.txt a FIFO whose reader never reads: it gets whole records until it
// is full, and the rest are lost, as on a full disk; nothing waits for it.
TEST(ResultsLog, AFifoThatIsNotReadGetsWholeRecordsOnly) {
    const testing_support::TempDir dir;
    const auto log = dir.path / "fi.txt";
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    const int reader = ::open(log.c_str(), O_RDONLY | O_NONBLOCK);
    append_records(times(1000, RECORD_P), log.string());
    std::string taken(1 << 20, '\0');
    taken.resize(
        static_cast<std::size_t>(std::max(::read(reader, taken.data(), taken.size()), 0L)));
    ::close(reader);
    EXPECT_GT(taken.size(), 0u);
    EXPECT_EQ(taken, times(static_cast<int>(taken.size() / RECORD_P.size()), RECORD_P));
}

// A character put when the block is exactly full goes out after it.
TEST(DescriptorOutput, ACharacterAfterAFullBlock) {
    const testing_support::TempDir dir;
    const auto path = dir.path / "out";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    {
        DescriptorOutput out(fd, true);
        const std::string block(1 << 16, '-');
        out.sputn(block.data(), static_cast<std::streamsize>(block.size()));
        out.sputc('x');
    }
    ::close(fd);
    EXPECT_EQ(testing_support::read_file(path), std::string(1 << 16, '-') + "x");
}
#endif

}  // namespace
}  // namespace geochain
