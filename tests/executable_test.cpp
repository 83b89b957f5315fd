#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cmath>
#include <csignal>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "geodesy/transform.h"
#include "in_process.h"
#include "points_file_model.h"
#include "process.h"
#include "text/geojson.h"
#include "worked_examples.h"

namespace geochain {
namespace {

using testing_support::Surroundings;

const std::string EARLIER_SEASON = "records of an earlier season\r\nno line end at the end";
const std::string CLEAR = "\x1b[H\x1b[2J";
const std::string BOM = "\xEF\xBB\xBF";
const std::string TABLE_HEAD =
    "X\tY\th\tro\tepsilon\tS\tD\tU\tV\tfi\tlambda\tN+h\tXgeo\tYgeo\tZgeo\n";
const std::string P_ROW =
    "1100000\t700000\t300\t1303840.48104053\t32.47119229\t78.44790021\t33.13641562\t"
    "49.59071283\t32.80331049\t49.630940667\t15.117055605\t6390087.1339\t3995687.2066\t"
    "1079395.2686\t4836039.0639\n";

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
    std::vector<std::string> args = {};
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

std::vector<Row> rows() {
    // Answer lines after every point; in Notepad's file (a byte-order mark
    // and CR LF) after some, with blank lines after others, and the same
    // reports.
    std::string examples_in;
    std::string notepad = BOM;
    std::string examples_out;
    // The earlier season's last line, cut without its line end, is ended.
    std::string examples_log = EARLIER_SEASON + "\r\n";
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        const bool last = &ex == std::end(WORKED_EXAMPLES) - 1;
        const auto i = &ex - WORKED_EXAMPLES;
        examples_in += ex.typed + std::string(last ? "\n0\n" : "\n1\n");
        notepad += ex.typed + std::string(last         ? "\r\n0\r\n"
                                          : i % 3 == 0 ? "\r\nano\r\n"
                                                       : "\r\n\r\n");
        examples_out.append(HEADER).append(PROMPTS).append(expected_report(ex)).append(QUESTION);
        examples_log += expected_record(ex);
    }
    // Lines 5, 7, 9 and 11: the points north of 51.16 deg and east of
    // 22.66 deg.
    const std::string warnings =
        "Varovani: bod na radku 5 (X = 1100000, Y = 0) lezi mimo uzemi S-JTSK.\n"
        "Varovani: bod na radku 7 (X = 1100000, Y = -700000) lezi mimo uzemi S-JTSK.\n"
        "Varovani: bod na radku 9 (X = 914859.281, Y = 448598.340) lezi mimo uzemi S-JTSK.\n"
        "Varovani: bod na radku 11 (X = 895335.269, Y = 845304.494) lezi mimo uzemi S-JTSK.\n";
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
                              "1041000 740000 250\n|\n|1\n|1041000 740|000 250\n|1\n";
    const std::string cycle_q = HEADER + PROMPTS + expected_report(q) + QUESTION;
    // Refused entries typed again, the answer a word: the operator's way.
    const std::string keys = "12,5 1 2\n" + P + "\nano\n" + P + "\n0\n";
    const std::string keys_out =
        HEADER + X_PROMPT + INVALID + CYCLE_P.substr(HEADER.size()) + CYCLE_P;
    // Room for 7 records and all but the last byte of an 8th.
    const std::string nearly_full = std::string((64 << 10) - 8 * RECORD_P.size() - 1, '-') + "\r\n";
    // The same room, less the line end with which a line cut before the run
    // is ended first.
    const std::string nearly_full_cut = std::string((64 << 10) - 8 * RECORD_P.size() - 1, '-');
    const std::string OUTPUT_LOST = "Vystup nelze zapsat, konec.\n";
    const std::string joined = BOM + P + "\r\n1\r\n|" + BOM + P + "\r\n0\r\n";
    const std::string dos_files = P + "\r\n" + q.typed + "\r\n\x1A" + P + "\r\n\x1A";
    // With 2>&1, standard error's lines where they stand in the dialogue:
    // the arcsine reports before the report, the warning after it.
    const std::string nan_cycle = HEADER + PROMPTS + ASIN_DOMAIN_ERROR + ASIN_DOMAIN_ERROR +
                                  testing_support::report_of(transform_point({0, 0, 0})) +
                                  "\nVarovani: bod na radku 2 (X = 0, Y = 0) nelze vypocitat.\n" +
                                  QUESTION.substr(1);
    // A GNSS list as a map's collection, stopped while the program waits
    // for more: closed after its last whole feature.
    Layout back;
    back.columns = {Column::fi, Column::lambda, Column::h};
    back.chain.from_etrs89 = true;
    const auto collection_of =
        [&back](const std::vector<std::tuple<const char*, const char*, const char*>>& points,
                std::string& log) {
            std::string collection(GEOJSON_START);
            for (const auto& [fi, lambda, h] : points) {
                const PointResult r =
                    transform_etrs89_point({std::atof(fi), std::atof(lambda)}, std::atof(h));
                const RowWords words{"", fi, lambda, h, ""};
                std::string feature(feature_room(words), '\0');
                feature.resize(static_cast<std::size_t>(
                    write_feature(feature.data(), back, words, r,
                                  collection.size() == GEOJSON_START.size()) -
                    feature.data()));
                collection += feature;
                log += testing_support::record_of(transform_point(r.plane));
            }
            return collection + std::string(GEOJSON_END);
        };
    std::string collection_log;
    const std::string collection =
        collection_of({{"50", "15", "100"}, {"49.5", "16.5", "300"}}, collection_log);
    std::string first_log;
    const std::string first = collection_of({{"50", "15", "100"}}, first_log);
    using S = Surroundings;
    // clang-format off
    return {
        {"worked_examples_after_an_earlier_season", S::files, EARLIER_SEASON, examples_in, 0,
         examples_out, warnings, examples_log, ""},
        {"log_a_directory", S::files, "/", two, 0, times(2, CYCLE_P), "", "", ""},
        {"log_a_link_to_a_full_device", S::files, "-> /dev/full", two, 0, times(2, CYCLE_P), "", "",
         ""},
        {"line_of_200_MB_in_64_MiB", S::memory_bound, "", "", 1, AT_X_END,
         "Radek 1 je delsi nez 65536 bajtu. Vypocet ukoncen.\n", "", ""},
        // A block's records in one append each, 20 appends: none may keep
        // its descriptor.
        {"points_2000_under_16_descriptors", S::descriptor_limit, "",
         times(1999, P + "\n1\n") + P + "\n0\n", 0, times(2000, CYCLE_P), "",
         times(2000, RECORD_P), ""},
        {"points_200_typed_under_16_descriptors", S::typed_at_terminal_few_descriptors, "",
         times(199, P + "\n1\n") + P + "\n0\n", 0, times(200, CYCLE_P), "", times(200, RECORD_P),
         times(200, CLEAR)},
        // No report reached the output: no record.
        {"stdout_a_closed_pipe", S::stdout_broken_pipe, "", two, 1, "", OUTPUT_LOST, "", ""},
        {"help_to_a_closed_pipe", S::stdout_broken_pipe, "", "", 1, "", OUTPUT_LOST, "", "", {"--help"}},
        {"stdin_closed", S::stdin_closed, "", two, 0, AT_X_END, "", "", ""},
        {"stdin_a_directory", S::stdin_directory, "", two, 1, AT_X_END, READ_ERROR, "", ""},
        {"table_from_stdin_a_directory", S::stdin_directory, "", two, 1, TABLE_HEAD, READ_ERROR, "",
         "", {"--table"}},
        // The reset cuts h = 250 to 2: the line is no point, and not named.
        {"stdin_a_socket_reset_inside_a_line", S::stdin_socket_reset, "",
         P + "\n1041000 740000 2", 1, CYCLE_P + AT_X_END, READ_ERROR, RECORD_P, ""},
        // A batch run on a terminal: no clears.
        {"stdout_closed_on_a_terminal", S::terminal_stdout_closed, "", two, 1, "", OUTPUT_LOST, "",
         ""},
        // The arcsine lines go nowhere, neither to the terminal nor to the log.
        {"stderr_closed_typed_at_a_terminal", S::typed_at_terminal_stderr_closed, "", "0 0 0\n0\n",
         0, std::nullopt, "", nan_record, CLEAR},
        // Ctrl-D sends a line without its Enter; a second one ends the input
        // once and for all.
        {"typed_X_Y_then_two_Ctrl_D", S::typed_at_terminal, "", "1100000 700000\x04\x04", 1,
         HEADER + PROMPTS + "\n", INCOMPLETE, "", CLEAR},
        {"typed_point_then_two_Ctrl_D", S::typed_at_terminal, "", P + "\x04\x04", 0, CYCLE_P + "\n",
         "", RECORD_P, CLEAR},
        // A table at a terminal: a row as soon as its line is typed, no
        // clear, and one Ctrl-D after a line without its Enter ends.
        {"table_typed_a_line_refused", S::typed_at_terminal, "", "1100000 700000\n" + P + "\n", 1,
         TABLE_HEAD, no_point_on(1, "1100000 700000"), "", "", {"--table"}},
        {"table_typed_ends_at_Ctrl_D", S::typed_at_terminal, "", P + "\n" + P + "\x04", 0,
         TABLE_HEAD + P_ROW + P_ROW, "", times(2, RECORD_P), "", {"--table"}},
        // On the screen, the row after a line without its Enter begins a
        // line of its own.
        {"table_typed_on_the_screen_ends_at_Ctrl_D", S::typed_at_terminal_output_there, "",
         P + "\n" + P + "\x04", 0, "", "", times(2, RECORD_P), TABLE_HEAD + P_ROW + "\n" + P_ROW,
         {"--table"}},
        {"bad_option_at_a_terminal", S::typed_at_terminal, "", "", 2, "",
         "Neznama volba \"-x\" (napoveda: geochain --help)\n", "", "", {"-x"}},
        // Ctrl-C at a prompt ends the run there, without an Enter.
        {"typed_Ctrl_C_at_the_X_prompt", S::typed_at_terminal_interrupted_at_the_X_prompt, "", "",
         128 + SIGINT, HEADER + X_PROMPT, "", "", CLEAR},
        // What a hang-up cuts off is not the operator's h.
        {"typed_half_a_point_then_hung_up", S::typed_at_terminal_then_hung_up, "",
         "1100000 700000 30\x04", 1, HEADER + PROMPTS + "\n", READ_ERROR, "", ""},
        {"notepad_file_some_answer_lines_some_blank", S::files, EARLIER_SEASON, notepad, 0,
         examples_out, warnings, examples_log, ""},
        {"two_DOS_files_joined_with_cat", S::files, "", dos_files, 0,
         CYCLE_P + cycle_q + CYCLE_P + AT_X_END, "", RECORD_P + expected_record(q) + RECORD_P, ""},
        {"typed_line_by_line", S::stdin_pipe_in_pieces, "", typed, 0, times(2, cycle_q) + AT_X_END,
         "", times(2, expected_record(q)), ""},
        {"typed_into_a_non_blocking_pipe", S::stdin_nonblocking_pipe_in_pieces, "", typed, 0,
         times(2, cycle_q) + AT_X_END, "", times(2, expected_record(q)), ""},
        // The second file's byte-order mark begins a read and a line: it
        // is no part of the line.
        {"two_notepad_files_joined_with_cat", S::stdin_pipe_in_pieces, "", joined, 0,
         times(2, CYCLE_P), "", times(2, RECORD_P), ""},
        {"typed_at_a_terminal", S::typed_at_terminal, "", keys, 0, keys_out, "",
         times(2, RECORD_P), times(2, CLEAR)},
        // Neither a clear nor a wait: the log a FIFO nobody reads.
        {"background_job_on_a_tostop_terminal_log_a_FIFO", S::terminal_background, "|", two, 0,
         times(2, CYCLE_P), "", "", ""},
        // A log nearly full, as on a nearly full disk: the 8th record, cut
        // one byte short, and every later one are taken back.
        {"points_20_under_a_64_KiB_file_size_limit", S::log_size_limited, nearly_full,
         times(19, P + "\n1\n") + P + "\n0\n", 0, times(20, CYCLE_P), "",
         nearly_full + times(7, RECORD_P), ""},
        {"points_20_under_a_64_KiB_file_size_limit_after_a_cut_line", S::log_size_limited,
         nearly_full_cut, times(19, P + "\n1\n") + P + "\n0\n", 0, times(20, CYCLE_P), "",
         nearly_full_cut + "\r\n" + times(7, RECORD_P), ""},
        // A log that cannot take a record at once loses it: nothing waits.
        {"log_a_terminal_nobody_reads", S::log_a_terminal_nobody_reads, "",
         times(1999, P + "\n1\n") + P + "\n0\n", 0, times(2000, CYCLE_P), "", "", ""},
        // The output cut at 64 KiB: a record for each whole report in it.
        {"output_cut_by_a_64_KiB_file_size_limit", S::log_size_limited, "", times(200, P + "\n"), 1,
         times(200, CYCLE_P).substr(0, 64 << 10), OUTPUT_LOST,
         times(static_cast<int>(((64 << 10) + QUESTION.size()) / CYCLE_P.size()), RECORD_P), ""},
        {"points_2000_to_a_slow_non_blocking_terminal", S::stdout_nonblocking_terminal_read_slowly,
         "", times(1999, P + "\n1\n") + P + "\n0\n", 0, "", "", times(2000, RECORD_P),
         times(2000, CYCLE_P)},
        {"zero_point_among_others_with_2_on_1", S::stderr_on_stdout, "", P + "\n0 0 0\n" + P, 0,
         CYCLE_P + nan_cycle + CYCLE_P + AT_X_END, "", RECORD_P + nan_record + RECORD_P, ""},
        {"geojson_stopped_waiting_for_input", S::stdin_left_open_interrupted_once_logged, "",
         "50 15 100\n49.5 16.5 300\n", 128 + SIGINT, collection, "", collection_log, "",
         {"--geojson", "--from-etrs89"}},
        // An empty spreadsheet row read past: the point before it is out first.
        {"geojson_stopped_waiting_after_an_empty_row", S::stdin_left_open_interrupted_once_logged,
         "", "50;15;100\n;;;;\n", 128 + SIGINT, first, "", first_log, "",
         {"--geojson", "--from-etrs89", "--decimal-comma"}},
        // Every report and question arrives before the next point is sent.
        {"conversation_through_pipes_100_points", S::driven_through_pipes, "", times(100, P + "\n"),
         0, times(100, CYCLE_P) + AT_X_END, "", times(100, RECORD_P), ""},
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
    if (row.log_before == "-> /dev/full" && !std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system (Linux has one; macOS and the BSDs do not)";
    }
    const testing_support::TempDir dir;
    prepare(row, dir.path);
    const auto run = testing_support::run_geochain(dir.path, row.how, row.args);
    EXPECT_EQ(run.status, row.status);
    if (row.out) {
        EXPECT_EQ(run.out, testing_support::platform_text(*row.out));
    }
    EXPECT_EQ(run.err, testing_support::platform_text(row.err));
    const auto log = dir.path / "fi.txt";
    const bool regular = std::filesystem::is_regular_file(std::filesystem::symlink_status(log));
    EXPECT_EQ(regular ? testing_support::read_file(log) : "", row.log);
    EXPECT_EQ(run.terminal, row.terminal);
}

// Points files as surveyors keep them and as they go wrong. A line that is
// not one whole point where a point is expected, nor an answer or a point
// after one, ends the run before anything on it is computed: every point
// logged is one of the file's own.
TEST(PointsFile, EachLineIsTakenWholeOrEndsTheRun) {
    struct Case {
        std::string input;
        int status;
        int records;
        std::string err;
    };
    const std::string Q = WORKED_EXAMPLES[1].typed;
    const std::string WARNING = "Varovani: bod na radku 1 ";
    // clang-format off
    const Case cases[] = {
        {"1001 " + P + "\n1002 " + Q + "\n", 1, 0, no_point_on(1, "1001 " + P)},
        {P + "\n0815 " + Q + "\n", 1, 1, no_point_on(2, "0815 " + Q, true)},
        {"1100 000 700000 300\n1\n", 1, 0, no_point_on(1, "1100 000 700000 300")},
        {P + " m\n1\n", 1, 0, no_point_on(1, P + " m")},
        {"1100000\n700000\n300\n", 1, 0, no_point_on(1, "1100000")},
        {"1100000 700000\n1041000 740000\n", 1, 0, no_point_on(1, "1100000 700000")},
        {P + "\n1 " + Q + "\n", 1, 1, no_point_on(2, "1 " + Q, true)},
        // A blank line of points.txt under the old awk recipe: a second
        // answer line.
        {P + "\n1\n\n1\n" + Q + "\n1\n", 1, 1, no_point_on(4, "1")},
        {"# body\n" + P + "\n", 1, 0, no_point_on(1, "# body")},
        {"1100000 700000 30\0320\n", 1, 0, no_point_on(1, R"(1100000 700000 30\x1A0)")},
        {P + "\n1050000 650000,5 250\n", 1, 1, "Na radku 2 neni platne cislo: 650000,5. Vypocet ukoncen.\n"},
        // Reported and logged as given, with a word on standard error; the
        // arcsine reports framed by CR LF.
        {"0 0 0\n", 0, 1, ASIN_DOMAIN_ERROR + ASIN_DOMAIN_ERROR + WARNING + "(X = 0, Y = 0) nelze vypocitat.\n"},
        {"740000 1041000 250\n", 0, 1, WARNING + "(X = 740000, Y = 1041000) lezi mimo uzemi S-JTSK; po zamene X a Y by lezel uvnitr.\n"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const testing_support::TempDir dir;
        testing_support::write_file(dir.path / "in", c.input);
        const auto run = testing_support::run_geochain(dir.path, Surroundings::files);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, testing_support::platform_text(c.err));
        const std::string log = testing_support::read_file(dir.path / "fi.txt");
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4 * c.records);
    }
}

// Files named on the command line, read in order as if joined, as a
// surveyor names them: blanks and Czech letters in a name, each file with
// its header and byte-order mark, the last line without its line end.
// Standard input is read only as "-"; a message names the file and line.
TEST(PointsFile, FilesNamedOnTheCommandLine) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
        std::string err;
        int records;
    };
    const std::string CZECH =
        "m\xC4\x9B\xC5\x99"
        "en\xC3\xAD bod\xC5\xAF.txt";  // "měření bodů.txt"
    const std::string CZECH_SHOWN = R"(m\xC4\x9B\xC5\x99en\xC3\xAD bod\xC5\xAF.txt)";
    const std::string ROW = "4001\t" + P_ROW.substr(0, P_ROW.size() - 1);
    const std::string HEAD = "cislo\t" + TABLE_HEAD;
    // clang-format off
    const Case cases[] = {
        {{"--table", "--columns=n,y,x,h", "a.txt", CZECH}, HEAD + ROW + "\n" + ROW + "\n",
         "Na radku " + CZECH_SHOWN + ":3 ma byt bod \"cislo Y X h\", je tam: 4003 700000. Vypocet ukoncen.\n", 2},
        {{"p.txt", "-", "--", "p.txt"}, times(3, CYCLE_P) + AT_X_END, "", 3},
        {{"--table", "p.txt", "nic.txt"}, "",
         "Soubor nic.txt nelze otevrit: neexistuje. Vypocet ukoncen.\n", 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const testing_support::TempDir dir;
        testing_support::write_file(dir.path / "a.txt",
                                    BOM + "cislo Y X Z\r\n4001 700000 1100000 300");
        testing_support::write_file(dir.path / std::filesystem::u8path(CZECH),
                                    "cislo Y X Z\n4001 700000 1100000 300\n4003 700000\n");
        testing_support::write_file(dir.path / "p.txt", P);
        testing_support::write_file(dir.path / "in", P + "\n1\n");
        const auto run = testing_support::run_geochain(dir.path, Surroundings::files, c.args);
        EXPECT_EQ(run.status, c.err.empty() ? 0 : 1);
        EXPECT_EQ(run.out, testing_support::platform_text(c.out));
        EXPECT_EQ(run.err, testing_support::platform_text(c.err));
        EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), times(c.records, RECORD_P));
    }
}

