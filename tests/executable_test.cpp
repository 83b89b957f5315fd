#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "process.h"
#include "worked_examples.h"

#ifndef _WIN32
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace geochain {
namespace {

using testing_support::make_temp_dir;
using testing_support::platform_text;
using testing_support::read_file;
using testing_support::run_geochain;

TEST(Executable, WorkedExamplesEndToEnd) {
    struct Case {
        const char* name;
        std::string input;
        std::string out;  // as the program writes it; the platform may add CRs
        std::string err;
        std::string log;
        int status;
    };
    std::string all_input;
    std::string all_out;
    std::string all_log;
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        char point[96];
        std::snprintf(point, sizeof point, "%.0f %.0f %.0f\n", ex.in.X, ex.in.Y, ex.in.h);
        all_input += point;
        all_input += &ex == &WORKED_EXAMPLES[3] ? "0\n" : "1\n";
        all_out += HEADER;
        all_out += PROMPTS;
        all_out += expected_report(ex);
        all_out += QUESTION;
        all_log += expected_record(ex);
    }
    const Case cases[] = {
        {"four worked examples", all_input, all_out, "", all_log, 0},
        {"X = Y = 0", "0 0 0\n0\n", "", ASIN_DOMAIN_ERROR + ASIN_DOMAIN_ERROR,
         "Kartograficke souradnice S, D : \r\nS = 90.00000000   D = -NAN\r\n"
         "Sfericke souradncie U, V : \r\nU = +NAN   V = +NAN\r\n",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto dir = make_temp_dir();
        const auto run = run_geochain(c.input, dir);
        EXPECT_EQ(run.status, c.status);
        if (!c.out.empty()) {
            EXPECT_EQ(run.out, platform_text(c.out));
        }
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(read_file(dir / "fi.txt"), c.log);
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
        std::filesystem::remove_all(dir);
    }
}

#ifndef _WIN32
TEST(Executable, ClearReachesTheTerminalButNotARedirectedOutput) {
    const auto dir = make_temp_dir();
    const std::string out_path = (dir / "out").string();
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || ::dup2(out, 1) < 0 || ::chdir(dir.c_str()) != 0) {
            ::_exit(127);
        }
        ::execl(GEOCHAIN_EXE, "geochain", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const std::string input = "1100000 700000 300\n1\n1041000 740000 250\n0\n";
    ASSERT_EQ(::write(master, input.data(), input.size()), static_cast<ssize_t>(input.size()));
    std::string terminal;
    char buf[4096];
    for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;) {
        terminal.append(buf, static_cast<std::size_t>(n));
    }
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    ::close(master);
    EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0);

    const std::string clear = "\x1b[H\x1b[2J";
    const std::size_t first = terminal.find(clear);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(terminal.find(clear, first + 1), std::string::npos);  // once a cycle
    const std::string out = read_file(dir / "out");
    EXPECT_NE(out.find("Zadat souradnice :"), std::string::npos);
    EXPECT_EQ(out.find('\x1b'), std::string::npos);
    std::filesystem::remove_all(dir);
}
#endif

}  // namespace
}  // namespace geochain
