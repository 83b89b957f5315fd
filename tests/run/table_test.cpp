#include <gtest/gtest.h>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../in_process.h"
#include "../worked_examples.h"
#include "run/dialogue.h"
#include "run/options.h"
#include "run/table.h"

namespace geochain {
namespace {

using testing_support::Surroundings;

Layout layout_of(std::vector<const char*> args) {
    args.insert(args.begin(), "geochain");
    const Options options = parse_options(static_cast<int>(args.size()), args.data(), false);
    EXPECT_EQ(options.message, "");
    return options.layout;
}

// The values of the first worked example after its X, Y and h.
const std::string VALUES_P =
    "\t1303840.48104053\t32.47119229\t78.44790021\t33.13641562\t49.59071283\t32.80331049"
    "\t49.630940667\t15.117055605\t6390087.1339\t3995687.2066\t1079395.2686\t4836039.0639";
const std::string HEAD = "X\tY\th\tro\tepsilon\tS\tD\tU\tV\tfi\tlambda\tN+h\tXgeo\tYgeo\tZgeo";

std::string comma(std::string text) {
    for (char& ch : text) {
        ch = ch == '.' ? ',' : ch == '\t' ? ';' : ch;
    }
    return text;
}

// Lists as surveyors keep them, each line read by its layout: a row a point,
// the words as written, or the line named and the run ended before
// anything on it is computed.
TEST(Table, ListsByTheirLayouts) {
    struct Case {
        std::vector<const char*> args;
        std::string input;
        std::string out;
        std::string err;
        int records;
    };
    const std::string NAMED = "cislo\t" + HEAD + "\tzbytek\n";
    const std::string SEMI = comma("cislo\t" + HEAD + "\tzbytek\n");
    const std::string NO_HEIGHT_VALUES =
        VALUES_P.substr(0, VALUES_P.find("\t6390087")) + "\t\t\t\t";
    // clang-format off
    const Case cases[] = {
        {{}, P + "\n", HEAD + "\n" + "1100000\t700000\t300" + VALUES_P + "\n", "", 1},
        // The Czech list: number, Y before X, codes carried.
        {{"--columns=n,y,x,h,..."}, "cislo Y X Z kod\n4001 700000 1100000.0 300 hranicni  znak\n",
         NAMED + "4001\t1100000.0\t700000\t300" + VALUES_P + "\thranicni znak\n", "", 1},
        {{"--columns", "-,x,y"}, "A 1100000 700000\n", HEAD + "\n1100000\t700000\t0" +
         VALUES_P.substr(0, VALUES_P.find("\t6390087")) + "\t6389787.1339\t3995499.6182\t1079344.5935\t4835810.4974\n", "", 1},
        // A header only on the first line; a one-word line fits no layout.
        {{"--columns=n,y,x,h"}, "4001 700000 1100000 300\ncislo Y X Z\n",
         "cislo\t" + HEAD + "\n4001\t1100000\t700000\t300" + VALUES_P + "\n",
         "Na radku 2 neni platne cislo: Y. Vypocet ukoncen.\n", 1},
        {{}, P + "\n1\n", HEAD + "\n1100000\t700000\t300" + VALUES_P + "\n", no_point_on(2, "1"), 1},
        {{"--columns=n,y,x,h,..."}, "\n4001 700000\n", NAMED,
         "Na radku 2 ma byt bod \"cislo Y X h ...\", je tam: 4001 700000. Vypocet ukoncen.\n", 0},
        // Heights given only where a point has one: a number with a decimal
        // mark; a code, 12 among them, is none. Without one, h and what
        // is computed from it stay empty.
        {{"--columns=n,y,x,h?,..."},
         "4001 700000 1100000 300.0 kamen\n4002 700000 1100000 12 roh\n4003 700000 1100000\n",
         NAMED + "4001\t1100000\t700000\t300.0" + VALUES_P + "\tkamen\n" +
         "4002\t1100000\t700000\t" + NO_HEIGHT_VALUES + "\t12 roh\n" +
         "4003\t1100000\t700000\t" + NO_HEIGHT_VALUES + "\t\n", "", 3},
        {{"--columns=n,y,x,h?"}, "4001 700000 1100000 roh\n", "cislo\t" + HEAD + "\n",
         "Na radku 1 ma byt bod \"cislo Y X h?\", je tam: 4001 700000 1100000 roh. Vypocet ukoncen.\n", 0},
        // A Czech spreadsheet's CSV: ';', decimal commas, a code quoted.
        {{"--decimal-comma", "--columns=n,y,x,h,..."},
         "\xC4\x8D.b.;Y;X;H;k\xC3\xB3" "d\r\n4001;700000,0;1100000;300;\"kamen \"\"A\"\"; obnoven\"\r\n4002; 700000 ;1100000;300;;\r\n",
         SEMI + "4001;1100000;700000,0;300" + comma(VALUES_P) + ";\"kamen \"\"A\"\"; obnoven\"\n" +
         "4002;1100000;700000;300" + comma(VALUES_P) + ";\n", "", 2},
        // An empty spreadsheet row is a blank line; the rest keeps its
        // fields; a line no CSV writer writes (text after a closing quote,
        // a quote left open) is refused, shown as it was read.
        {{"--decimal-comma", "--columns=n,y,x,h,..."},
         ";;;;\r\n4001;700000;1100000;300;a;;b\r\n;;;\r\n\"40\"01;700000;1100000;300\r\n",
         SEMI + "4001;1100000;700000;300" + comma(VALUES_P) + ";a;;b\n",
         "Na radku 4 ma byt bod \"cislo Y X h ...\", je tam: \"40\"01;700000;1100000;300. Vypocet ukoncen.\n",
         1},
        // A line end inside quotes, as a cell typed with Alt+Enter: the
        // record goes on, one row, the line end kept; the lines after it
        // are counted as the file's.
        {{"--decimal-comma", "--columns=n,y,x,h,..."},
         "\"Bod\r\n1\";700000;1100000;300;\"kamen\nobnoven\";x\r\n4002;700000\r\n",
         SEMI + "\"Bod\r\n1\";1100000;700000;300" + comma(VALUES_P) + ";\"kamen\nobnoven\";x\n",
         "Na radku 4 ma byt bod \"cislo Y X h ...\", je tam: 4002;700000. Vypocet ukoncen.\n", 1},
        // ... but only a spreadsheet's row of fields may span lines.
        {{"--decimal-comma", "--columns=n,x,y"}, "\"a\nb\" 1100000 700000\n", comma("cislo\t" + HEAD) + "\n",
         "Na radku 1 ma byt bod \"cislo X Y\", je tam: \"a\\x0Ab\" 1100000 700000. Vypocet ukoncen.\n", 0},
        // Names and codes that would open as formulas begin with an
        // apostrophe: OWASP's rule for CSV.
        {{"--decimal-comma", "--columns=n,y,x,h,..."}, "=1+1 700000 1100000 300 @A1 \"-2;3\"\n",
         SEMI + "'=1+1;1100000;700000;300" + comma(VALUES_P) + ";\"'@A1 -2;3\"\n", "", 1},
        {{"--decimal-comma"}, "1100000;700000;\"300\n", comma(HEAD) + "\n",
         "Na radku 1 ma byt bod \"X Y h\", je tam: 1100000;700000;\"300. Vypocet ukoncen.\n", 0},
        // For a spreadsheet: either decimal mark in, where it is the only
        // one with a digit on either side, and the comma out; a first line
        // with a digit in a coordinate is no header.
        {{"--decimal-comma"}, "1100000.0 700000,0 300\n1100000 1,100,000 300\n",
         comma(HEAD + "\n1100000.0\t700000.0\t300" + VALUES_P + "\n"),
         "Na radku 2 neni platne cislo: 1,100,000. Vypocet ukoncen.\n", 1},
        {{"--decimal-comma", "--columns=n,y,x,h"}, "4001 1.100.000,5 1045690.02 250.5\n",
         comma("cislo\t" + HEAD) + "\n", "Na radku 1 neni platne cislo: 1.100.000,5. Vypocet ukoncen.\n", 0},
        {{}, "1e 1e 1e\n", HEAD + "\n", "Na radku 1 neni platne cislo: 1e. Vypocet ukoncen.\n", 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const testing_support::TempDir dir;
        std::istringstream in(c.input);
        const auto run = testing_support::run_in_process(
            dir.path, [&](std::ostream& out, std::ostream& err, PendingRecords& log) {
                return run_table(in, out, err, log, layout_of(c.args));
            });
        EXPECT_EQ(run.status, c.err.empty() ? 0 : 1);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.log, times(c.records, RECORD_P));
    }
    // A points file's reports by the same layout.
    std::istringstream in("cislo Y X Z\n4001 700000 1100000 300 kamen\n");
    const testing_support::TempDir dir;
    const auto run = testing_support::run_in_process(
        dir.path, [&in](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_dialogue(in, out, err, log, InputMode::batch,
                                layout_of({"--columns=n,y,x,h,..."}));
        });
    EXPECT_EQ(run.out, CYCLE_P + AT_X_END);
    // Its report says when a height is missing.
    std::istringstream no_height("4001 700000 1100000 roh\n");
    const auto without = testing_support::run_in_process(
        dir.path, [&no_height](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_dialogue(no_height, out, err, log, InputMode::batch,
                                layout_of({"--columns=n,y,x,h?,..."}));
        });
    EXPECT_NE(
        without.out.find("\nVyska h chybi: N + h a X, Y, Z jsou spocteny s h = 0." + QUESTION),
        std::string::npos);
    EXPECT_EQ(without.log, RECORD_P);
}

// Every value of a row is the report's, digit for digit; fi and lambda in
// degrees agree with its degrees, minutes and seconds.
TEST(Table, RowsAgreeWithTheReports) {
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        SCOPED_TRACE(ex.typed);
        std::istringstream in(ex.typed);
        const testing_support::TempDir dir;
        const auto run = testing_support::run_in_process(
            dir.path, [&in](std::ostream& out, std::ostream& err, PendingRecords& log) {
                return run_table(in, out, err, log, Layout{});
            });
        std::istringstream row(run.out.substr(run.out.find('\n') + 1));
        std::vector<std::string> c{std::istream_iterator<std::string>(row), {}};
        ASSERT_EQ(c.size(), 15u);
        const std::vector<std::string> shown = {ex.ro, ex.epsilon, ex.S, ex.D, ex.U, ex.V};
        EXPECT_EQ(std::vector<std::string>(c.begin() + 3, c.begin() + 9), shown);
        EXPECT_EQ(std::vector<std::string>(c.begin() + 11, c.end()),
                  (std::vector<std::string>{ex.N_plus_h, ex.X, ex.Y, ex.Z}));
        for (const auto& [degrees, dms] : {std::pair(c[9], ex.fi), std::pair(c[10], ex.lambda)}) {
            int d = 0;
            int m = 0;
            double s = 0;
            std::sscanf(dms, "%do %d' %lf", &d, &m, &s);
            EXPECT_NEAR(std::strtod(degrees.c_str(), nullptr) * 3600, d * 3600 + m * 60 + s, 6e-5);
        }
    }
}

// With --etrs89 and --exact, a row goes on with the stages of ČÚZK's method
// and fi is exact: PROJ 9.7.1's example point (ETRS89 50 deg N, 15 deg E,
// h 100 m) and EPSG's Bessel point 50 deg 12' 32.442" N. A point off the
// correction table ends the run at its line, nothing of it written.
TEST(Table, RowsInEtrs89AndExactly) {
    const testing_support::TempDir dir;
    std::istringstream in(
        "4001 703011.900 1058147.294 55.562\n4002 568991.00 1050538.64 0\n"
        "4003 700000 1300000 0\n");
    const auto run = testing_support::run_in_process(
        dir.path, [&in](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_table(in, out, err, log,
                             layout_of({"--columns=n,y,x,h", "--etrs89", "--exact"}));
        });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "Bod na radku 3 (X = 1300000, Y = 700000) lezi mimo tabulku dotransformacnich oprav "
              "CUZK, ETRS89 nelze spocitat. Vypocet ukoncen.\n");
    EXPECT_EQ(std::count(run.log.begin(), run.log.end(), '\n'), 8);
    std::istringstream rows(run.out);
    std::string header;
    std::getline(rows, header);
    EXPECT_EQ(header.substr(header.find("Zgeo")),
              "Zgeo\tY05\tX05\tfi05\tlambda05\tfi_etrs\tlambda_etrs\tzeta\th_etrs\tXetrs\tYetrs"
              "\tZetrs");
    std::vector<double> c{std::istream_iterator<double>(rows), {}};
    ASSERT_EQ(c.size(), 2 * 27u);
    EXPECT_NEAR(c[20], 50.0, 1e-7);                                 // fi_etrs
    EXPECT_NEAR(c[21], 15.0, 1e-7);                                 // lambda_etrs
    EXPECT_NEAR(c[23], 100.0, 0.01);                                // h_etrs
    EXPECT_NEAR(c[27 + 10], 50 + 12 / 60.0 + 32.442 / 3600, 1e-7);  // fi, exact
}