// A points file of lines of 0 to 5 words, half of them three numbers and
// perhaps a word: each word a number, a near-number or a word, separated by
// blanks or ';', with blank lines and every line end, 0x1A, NUL, quotes
// (a line end among them), a byte-order mark and a second file with its
// header among them.
std::string generated_points_file(std::mt19937& random) {
    using namespace std::string_literals;
    // clang-format off
    static const std::string NUMBERS[] = {"1100000", "700000", "300", "-5.5e2", ".5", "0", "0815"};
    static const std::string WORDS[] = {"1", "ano", "12,5", "1e", "1100", "x", "0a", "1e999", "inf",
        "nan", "0x1A", "12abc", "1\0"s, "\xEF\xBB\xBF", "\x1A", "000", "7.", "2\0325", ";", "\"",
        R"("a;b")", "\"x\ny\"", "\"\r\n;\"\"\"", R"("1""2")", "700000,25", "1.100,5", "300.5", "\x1C"};
    static const std::string FILE_WITH_HEADER = "\n\x1C" "cislo Y X Z\n";
    static const std::string ENDS[] = {"\n", "\r\n", "\r", "\n\n", " \t\n", "\x1A\r\n", ";;\n",
        FILE_WITH_HEADER};
    static const std::string BETWEEN[] = {" ", " ", "\t", ";"};
    // clang-format on
    const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    std::string file;
    for (std::size_t lines = pick(9); lines > 0; --lines) {
        const bool point = pick(2) == 0;
        // A point's three numbers, perhaps with a word after them.
        const std::string& between = BETWEEN[pick(std::size(BETWEEN))];
        for (std::size_t n = point ? 3 + pick(3) : pick(6); n > 0; --n) {
            file += (point && n > 1) || pick(2) == 0 ? NUMBERS[pick(std::size(NUMBERS))]
                                                     : WORDS[pick(std::size(WORDS))];
            file += pick(8) == 0 ? BETWEEN[pick(std::size(BETWEEN))] : between;
        }
        file += ENDS[pick(std::size(ENDS))];
    }
    return file;
}

