#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "points_file_model.h"
#include "process.h"
#include "run/dialogue.h"
#include "run/options.h"
#include "run/table.h"
#include "worked_examples.h"

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
         "Neplatne cislo na radku 2: Y, konec vstupu.\n", 1},
        {{}, P + "\n1\n", HEAD + "\n1100000\t700000\t300" + VALUES_P + "\n", no_point_on(2, "1"), 1},
        {{"--columns=n,y,x,h,..."}, "\n4001 700000\n", NAMED,
         "Na radku 2 ma byt bod \"cislo Y X h ...\": 4001 700000, konec vstupu.\n", 0},
        // A Czech spreadsheet's CSV: ';', decimal commas, a code quoted.
        {{"--decimal-comma", "--columns=n,y,x,h,..."},
         "\xC4\x8D.b.;Y;X;H;k\xC3\xB3" "d\r\n4001;700000,0;1100000;300;\"kamen \"\"A\"\"; obnoven\"\r\n4002; 700000 ;1100000;300;;\r\n",
         SEMI + "4001;1100000;700000,0;300" + comma(VALUES_P) + ";\"kamen \"\"A\"\"; obnoven\"\n" +
         "4002;1100000;700000;300" + comma(VALUES_P) + ";\n", "", 2},
        {{"--decimal-comma"}, "1100000 700000 300.5\n", comma(HEAD) + "\n",
         "Neplatne cislo na radku 1: 300.5, konec vstupu.\n", 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const testing_support::TempDir dir;
        std::istringstream in(c.input);
        std::ostringstream out;
        std::ostringstream err;
        const int status =
            run_table(in, out, err, (dir.path / "fi.txt").string(), layout_of(c.args));
        EXPECT_EQ(status, c.err.empty() ? 0 : 1);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
        EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), times(c.records, RECORD_P));
    }
    // A points file's reports by the same layout.
    std::istringstream in("cislo Y X Z\n4001 700000 1100000 300 kamen\n");
    std::ostringstream out;
    const testing_support::TempDir dir;
    run_dialogue(in, out, out, (dir.path / "fi.txt").string(), InputMode::batch, nullptr,
                 layout_of({"--columns=n,y,x,h,..."}));
    EXPECT_EQ(out.str(), CYCLE_P + AT_X_END);
}

// Every value of a row is the report's, digit for digit; fi and lambda in
// degrees agree with its degrees, minutes and seconds.
TEST(Table, RowsAgreeWithTheReports) {
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        SCOPED_TRACE(ex.typed);
        std::istringstream in(ex.typed);
        std::ostringstream out;
        std::ostringstream warnings;
        const testing_support::TempDir dir;
        run_table(in, out, warnings, (dir.path / "fi.txt").string(), Layout{});
        std::istringstream row(out.str().substr(out.str().find('\n') + 1));
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

// The command line: a bad option or layout ends the run at once, status 2;
// --help and --version answer on standard output.
TEST(Options, TheCommandLine) {
    struct Case {
        std::vector<const char*> args;
        bool terminal;
        Action action;
        std::string message;
    };
    const std::string HINT = " (napoveda: geochain --help)";
    // clang-format off
    const Case cases[] = {
        {{"--table", "--columns", "y,x"}, true, Action::run, ""},
        {{"-V"}, false, Action::version, ""},
        {{"--table", "--help"}, false, Action::help, ""},
        {{"--tabel"}, false, Action::usage_error, "Neznama volba \"--tabel\"" + HINT},
        {{"body.txt"}, false, Action::usage_error, "Nadbytecny argument \"body.txt\": body se ctou ze standardniho vstupu" + HINT},
        {{"--", "--table"}, false, Action::usage_error, "Nadbytecny argument \"--table\": body se ctou ze standardniho vstupu" + HINT},
        {{"--columns=n,y,h"}, false, Action::usage_error, "Neplatne sloupce \"n,y,h\": chybi sloupec x nebo y" + HINT},
        {{"--columns=x,y,y"}, false, Action::usage_error, "Neplatne sloupce \"x,y,y\": sloupec y je uveden dvakrat" + HINT},
        {{"--columns=x,...,y"}, false, Action::usage_error, R"(Neplatne sloupce "x,...,y": "..." musi byt posledni)" + HINT},
        {{"--columns=x,y,z"}, false, Action::usage_error, R"(Neplatne sloupce "x,y,z": neznamy sloupec "z", mozne jsou n, x, y, h, - a ...)" + HINT},
        {{"--columns"}, false, Action::usage_error, "Volba --columns chce seznam sloupcu, napr. --columns=n,y,x,h,..." + HINT},
        {{"--decimal-comma"}, true, Action::usage_error, "Volby --columns a --decimal-comma plati pro soubor bodu nebo s volbou --table; u terminalu pouzijte --table" + HINT},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), "geochain");
        const Options options =
            parse_options(static_cast<int>(args.size()), args.data(), c.terminal);
        EXPECT_EQ(options.action, c.action) << args[1];
        EXPECT_EQ(options.message, c.message);
    }
}

// The executable: an option error at once, whatever waits on standard
// input, and fi.txt untouched; a table logs what the reports log.
TEST(Options, ProcessesAnswerAtOnceAndLogAlike) {
    const testing_support::TempDir dir;
    testing_support::write_file(dir.path / "in", std::string(1 << 20, '1'));
    const auto bad = testing_support::run_geochain(dir.path, Surroundings::files, {"--bad"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "fi.txt"));
    EXPECT_EQ(testing_support::run_geochain(dir.path, Surroundings::files, {"--version"}).out,
              testing_support::platform_text("geochain 1.3.1\nCopyright (c) 2026 the geochain "
                                             "developers; MIT License.\n"));
    std::string points;
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        points += ex.typed + std::string("\n");
    }
    testing_support::write_file(dir.path / "in", points);
    testing_support::run_geochain(dir.path, Surroundings::files);
    const std::string reports_log = testing_support::read_file(dir.path / "fi.txt");
    std::filesystem::remove(dir.path / "fi.txt");
    EXPECT_EQ(testing_support::run_geochain(dir.path, Surroundings::files, {"--table"}).status, 0);
    EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), reports_log);
}

}  // namespace
}  // namespace geochain