// A GNSS list back to S-JTSK and Bpv: ČÚZK's example point, the stages in
// their columns, and a log that is the log of the S-JTSK point typed. A
// line that holds S-JTSK, or degrees beyond the globe, or lies off the
// table ends the run with nothing of it computed.
TEST(Table, RowsBackFromEtrs89) {
    const testing_support::TempDir dir;
    for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
             {"", ""},
             {"2 1041000 740000 250", "(fi = 1041000, lambda = 740000) ma cislo nad 1000"},
             {"2 49.5 -180.5 250", "(fi = 49.5, lambda = -180.5) nema fi mezi -90 a 90"},
             {"2 52.5 15 250", "(fi = 52.5, lambda = 15) lezi mimo tabulku"}}) {
        std::istringstream in("cislo fi lambda h kod\n1 50 15 100 roh\n" + line + "\n");
        const auto run = testing_support::run_in_process(
            dir.path, [&in](std::ostream& out, std::ostream& err, PendingRecords& log) {
                return run_table(in, out, err, log,
                                 layout_of({"--from-etrs89", "--columns=n,fi,lambda,h,..."}));
            });
        EXPECT_EQ(run.status, line.empty() ? 0 : 1);
        EXPECT_EQ(run.err.find("Bod na radku 3 " + message), line.empty() ? std::string::npos : 0)
            << run.err;
        EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
                  "cislo\tfi_etrs\tlambda_etrs\th_etrs\tXetrs\tYetrs\tZetrs\tfi05\tlambda05\tY05"
                  "\tX05\tY\tX\tzeta\tH\tzbytek");
        std::istringstream rows(run.out.substr(run.out.find('\n')));
        std::vector<std::string> c{std::istream_iterator<std::string>(rows), {}};
        ASSERT_EQ(c.size(), 16u);
        EXPECT_EQ(c[1] + " " + c[2] + " " + c[3] + " " + c[15], "50 15 100 roh");
        EXPECT_NEAR(std::stod(c[11]), 703011.900, 0.001);   // Y
        EXPECT_NEAR(std::stod(c[12]), 1058147.294, 0.001);  // X
        EXPECT_NEAR(std::stod(c[14]), 55.562, 0.001);       // H
        const PlanePoint s_jtsk = transform_etrs89_point({50, 15}, 100).plane;
        EXPECT_EQ(run.log, testing_support::record_of(transform_point(s_jtsk)));
    }
}

