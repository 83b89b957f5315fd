#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../in_process.h"
#include "../worked_examples.h"
#include "run/options.h"

namespace geochain {
namespace {

using testing_support::Surroundings;

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
    const std::string LONG = "--" + std::string(120000, 'y');
    // clang-format off
    const Case cases[] = {
        {{"--table", "--columns", "y,x"}, true, Action::run, ""},
        {{"-V"}, false, Action::version, ""},
        {{"--table", "--help"}, false, Action::help, ""},
        {{"--tabel"}, false, Action::usage_error, "Neznama volba \"--tabel\"" + HINT},
        // Files instead of standard input: a table typed at the terminal
        // is no longer what --decimal-comma would be about.
        {{"--decimal-comma", "body.txt"}, true, Action::run, ""},
        {{"--columns=n,y,h"}, false, Action::usage_error, "Neplatne sloupce \"n,y,h\": chybi sloupec x nebo y" + HINT},
        {{"--columns=x,y,y"}, false, Action::usage_error, "Neplatne sloupce \"x,y,y\": sloupec y je uveden dvakrat" + HINT},
        {{"--columns=x,...,y"}, false, Action::usage_error, R"(Neplatne sloupce "x,...,y": "..." musi byt posledni)" + HINT},
        {{"--columns=x,y,z"}, false, Action::usage_error, R"(Neplatne sloupce "x,y,z": neznamy sloupec "z", mozne jsou n, x, y, h, h?, -, fi, lambda a ...)" + HINT},
        {{"--columns"}, false, Action::usage_error, "Volba --columns vyzaduje seznam sloupcu, napr. --columns=n,y,x,h,..." + HINT},
        {{"--decimal-comma"}, true, Action::usage_error, "Volby --columns a --decimal-comma plati pro soubor bodu nebo s volbou --table; na terminalu pouzijte --table" + HINT},
        // As GNU tools take them: short options together, long ones by a
        // beginning no other shares; no value where an option takes none;
        // an argument shown as messages show input.
        {{"-Vh"}, false, Action::help, ""},
        {{"--tab", "--dec", "--co", "n,y,x,h"}, true, Action::run, ""},
        {{"-hx"}, false, Action::usage_error, "Neznama volba \"-x\"" + HINT},
        {{"--tab=x"}, false, Action::usage_error, "Volba --table se zadava bez hodnoty" + HINT},
        // Back from ETRS89, a GNSS list's own columns.
        {{"--fr", "--geo", "--columns=n,fi,lambda,h,..."}, true, Action::run, ""},
        {{"--\x1b[2J"}, false, Action::usage_error, R"(Neznama volba "--\x1B[2J")" + HINT},
        {{LONG.c_str()}, false, Action::usage_error, "Neznama volba \"--" + std::string(38, 'y') + "...\"" + HINT},
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
    // Every word that is no option names a file, in order; after "--",
    // every word does; "-" is standard input.
    const char* const args[] = {"geochain", "a.txt", "--table", "-", "--", "--b", "-V"};
    EXPECT_EQ(parse_options(7, args, true).files,
              (std::vector<std::string>{"a.txt", "-", "--b", "-V"}));
}

// The executable: an option error at once, whatever waits on standard
// input, and fi.txt untouched.
TEST(Options, ProcessesAnswerAtOnce) {
    const testing_support::TempDir dir;
    testing_support::write_file(dir.path / "in", std::string(1 << 20, '1'));
    const auto bad = testing_support::run_geochain(dir.path, Surroundings::files, {"--bad"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "fi.txt"));
    EXPECT_EQ(testing_support::run_geochain(dir.path, Surroundings::files, {"--version"}).out,
              testing_support::platform_text(
                  "geochain 1.5.1\nCopyright (c) 2026 the geochain developers; MIT License.\n"
                  "Obsahuje data CUZK: tabulku dotransformacnich oprav table_-y-x_3_v1710\n"
                  "a kvazigeoid CR-2005, (c) CUZK - Czech Republic, licence CC BY 4.0.\n"));
}

}  // namespace
}  // namespace geochain
