#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "process.h"
#include "worked_examples.h"

namespace geochain {
namespace {

using testing_support::Surroundings;

const std::string EARLIER_SEASON = "records of an earlier season\r\nno line end at the end";
const std::string CLEAR = "\x1b[H\x1b[2J";
const std::string BOM = "\xEF\xBB\xBF";

struct Row {
    const char* name;
    Surroundings how;  // memory_bound rows read one 200 MB line instead of the input
    // fi.txt before the run, as "ls -F" would show it: "" for none, "/" for a
    // directory, "|" for a FIFO, "-> target" for a symbolic link, or else
    // its bytes.
    std::string log_before;
    std::string input;
    int status;
    std::optional<std::string> out;  // as the program writes it; the platform may add CRs
    std::string err;
    std::string log;  // fi.txt afterwards; "" when it is not a regular file
    std::string terminal;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

std::vector<Row> rows() {
    std::string examples_in;
    std::string notepad = BOM;  // and CR LF
    std::string examples_out;
    std::string examples_log = EARLIER_SEASON;
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        const bool last = &ex == std::end(WORKED_EXAMPLES) - 1;
        examples_in += ex.typed + std::string(last ? "\n0\n" : "\n1\n");
        notepad += ex.typed + std::string(last ? "\r\n0\r\n" : "\r\n1\r\n");
        examples_out.append(HEADER).append(PROMPTS).append(expected_report(ex)).append(QUESTION);
        examples_log += expected_record(ex);
    }
    const std::string two = P + "\n1\n" + P + "\n0\n";
    // D is the machine's own 0/0 carried on: x86-64 makes it negative,
    // arm64 positive.
    volatile double zero = 0.0;
    const std::string nan_record = "Kartograficke souradnice S, D : \r\nS = 90.00000000   D = " +
                                   std::string(std::signbit(zero / zero) ? "-" : "+") +
                                   "NAN\r\nSfericke souradncie U, V : \r\nU = +NAN   V = +NAN\r\n";
    // As typed into a pipe, one read a line, blank lines between the
    // entries, and the second point split between two reads; before it all
    // a byte-order mark that a pipe hands over a byte at a time, its last
    // byte with a block that fills the pipe. Each read's first two bytes
    // differ, so that a reader taking any byte but the first shows. The
    // script then just ends, after an answer 1.
    const WorkedExample& q = WORKED_EXAMPLES[1];
    const std::string typed = "\xEF|\xBB|\xBF\n" + std::string(70000, ' ') +
                              "1041000\n|\n|\n|740000\n|250\n|\n|1\n|1041000 740|000 250\n|1\n";
    const std::string cycle_q = HEADER + PROMPTS + expected_report(q) + QUESTION;
    // Refused entries typed again, the answer a word: the operator's way.
    const std::string keys = "12,5 1 2\n" + P + "\nano\n" + P + "\n0\n";
    const std::string keys_out =
        HEADER + X_PROMPT + INVALID + CYCLE_P.substr(HEADER.size()) + CYCLE_P;
    const std::string nearly_full((64 << 10) - 1000, '-');
    const std::string joined = BOM + P + "\r\n1\r\n|" + BOM + P + "\r\n0\r\n";
    using S = Surroundings;
    // clang-format off
    return {
        {"worked_examples_after_an_earlier_season", S::files, EARLIER_SEASON, examples_in, 0,
         examples_out, "", examples_log, ""},
        {"arcsine_reports_framed_by_CR_LF", S::files, "", "0 0 0\n0\n", 0, std::nullopt,
         ASIN_DOMAIN_ERROR + ASIN_DOMAIN_ERROR, nan_record, ""},
        {"log_a_directory", S::files, "/", two, 0, times(2, CYCLE_P), "", "", ""},
        {"log_a_link_to_a_full_device", S::files, "-> /dev/full", two, 0, times(2, CYCLE_P), "", "",
         ""},
        {"line_of_200_MB_in_64_MiB", S::memory_bound, "", "", 1, AT_X_END,
         REFUSED + "1: " + std::string(40, '7') + "..." + END_OF_RUN, "", ""},
        {"points_100_under_64_descriptors", S::descriptor_limit, "", times(99, P + "\n1\n") + P + "\n0\n",
         0, times(100, CYCLE_P), "", times(100, RECORD_P), ""},
        {"stdout_a_closed_pipe", S::stdout_broken_pipe, "", two, 1, "", "", "", ""},
        {"stdout_a_full_device", S::stdout_full_device, "", two, 1, "", "", "", ""},
        {"stdin_closed", S::stdin_closed, "", two, 0, AT_X_END, "", "", ""},
        {"stdin_a_directory", S::stdin_directory, "", two, 0, AT_X_END, "", "", ""},
        {"stdout_closed_on_a_terminal", S::terminal_stdout_closed, "", two, 1, "", "", "", CLEAR},
        {"stderr_closed_on_a_terminal", S::terminal_stderr_closed, "", "0 0 0\n0\n", 0,
         std::nullopt, "", nan_record, CLEAR},
        {"notepad_file_with_byte_order_mark_and_CR_LF", S::files, EARLIER_SEASON, notepad, 0,
         examples_out, "", examples_log, ""},
        {"typed_line_by_line", S::stdin_pipe_in_pieces, "", typed, 0, times(2, cycle_q) + AT_X_END,
         "", times(2, expected_record(q)), ""},
        {"typed_into_a_non_blocking_pipe", S::stdin_nonblocking_pipe_in_pieces, "", typed, 0,
         times(2, cycle_q) + AT_X_END, "", times(2, expected_record(q)), ""},
        // The second file's byte-order mark begins a read: it is no number.
        {"two_notepad_files_joined_with_cat", S::stdin_pipe_in_pieces, "", joined, 1,
         CYCLE_P + AT_X_END, REFUSED + R"(3: \xEF\xBB\xBF1100000)" + END_OF_RUN, RECORD_P, ""},
        {"awk_recipe_with_a_decimal_comma_on_line_3", S::files, "",
         P + "\n1\n1050000 650000,5 250\n1\n" + P + "\n0\n", 1,
         CYCLE_P + HEADER + X_PROMPT + Y_PROMPT + "\n",
         testing_support::platform_text(REFUSED + "3: 650000,5" + END_OF_RUN), RECORD_P, ""},
        {"typed_at_a_terminal", S::typed_at_terminal, "", keys, 0, keys_out, "",
         times(2, RECORD_P), times(2, CLEAR)},
        // Neither a clear nor a wait: the log a FIFO nobody reads.
        {"background_job_on_a_tostop_terminal_log_a_FIFO", S::terminal_background, "|", two, 0,
         times(2, CYCLE_P), "", "", ""},
        // A log 1,000 bytes short of the limit, as on a nearly full disk: 7
        // records of 133 bytes fit, the 8th and every later one are taken back.
        {"points_20_under_a_64_KiB_file_size_limit", S::log_size_limited, nearly_full,
         times(19, P + "\n1\n") + P + "\n0\n", 0, times(20, CYCLE_P), "",
         nearly_full + times(7, RECORD_P), ""},
        {"points_2000_to_a_slow_non_blocking_terminal", S::stdout_nonblocking_terminal_read_slowly,
         "", times(1999, P + "\n1\n") + P + "\n0\n", 0, "", "", times(2000, RECORD_P),
         times(2000, CLEAR + CYCLE_P)},
        // The line that the prompt began must end before the message comes.
        {"end_at_Y_prompt_with_2_on_1", S::stderr_on_stdout, "", "1041000\n", 1,
         HEADER + X_PROMPT + Y_PROMPT + "\n" + INCOMPLETE, "", "", ""},
    };
    // clang-format on
}

void prepare(const Row& row, const std::filesystem::path& dir) {
    const auto log = dir / "fi.txt";
    if (row.log_before == "/") {
        std::filesystem::create_directory(log);
#ifndef _WIN32
    } else if (row.log_before == "|") {
        ::mkfifo(log.c_str(), 0600);
#endif
    } else if (row.log_before.rfind("-> ", 0) == 0) {
        std::filesystem::create_symlink(row.log_before.substr(3), log);
    } else if (!row.log_before.empty()) {
        testing_support::write_file(log, row.log_before);
    }
    std::ofstream in(dir / "in", std::ios::binary);
    in << row.input;
    const std::string mib(std::size_t{1} << 20, '7');
    for (int i = 0; row.how == Surroundings::memory_bound && i < 200; ++i) {
        in << mib;
    }
}

class Process : public testing::TestWithParam<Row> {};

TEST_P(Process, EndsByItselfWithExactlyTheseEffects) {
    const Row& row = GetParam();
#ifdef _WIN32
    if (row.how != Surroundings::files || row.log_before.rfind("-> ", 0) == 0) {
        GTEST_SKIP() << "needs POSIX";
    }
#endif
#ifdef GEOCHAIN_EMULATED
    if (row.how == Surroundings::memory_bound) {
        GTEST_SKIP() << "the 64 MiB address-space limit binds the emulator, not the program";
    }
#endif
    const bool needs_full_device =
        row.how == Surroundings::stdout_full_device || row.log_before == "-> /dev/full";
    if (needs_full_device && !std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system (Linux has one; macOS and the BSDs do not)";
    }
    const testing_support::TempDir dir;
    prepare(row, dir.path);
    const auto run = testing_support::run_geochain(dir.path, row.how);
    EXPECT_EQ(run.status, row.status);
    if (row.out) {
        EXPECT_EQ(run.out, testing_support::platform_text(*row.out));
    }
    EXPECT_EQ(run.err, row.err);
    const auto log = dir.path / "fi.txt";
    const bool regular = std::filesystem::is_regular_file(std::filesystem::symlink_status(log));
    EXPECT_EQ(regular ? testing_support::read_file(log) : "", row.log);
    EXPECT_EQ(run.terminal, row.terminal);
}

INSTANTIATE_TEST_SUITE_P(Surroundings, Process, testing::ValuesIn(rows()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace geochain