// A Czech spreadsheet's list: lines "n;y;x", then perhaps h and a code,
// that code at times quoted with ';', doubled quotes or a line end inside;
// now and then a number no spreadsheet writes, a row of empty fields, a
// second file.
std::string generated_spreadsheet(std::mt19937& random) {
    // clang-format off
    static const std::string NUMBERS[] = {"700000", "1100000,5", "1045690.02", "251,37", "12",
        "1.100.000,5", "x", ""};
    static const std::string CODES[] = {"roh", R"("kamen ""A""; obnoven")", "\"x\r\ny\"",
        "\"a\nb;c\"", "=1+1", "\"", "", "\"\"\"\n\""};
    static const std::string ENDS[] = {"\r\n", "\n", ";;\r\n", "\n;;;\n", "\n\x1C"};
    // clang-format on
    const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    std::string file;
    for (std::size_t lines = pick(8); lines > 0; --lines) {
        file += "40" + std::to_string(pick(100)) + ";" + NUMBERS[pick(std::size(NUMBERS))] + ";" +
                NUMBERS[pick(std::size(NUMBERS))];
        for (std::size_t more = pick(3); more > 0; --more) {
            file += ";" +
                    (more == 2 ? NUMBERS[pick(std::size(NUMBERS))] : CODES[pick(std::size(CODES))]);
        }
        file += ENDS[pick(std::size(ENDS))];
    }
    return file;
}

