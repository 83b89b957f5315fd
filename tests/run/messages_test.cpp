#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../process.h"
#include "geodesy/transform.h"
#include "run/dialogue.h"
#include "run/messages.h"
#include "run/options.h"
#include "text/report.h"

namespace geochain {
namespace {

// An input whose reads have failed, as a directory's do.
struct FailedInput : std::streambuf {
    int sync() override { return -1; }
};

// Every message the program can write, as it writes it, with the places,
// numbers and names the manual page shows.
std::vector<std::string> messages() {
    std::vector<std::string> all;
    // clang-format off
    const std::vector<std::vector<const char*>> bad_options = {{"--tabel"}, {"-x"}, {"--table=x"},
        {"--columns"}, {"--co=x,y", "--co=x,y"}, {"--columns=n,y,h"}, {"--columns=x,y,y"},
        {"--columns=x,...,y"}, {"--columns=x,y,z"}, {"--decimal-comma"},
        {"--from-etrs89", "--etrs89"}, {"--geojson"}, {"--geojson", "--etrs89", "--table"},
        {"--from-etrs89", "--columns=n,y,x,h"}, {"--from-etrs89", "--columns=n,fi,h"},
        {"--columns=fi,lambda,h"}};
    // clang-format on
    for (std::vector<const char*> args : bad_options) {
        args.insert(args.begin(), "geochain");
        all.push_back(parse_options(static_cast<int>(args.size()), args.data(), true).message);
    }
    for (const FileProblem problem : {FileProblem::missing, FileProblem::folder,
                                      FileProblem::not_permitted, FileProblem::other}) {
        all.push_back(file_refused("seznam.txt", problem));
    }
    const auto line = [](LineKind kind, long number, std::string_view text,
                         std::string_view source = "") {
        BatchLine line;
        line.kind = kind;
        line.number = number;
        line.source = source;
        line.text = line.refused = {text, text.size()};
        line.x = line.fi = text.substr(0, text.find(' '));
        line.y = line.lambda = text.substr(text.find(' ') + 1);
        line.etrs = {std::atof(line.fi.data()), std::atof(line.lambda.data())};
        return line;
    };
    all.push_back(refusal(line(LineKind::other, 1, "1001 1100000 700000 300"), {}, false));
    all.push_back(refusal(line(LineKind::other, 2, "1041000 740000"), {}, true));
    all.push_back(refusal(line(LineKind::not_a_number, 3, "650000,5"), {}, false));
    all.push_back(refusal(line(LineKind::too_long, 4, ""), {}, false));
    all.push_back(refusal(line(LineKind::utf16, 1, ""), {}, false));
    all.push_back(refusal(line(LineKind::utf16, 1, "", "seznam.txt"), {}, false));
    FailedInput failed;
    InputLines unreadable{failed};
    all.push_back(input_failure(unreadable));
    unreadable.source = "seznam.txt";
    all.push_back(input_failure(unreadable));
    all.push_back(off_the_table(line(LineKind::point, 3, "1300000 700000"), {}));
    Layout back;
    back.chain.from_etrs89 = true;
    all.push_back(off_the_table(line(LineKind::point, 3, "52.5 15"), back));
    all.push_back(not_etrs89(line(LineKind::point, 5, "1041000 740000")));
    all.push_back(not_etrs89(line(LineKind::point, 6, "15 200")));
    all.push_back(typed_not_etrs89({1041000, 740000}));
    all.push_back(typed_not_etrs89({15, 200}));
    all.emplace_back(TYPED_OFF_THE_TABLE);
    all.emplace_back(TYPED_OFF_THE_TABLE_BACK);
    all.emplace_back(INCOMPLETE_POINT);
    all.emplace_back(OUTPUT_LOST);
    std::ostringstream warnings;
    warn_if_outside_area(line(LineKind::point, 1, "740000 1041000"),
                         transform_point({740000, 1041000, 0}), warnings);
    warn_if_outside_area(line(LineKind::point, 1, "1100000 100000"),
                         transform_point({1100000, 100000, 0}), warnings);
    warn_if_outside_area(line(LineKind::point, 4, "0 0"), transform_point({0, 0, 0}), warnings);
    report_asin_domain_errors(transform_point({0, 0, 0}), warnings);
    // What an operator sees: an entry typed again, and a report whose line
    // gave no height.
    std::istringstream typed("x\n");
    InputLines in{*typed.rdbuf()};
    std::ostringstream asked;
    read_point(in, asked);
    const std::string prompts = asked.str();
    const std::size_t x = prompts.find(" = ") + 3;  // after the X prompt
    all.push_back(prompts.substr(x, prompts.find('\n', x) - x));
    warnings << NO_HEIGHT;
    std::string text = warnings.str();
    for (std::size_t end; (end = text.find_first_of("\r\n")) != std::string::npos;
         text.erase(0, end + 1)) {
        all.push_back(text.substr(0, end));
    }
    return all;
}

// The manual page lists every message, each on a line of its own as the
// program writes it.
TEST(Messages, TheManualPageListsEveryOne) {
    std::string page = "\n" + testing_support::read_file(GEOCHAIN_MANUAL_PAGE);
    for (const auto& [escape, text] : std::vector<std::pair<std::string, std::string>>{
             {"\\-", "-"}, {"\\(dq", "\""}, {"\\(aq", "'"}, {"\\e", "\\"}, {"\\%", ""}}) {
        for (std::size_t at; (at = page.find(escape)) != std::string::npos;) {
            page.replace(at, escape.size(), text);
        }
    }
    for (const std::string& message : messages()) {
        if (message.empty()) {
            continue;  // between CR and LF
        }
        EXPECT_NE(page.find("\n" + message + "\n"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace geochain