// A long list is read ahead in blocks and its points computed on two
// threads, yet it comes out as if each line were run on its own: the same
// rows and records in the same order, and a line that ends the run in the
// middle of a block (a word too many, a point off ČÚZK's table) leaves
// exactly the points before it, shown and logged.
TEST(Table, LongListsComeOutAsEachLineOnItsOwn) {
    const testing_support::TempDir dir;
    const auto table = [&dir](const std::string& input, const Layout& layout) {
        std::istringstream in(input);
        return testing_support::run_in_process(
            dir.path, [&](std::ostream& out, std::ostream& err, PendingRecords& log) {
                return run_table(in, out, err, log, layout);
            });
    };
    std::vector<std::string> lines;
    for (int i = 0; i < 700; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%d %d.%03d %d.%03d %d", 4000 + i,
                      560000 + i * 104729 % 200000, i % 997, 1050000 + i * 7919 % 100000, i % 991,
                      150 + i % 900);
        lines.emplace_back(line);
    }
    for (const auto& [args, odd, message] :
         std::vector<std::tuple<std::vector<const char*>, std::string, std::string>>{
             {{"--columns=n,y,x,h"}, "", ""},
             {{"--columns=n,y,x,h", "--etrs89"}, "", ""},
             {{"--columns=n,y,x,h", "--etrs89"},
              "9 700000 1300000 0",
              "Bod na radku 601 (X = 1300000, Y = 700000) lezi mimo tabulku"},
             {{"--columns=n,y,x,h"}, "9 700000 1100000 0 0", "Na radku 601 ma byt bod"}}) {
        const Layout layout = layout_of(args);
        std::string input;
        std::string out;
        std::string log;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const bool odd_here = !odd.empty() && i == 600;
            input += (odd_here ? odd : lines[i]) + "\n";
            if (i < 600 || odd.empty()) {
                const auto alone = table(lines[i] + "\n", layout);
                out += alone.out.substr(i == 0 ? 0 : alone.out.find('\n') + 1);
                log += alone.log;
            }
        }
        const auto run = table(input, layout);
        EXPECT_EQ(run.status, odd.empty() ? 0 : 1);
        EXPECT_EQ(message.empty() ? run.err : run.err.substr(0, message.size()), message);
        EXPECT_TRUE(run.out == out);  // 700 rows: not printed whole where they differ
        EXPECT_TRUE(run.log == log);
    }
}