// Four runs from files at once into one log: each block of records is one
// appending write, so no record is cut by another.
TEST(PointsFile, FourRunsAtOnceLeaveWholeRecords) {
#ifdef _WIN32
    GTEST_SKIP()
        << "the C runtime appends by seeking to the end first: not atomic between processes";
#endif
    const testing_support::TempDir dir;
    testing_support::write_file(dir.path / "in", times(5000, P + "\n"));
    const auto run = [&dir] { testing_support::run_geochain(dir.path, Surroundings::files); };
    std::thread runs[] = {std::thread(run), std::thread(run), std::thread(run), std::thread(run)};
    for (std::thread& run : runs) {
        run.join();
    }
    EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), times(20000, RECORD_P));
}

TEST(PointsFile, EveryPointReportedIsAPointLineOfTheInput) {
    using testing_support::TRIED_LAYOUTS;
    const testing_support::TempDir dir;
    const std::filesystem::path& log = dir.path;
    const auto table = [&log](const std::string& input, const testing_support::TriedLayout& l) {
        return testing_support::table_mismatch(testing_support::files_of(input), log, l.columns,
                                               l.decimal_comma);
    };
    for (const auto& seed : std::filesystem::directory_iterator(GEOCHAIN_FUZZ_CORPUS)) {
        const std::string file = testing_support::read_file(seed.path());
        EXPECT_EQ(testing_support::points_file_mismatch(file, log), "") << seed.path();
        for (const auto& layout : TRIED_LAYOUTS) {
            EXPECT_EQ(table(file, layout), "") << layout.columns << ": " << seed.path();
        }
    }
    std::mt19937 random(28);
    for (int i = 0; i < 600; ++i) {
        const std::string file = generated_points_file(random);
        EXPECT_EQ(testing_support::points_file_mismatch(file, log), "") << file;
        const auto& layout = TRIED_LAYOUTS[i % std::size(TRIED_LAYOUTS)];
        EXPECT_EQ(table(file, layout), "")
            << layout.columns << layout.decimal_comma << ": " << file;
        const std::string sheet = generated_spreadsheet(random);
        EXPECT_EQ(table(sheet, {i % 2 == 0 ? "n,y,x,h?,..." : "n,y,x", true}), "") << sheet;
    }
}

