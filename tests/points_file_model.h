// What batch input promises, checked against the dialogue itself: every
// point it computes is a point line of the input, in order. The model below
// is written from the points-file rules as users read them, not from the
// reader, so that a reader that shifts a field shows.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "geodesy/transform.h"
#include "in_process.h"
#include "run/dialogue.h"
#include "run/named_files.h"
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
    return !w.empty() && w.size() <= 4096 &&
           w.find_first_not_of("+-.0123456789eE") == std::string::npos &&
           (std::strtod(w.c_str(), &end), end == w.c_str() + w.size());
}

// A file's lines; with the decimal comma, a line whose quoted field (a
// quote that opens a field, after a byte-order mark or blanks where the
// line begins) is open at its end goes on past its line end, which it
// keeps. Each with whether it spans lines (or the file ends it open).
inline std::vector<std::pair<std::string, bool>> records_of(const std::string& file,
                                                            bool decimal_comma) {
    enum { field_start, unquoted, quoted, quote_in_quoted } state = field_start;
    std::vector<std::pair<std::string, bool>> records(1);
    for (std::size_t i = 0; i < file.size(); ++i) {
        const char ch = file[i];
        auto& [text, spans] = records.back();
        const bool line_end = ch == '\n' || ch == '\r';
        if (line_end && (state != quoted || !decimal_comma)) {
            i += ch == '\r' && i + 1 < file.size() && file[i + 1] == '\n' ? 1 : 0;
            records.emplace_back();
            state = field_start;
            continue;
        }
        const bool leading = text.find_first_not_of(" \t\v\f\x1A") == std::string::npos;
        if (leading && file.compare(i, 3, "\xEF\xBB\xBF") == 0) {
            text += file.substr(i, 3);
            i += 2;
            continue;
        }
        spans = spans || line_end;
        text += ch;
        const bool blank = std::string(" \t\v\f\x1A").find(ch) != std::string::npos;
        state = state == quoted                         ? (ch == '"' ? quote_in_quoted : quoted)
                : state == quote_in_quoted && ch == '"' ? quoted
                : ch == ';'                             ? field_start
                : state == field_start && ch == '"'     ? quoted
                : state == field_start && blank         ? field_start
                                                        : unquoted;
    }
    // A quote still open where the file ends leaves its record open too.
    records.back().second = records.back().second || (decimal_comma && state == quoted);
    return records;
}