// A table is no report, but a point far from the territory gets the same
// word; an output that cannot be written ends the run with status 1.
TEST(Table, WarnsOfPointsAwayAndEndsWhenTheOutputIsLost) {
    const testing_support::TempDir dir;
    std::istringstream swapped("740000 1041000 250\n");
    const auto run = testing_support::run_in_process(
        dir.path, [&swapped](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_table(swapped, out, err, log, Layout{});
        });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              "Varovani: bod na radku 1 (X = 740000, Y = 1041000) lezi mimo uzemi S-JTSK; po "
              "zamene X a Y by lezel uvnitr.\n");
    // An output whose every write fails: a descriptor open for reading only.
    testing_support::write_file(dir.path / "out", "");
    std::istringstream in(P + "\n" + P + "\n");
    std::ostringstream err;
    PendingRecords log{(dir.path / "fi.txt").string(), {}, {}};
    const int fd = ::open((dir.path / "out").string().c_str(), O_RDONLY);
    DescriptorOutput output(fd, false, nullptr,
                            [&log](std::uint64_t n) { log_reports_out(log, n); });
    std::ostream out(&output);
    EXPECT_EQ(run_table(in, out, err, log, Layout{}), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "fi.txt"));
    close_descriptor(fd);
}

}  // namespace
}  // namespace geochain