// Ctrl-C while a block waits for a reader that has stopped reading, in a
// blocking write part of the way through a block and in a wait for a
// non-blocking pipe: the run ends by it without waiting for the reader, and
// fi.txt holds exactly the records of the reports that reached the output
// whole. The same for rows of ČÚZK's method, computed in blocks on two
// threads, of which only the one that writes takes the signal.
TEST(PointsFile, InterruptedRunLogsExactlyTheWholeReports) {
#ifdef _WIN32
    GTEST_SKIP() << "needs POSIX";
#endif
    // A row of P in ETRS89 and its record, as a file run writes them.
    const testing_support::TempDir one;
    testing_support::write_file(one.path / "in", P + "\n");
    const std::vector<std::string> etrs89 = {"--table", "--etrs89"};
    const auto alone = testing_support::run_geochain(one.path, Surroundings::files, etrs89);
    const std::size_t header_end = alone.out.find('\n') + 1;
    const std::string header = alone.out.substr(0, header_end);
    const std::string row = alone.out.substr(header_end);
    const std::string record = testing_support::read_file(one.path / "fi.txt");
    ASSERT_EQ(alone.status, 0);
    for (const bool rows : {false, true}) {
        for (const Surroundings how : {Surroundings::stdout_a_full_pipe_interrupted,
                                       Surroundings::stdout_a_full_non_blocking_pipe_interrupted}) {
            const testing_support::TempDir dir;
            testing_support::write_file(dir.path / "in", times(rows ? 20000 : 2000, P + "\n"));
            SCOPED_TRACE(static_cast<int>(how) + (rows ? 100 : 0));
            const auto run = testing_support::run_geochain(
                dir.path, how, rows ? etrs89 : std::vector<std::string>{});
            EXPECT_EQ(run.status, 128 + SIGINT);
            const std::string start = rows ? header : "";
            const std::string cycle = rows ? row : CYCLE_P;
            const std::size_t ending = rows ? 0 : QUESTION.size();
            ASSERT_GT(run.out.size(), start.size());
            const auto whole =
                static_cast<int>((run.out.size() - start.size() + ending) / cycle.size());
            EXPECT_GT(whole, 0);
            EXPECT_TRUE(run.out ==
                        start + times(whole + 1, cycle).substr(0, run.out.size() - start.size()));
            EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"),
                      times(whole, rows ? record : RECORD_P));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Surroundings, Process, testing::ValuesIn(rows()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace geochain
