#include <gtest/gtest.h>

#include <sstream>
#include <string>
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
    const std::vector<std::vector<const char*>> bad_options = {{"--tabel"},
                                                               {"-x"},
                                                               {"--table=x"},
                                                               {"--columns"},
                                                               {"--co=x,y", "--co=x,y"},
                                                               {"--columns=n,y,h"},
                                                               {"--columns=x,y,y"},
                                                               {"--columns=x,...,y"},
                                                               {"--columns=x,y,z"},
                                                               {"--decimal-comma"}};
    for (std::vector<const char*> args : bad_options) {
        args.insert(args.begin(), "geochain");
        all.push_back(parse_options(static_cast<int>(args.size()), args.data(), true).message);
    }
    for (const FileProblem problem : {FileProblem::missing, FileProblem::folder,
                                      FileProblem::not_permitted, FileProblem::other}) {
        all.push_back(file_refused("seznam.txt", problem));
    }
    const auto line = [](LineKind kind, long number, std::string_view text) {
        BatchLine line;
        line.kind = kind;
        line.number = number;
        line.text = line.refused = {text, text.size()};
        return line;
    };
    all.push_back(refusal(line(LineKind::other, 1, "1001 1100000 700000 300"), {}, false));
    all.push_back(refusal(line(LineKind::other, 2, "1041000 740000"), {}, true));
    all.push_back(refusal(line(LineKind::not_a_number, 3, "650000,5"), {}, false));
    all.push_back(refusal(line(LineKind::too_long, 4, ""), {}, false));
    BatchLine utf16 = line(LineKind::utf16, 1, "");
    all.push_back(refusal(utf16, {}, false));
    utf16.source = "seznam.txt";
    all.push_back(refusal(utf16, {}, false));
    FailedInput failed;
    InputLines unreadable{failed};
    all.push_back(input_failure(unreadable));
    unreadable.source = "seznam.txt";
    all.push_back(input_failure(unreadable));
    all.emplace_back(INCOMPLETE_POINT);
    all.emplace_back(OUTPUT_LOST);
    std::ostringstream warnings;
    const struct {
        long number;
        std::string_view x, y;
        PlanePoint point;
    } far_points[] = {{1, "740000", "1041000", {740000, 1041000, 0}},
                      {1, "1100000", "100000", {1100000, 100000, 0}},
                      {4, "0", "0", {0, 0, 0}}};
    for (const auto& far : far_points) {
        BatchLine point = line(LineKind::point, far.number, "");
        point.x = far.x;
        point.y = far.y;
        warn_if_outside_area(point, transform_point(far.point), warnings);
    }
    report_asin_domain_errors(transform_point({0, 0, 0}), warnings);
    // What an operator sees: an entry typed again, and a report whose line
    // gave no height.
    std::istringstream typed("x\n");
    InputLines in{*typed.rdbuf()};
    std::ostringstream asked;
    read_point(in, asked);
    const std::string prompts = asked.str();
    const std::size_t after_x_prompt = prompts.find(" = ") + 3;
    all.push_back(
        prompts.substr(after_x_prompt, prompts.find('\n', after_x_prompt) - after_x_prompt));
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
