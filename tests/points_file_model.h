// What batch input promises, checked against the dialogue itself: every
// point it computes is a point line of the input, in order. The model below
// is written from the points-file rules as users read them, not from the
// reader, so that a reader that shifts a field shows.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "geodesy/transform.h"
#include "in_process.h"
#include "run/dialogue.h"
#include "run/options.h"
#include "run/table.h"

namespace geochain::testing_support {

struct ModelRun {
    std::vector<PlanePoint> points;
    bool stopped = false;  // at a line that is neither a point nor an answer
};

// A number as the C library reads one in the C locale, less its
// hexadecimal, infinity and not-a-number forms.
inline bool is_number(const std::string& w) {
    char* end = nullptr;
    return w.size() <= 4096 && w.find_first_not_of("+-.0123456789eE") == std::string::npos &&
           (std::strtod(w.c_str(), &end), end == w.c_str() + w.size());
}

// A line's words less a byte-order mark where the line begins: a joined
// file's, which is no part of the line.
inline std::vector<std::string> without_mark(std::vector<std::string> w) {
    if (!w.empty() && w[0].rfind("\xEF\xBB\xBF", 0) == 0) {
        w[0].erase(0, 3);
        if (w[0].empty()) {
            w.erase(w.begin());
        }
    }
    return w;
}

inline ModelRun points_file_model(std::string text) {
    for (char& ch : text) {  // every line end an LF (CR LF: a line and a blank one); 0x1A a blank
        ch = ch == '\r' ? '\n' : ch == '\x1A' ? ' ' : ch;
    }
    ModelRun run;
    bool point_expected = true;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream split(line);
        const std::vector<std::string> w =
            without_mark(std::vector<std::string>{std::istream_iterator<std::string>(split), {}});
        if (w.size() == 3 && std::all_of(w.begin(), w.end(), is_number)) {
            run.points.push_back({std::strtod(w[0].c_str(), nullptr),
                                  std::strtod(w[1].c_str(), nullptr),
                                  std::strtod(w[2].c_str(), nullptr)});
            point_expected = false;
        } else if (!point_expected && w.size() == 1 && w[0][0] == '0') {
            break;
        } else if (!point_expected && w.size() == 1) {
            point_expected = true;
        } else if (!w.empty()) {
            run.stopped = true;
            break;
        }
    }
    return run;
}

// Runs the dialogue on input as a file (less a leading byte-order mark, as
// standard input's reader skips it) and returns what differs from the
// model, empty when nothing does: the status, the reports (each model
// point's, in order) and the log (each model point's record, and no other).
inline std::string points_file_mismatch(std::string input, const std::filesystem::path& dir) {
    input.erase(0, input.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    const ModelRun model = points_file_model(input);
    std::istringstream in(input);
    const InProcessRun run =
        run_in_process(dir, [&in](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_dialogue(in, out, err, log, InputMode::batch);
        });
    std::string expected;
    std::size_t at = 0;
    for (const PlanePoint& p : model.points) {
        const PointResult r = transform_point(p);
        expected += record_of(r);
        at = run.out.find(report_of(r), at);
        if (at == std::string::npos) {
            return "no report of the model's point " + std::to_string(&p - model.points.data());
        }
    }
    // Each point computed is logged: a record too many is a point too many.
    if (run.status != (model.stopped ? 1 : 0)) {
        return "status " + std::to_string(run.status);
    }
    return run.log == expected ? "" : "log differs from the model's points";
}

// The same for a table by a layout such as "n,y,x,h,...": the header, then
// exactly the rows of the model's points, in order, and their records.
inline std::string table_mismatch(std::string input, const std::filesystem::path& dir,
                                  const std::string& columns) {
    input.erase(0, input.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    std::vector<const char*> args = {"geochain", "--table", "--columns", columns.c_str()};
    const Layout layout = parse_options(4, args.data(), false).layout;
    std::vector<std::string> names;
    for (std::istringstream split(columns); std::getline(split, names.emplace_back(), ',');) {
    }
    names.pop_back();
    const bool rest = names.back() == "...";
    names.resize(names.size() - (rest ? 1 : 0));
    const auto utf16 = [](std::string line) {  // its first 40 bytes from the first word on
        line = line.substr(std::min(line.find_first_not_of(" \t\v\f\x1A"), line.size()), 40);
        bool nul[2] = {line.size() >= 2, line.size() >= 2};
        for (std::size_t i = 0; i < line.size(); ++i) {
            nul[i % 2] = nul[i % 2] && line[i] == '\0';
        }
        return line.rfind("\xFF\xFE", 0) == 0 || line.rfind("\xFE\xFF", 0) == 0 || nul[0] || nul[1];
    };
    std::string text = input;
    for (char& ch : text) {
        ch = ch == '\r' ? '\n' : ch;
    }
    std::string expected;
    append_table_header(expected, layout);
    std::string records;
    bool stopped = false;
    bool first = true;
    bool first_line = true;  // of the file: where UTF-16 shows
    std::vector<PlanePoint> points;
    std::istringstream lines(text);
    for (std::string line; !stopped && std::getline(lines, line); first_line = false) {
        std::string spaced = line;
        std::replace(spaced.begin(), spaced.end(), '\x1A', ' ');
        std::istringstream split(spaced);
        const std::vector<std::string> w =
            without_mark(std::vector<std::string>{std::istream_iterator<std::string>(split), {}});
        if (w.empty()) {
            continue;
        }
        stopped = first_line && utf16(line);
        std::string x;
        std::string y;
        std::string h = "0";
        std::string name;
        std::string carried;
        bool numbers = true;
        int coordinates = 0;
        int with_digits = 0;
        for (std::size_t i = 0; i < names.size() && i < w.size(); ++i) {
            const std::string& n = names[i];
            if (n == "x" || n == "y" || n == "h") {
                numbers = numbers && is_number(w[i]);
                ++coordinates;
                with_digits += w[i].find_first_of("0123456789") != std::string::npos ? 1 : 0;
                (n == "x" ? x : n == "y" ? y : h) = w[i];
            }
            name = n == "n" ? w[i] : name;
        }
        // The first line is a header when its coordinate words hold no digit.
        if (!stopped && std::exchange(first, false) && coordinates > 0 && with_digits == 0) {
            continue;
        }
        stopped =
            stopped || !numbers || w.size() < names.size() || (w.size() > names.size() && !rest);
        if (stopped) {
            break;
        }
        for (std::size_t i = names.size(); i < w.size(); ++i) {
            carried += (carried.empty() ? "" : " ") + w[i];
        }
        points.push_back({std::strtod(x.c_str(), nullptr), std::strtod(y.c_str(), nullptr),
                          std::strtod(h.c_str(), nullptr)});
        const PointResult r = transform_point(points.back());
        expected += row_of(layout, {name, x, y, h, carried}, r) + '\n';
        records += record_of(r);
    }
    std::istringstream in(input);
    const InProcessRun run = run_in_process(
        dir, [&in, &layout](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_table(in, out, err, log, layout);
        });
    if (run.status != (stopped ? 1 : 0)) {
        return "status " + std::to_string(run.status);
    }
    if (run.out != expected) {
        return "rows differ from the model's points";
    }
    return run.log == records ? "" : "log differs from the model's points";
}

}  // namespace geochain::testing_support