// A record's words: split at blanks, or, where it holds ';' outside quotes
// and the decimal comma is on, at each ';' (fields trimmed, the last empty
// ones none); with the decimal comma a word may be quoted as CSV quotes it.
// False for a record no CSV writer writes.
inline bool words_of(std::string text, bool decimal_comma, std::vector<std::string>& words,
                     bool& fields) {
    const std::string blanks = " \t\v\f\x1A";
    text.erase(0, std::min(text.find_first_not_of(blanks), text.size()));
    text.erase(0, text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    bool quoted = false;
    fields = false;
    for (const char ch : text) {
        quoted = quoted != (ch == '"');
        fields = fields || (decimal_comma && ch == ';' && !quoted);
    }
    const std::string separators = fields ? ";" : blanks;
    for (std::size_t i = 0; i <= text.size();) {
        i = fields ? std::min(text.find_first_not_of(blanks, i), text.size())
                   : text.find_first_not_of(blanks, i);
        if (i == std::string::npos || (!fields && i == text.size())) {
            break;
        }
        std::string word;
        std::size_t end = i;
        if (decimal_comma && text[i] == '"') {
            for (end = i + 1; end < text.size(); ++end) {
                if (text[end] == '"' && (end + 1 == text.size() || text[end + 1] != '"')) {
                    break;
                }
                end += text[end] == '"' ? 1 : 0;
                word += text[end];
            }
            if (end++ == text.size()) {
                return false;
            }
            const std::size_t next = fields ? text.find_first_not_of(blanks, end) : end;
            if (next < text.size() && separators.find(text[next]) == std::string::npos) {
                return false;
            }
            end = std::min(next, text.size());
        } else {
            end = std::min(text.find_first_of(separators, i), text.size());
            word = text.substr(i, end - i);
            word.erase(std::min(word.find_last_not_of(blanks) + 1, word.size()));
        }
        words.push_back(word);
        i = end + 1;
    }
    while (fields && !words.empty() && words.back().empty()) {
        words.pop_back();
    }
    return true;
}

inline ModelRun points_file_model(const std::string& text) {
    ModelRun run;
    bool point_expected = true;
    for (const auto& record : records_of(text, false)) {
        std::vector<std::string> w;
        bool fields = false;
        words_of(record.first, false, w, fields);
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

// Files joined for a test: the parts of one input between its 0x1C bytes
// (ASCII's file separator).
inline std::vector<std::string> files_of(const std::string& input) {
    std::vector<std::string> files(1);
    for (const char ch : input) {
        if (ch == '\x1C') {
            files.emplace_back();
        } else {
            files.back() += ch;
        }
    }
    return files;
}

// The layouts a table is tried with: as a surveyor's list, and as a Czech
// spreadsheet's.
struct TriedLayout {
    const char* columns;
    bool decimal_comma;
};
inline constexpr TriedLayout TRIED_LAYOUTS[] = {{"x,y,h", false},  {"n,y,x,h,...", false},
                                                {"-,x,y", false},  {"n,y,x,h?,...", true},
                                                {"x,y,h?", false}, {"n,y,x,h,...", true}};

// A number of a table's coordinate: with the decimal comma, either mark
// where it is the only one and has a digit on either side.
inline bool is_coordinate(std::string w, bool decimal_comma) {
    const std::size_t mark = w.find_first_of(".,");
    const auto digit = [&w](std::size_t i) { return i < w.size() && std::isdigit(w[i]) != 0; };
    if (!decimal_comma || mark == std::string::npos) {
        return is_number(w);
    }
    w[mark] = '.';
    return w.find_first_of(".,", mark + 1) == std::string::npos && mark > 0 && digit(mark - 1) &&
           digit(mark + 1) && is_number(w);
}

// The same for a table by a layout such as "n,y,x,h?,...", read from the
// given files in order: the header, then exactly the rows of the model's
// points, in order, and their records.
inline std::string table_mismatch(const std::vector<std::string>& files,
                                  const std::filesystem::path& dir, const std::string& columns,
                                  bool decimal_comma = false) {
    std::vector<const char*> args = {"geochain", "--table", "--columns", columns.c_str(),
                                     "--decimal-comma"};
    const Layout layout = parse_options(decimal_comma ? 5 : 4, args.data(), false).layout;
    std::vector<std::string> names;
    for (std::istringstream split(columns); std::getline(split, names.emplace_back(), ',');) {
    }
    names.pop_back();
    const bool rest = names.back() == "...";
    names.resize(names.size() - (rest ? 1 : 0));
    const bool optional_h = std::count(names.begin(), names.end(), "h?") > 0;
    const auto utf16 = [](std::string line) {  // its first 40 bytes from the first word on
        line = line.substr(std::min(line.find_first_not_of(" \t\v\f\x1A"), line.size()), 40);
        bool nul[2] = {line.size() >= 2, line.size() >= 2};
        for (std::size_t i = 0; i < line.size(); ++i) {
            nul[i % 2] = nul[i % 2] && line[i] == '\0';
        }
        return line.rfind("\xFF\xFE", 0) == 0 || line.rfind("\xFE\xFF", 0) == 0 || nul[0] || nul[1];
    };
    std::string expected;
    append_table_header(expected, layout);
    std::string records;
    bool stopped = false;
    for (std::string file : files) {
        file.erase(0, file.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
        bool first = true;
        bool first_line = true;  // of the file: where UTF-16 shows
        for (const auto& [record, spans] : records_of(file, decimal_comma)) {
            std::vector<std::string> w;
            bool fields = false;
            // A record over lines is a row of fields or nothing.
            const bool csv =
                words_of(record, decimal_comma, w, fields) && !(spans && (!fields || w.size() < 2));
            stopped = std::exchange(first_line, false) && utf16(record);
            if (csv && w.empty() && !stopped) {
                continue;
            }
            std::map<std::string, std::string> got{{"h", "0"}};  // x, y, h and n as written
            int coordinates = 0;
            int with_digits = 0;
            for (std::size_t i = 0; i < names.size() && i < w.size(); ++i) {
                if (names[i] != "n" && names[i] != "-") {
                    ++coordinates;
                    with_digits += w[i].find_first_of("0123456789") != std::string::npos ? 1 : 0;
                }
            }
            // Each word where the layout puts it; a height that may be
            // missing is one only as a number with a decimal mark.
            bool numbers = true;
            std::size_t at = 0;
            for (const std::string& n : names) {
                const bool coordinate = n != "n" && n != "-";
                if (n == "h?" &&
                    (at == w.size() || !is_coordinate(w[at], decimal_comma) ||
                     w[at].find_first_of(decimal_comma ? ".," : ".") == std::string::npos)) {
                    got["h"].clear();
                } else if (at == w.size()) {
                    numbers = false;
                } else {
                    numbers = numbers && (!coordinate || is_coordinate(w[at], decimal_comma));
                    got[n == "h?" ? "h" : n] = w[at++];
                }
            }
            const std::string& x = got["x"];
            const std::string& y = got["y"];
            const std::string& h = got["h"];
            const std::string& name = got["n"];
            // The first line is a header when its coordinate words hold no digit.
            if (!stopped && csv && std::exchange(first, false) && coordinates > 0 &&
                with_digits == 0) {
                continue;
            }
            stopped = stopped || !csv || !numbers || w.size() == 1 ||
                      w.size() + (optional_h ? 1 : 0) < names.size() || (at < w.size() && !rest);
            if (stopped) {
                break;
            }
            std::string carried;
            for (std::size_t i = at; i < w.size(); ++i) {
                carried += (carried.empty() ? "" : " ") + w[i];
            }
            const std::vector<std::string_view> rest_fields(w.begin() + static_cast<long>(at),
                                                            w.end());
            const auto number = [](std::string v) {
                std::replace(v.begin(), v.end(), ',', '.');
                return std::strtod(v.c_str(), nullptr);
            };
            const PointResult r = transform_point({number(x), number(y), number(h)});
            RowWords words{name, x, y, h, carried};
            if (fields) {
                words.rest_fields = rest_fields.data();
                words.rest_field_count = rest_fields.size();
            }
            expected += row_of(layout, words, r) + '\n';
            records += record_of(r);
        }
        if (stopped) {
            break;
        }
    }
    // The program's way: the files named, opened one after another.
    std::vector<std::string> paths;
    for (const std::string& file : files) {
        paths.push_back((dir / ("file" + std::to_string(paths.size()))).string());
        write_file(paths.back(), file);
    }
    DescriptorInput input(-1);
    NamedFiles named{paths, input};
    std::istream in(&input);
    const InProcessRun run =
        run_in_process(dir, [&](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_table(in, out, err, log, layout, false,
                             [&named](InputLines& lines) { return open_next_file(named, lines); });
        });
    close_named_file(named);
    if (run.status != (stopped ? 1 : 0)) {
        return "status " + std::to_string(run.status);
    }
    if (run.out != expected) {
        return "rows differ from the model's points:\n" + expected + "--- the table's:\n" + run.out;
    }
    return run.log == records ? "" : "log differs from the model's points";
}

}  // namespace geochain::testing_support
