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
#include <vector>

#include "run/dialogue.h"
#include "text/report.h"
#include "io/results_log.h"
#include "geodesy/transform.h"
#include "process.h"

namespace geochain::testing_support {

struct ModelRun {
    std::vector<PlanePoint> points;
    bool stopped = false;  // at a line that is neither a point nor an answer
};

inline ModelRun points_file_model(std::string text) {
    // A number as the C library reads one in the C locale, less its
    // hexadecimal, infinity and not-a-number forms.
    const auto is_number = [](const std::string& w) {
        char* end = nullptr;
        return w.size() <= 4096 && w.find_first_not_of("+-.0123456789eE") == std::string::npos &&
               (std::strtod(w.c_str(), &end), end == w.c_str() + w.size());
    };
    for (char& ch : text) {  // every line end an LF (CR LF: a line and a blank one); 0x1A a blank
        ch = ch == '\r' ? '\n' : ch == '\x1A' ? ' ' : ch;
    }
    ModelRun run;
    bool point_expected = true;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream split(line);
        const std::vector<std::string> w{std::istream_iterator<std::string>(split), {}};
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
inline std::string points_file_mismatch(std::string input, const std::string& log) {
    input.erase(0, input.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    const ModelRun model = points_file_model(input);
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_dialogue(in, out, err, log, InputMode::batch);
    const std::string logged = read_file(log);
    std::remove(log.c_str());
    const std::string shown = out.str();
    std::size_t at = 0;
    for (const PlanePoint& p : model.points) {
        const PointResult r = transform_point(p);
        append_log(r, log);
        std::ostringstream report;
        print_report(r, report);
        at = shown.find(report.str(), at);
        if (at == std::string::npos) {
            return "no report of the model's point " + std::to_string(&p - model.points.data());
        }
    }
    const std::string expected = read_file(log);
    std::remove(log.c_str());
    // Each point computed is logged: a record too many is a point too many.
    if (status != (model.stopped ? 1 : 0)) {
        return "status " + std::to_string(status);
    }
    return logged == expected ? "" : "log differs from the model's points";
}

}  // namespace geochain::testing_support
