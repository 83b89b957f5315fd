#include "dialogue/dialogue.h"

#include <cmath>
#include <istream>

#include "dialogue/batch_input.h"
#include "dialogue/clear_screen.h"
#include "dialogue/console_streams.h"
#include "dialogue/descriptor_io.h"
#include "dialogue/number_input.h"
#include "dialogue/report.h"
#include "dialogue/results_log.h"
#include "geodesy/area_of_use.h"
#include "geodesy/transform.h"

namespace geochain {

namespace {

constexpr char HEADING[] = "Zadat souradnice :";
constexpr char UNDERLINE[] = "-------------------";
constexpr char X_PROMPT[] = "    X = ";
constexpr char Y_PROMPT[] = "    Y = ";
constexpr char H_PROMPT[] = "h (elipsoidicka) = ";
constexpr char INVALID_ENTRY[] = "Neplatne cislo, zadejte znovu.";
constexpr char INCOMPLETE_POINT[] = "Neuplne zadani bodu, konec vstupu.";
constexpr char READ_ERROR[] = "Vstup nelze cist, konec vstupu.";
constexpr char OUTPUT_LOST[] = "Vystup nelze zapsat, konec.";
constexpr char CONTINUE_QUESTION[] = "Vymazat obrazovku a pokracovat ? [ano='cokoliv' ne = '0'] ?";

// CR LF around the classic math library's "%s: %s error" text. A Windows
// standard error is in text mode and adds the CR itself.
#ifdef _WIN32
constexpr char ASIN_DOMAIN_REPORT[] = "\nasin: DOMAIN error\n";
#else
constexpr char ASIN_DOMAIN_REPORT[] = "\r\nasin: DOMAIN error\r\n";
#endif

// Ending a batch run: what was found, and where.
constexpr char REFUSED_ENTRY[] = "Neplatne cislo na radku ";
constexpr char ON_LINE[] = "Na radku ";
constexpr char POINT_EXPECTED[] = " ma byt bod \"X Y h\": ";
constexpr char ANSWER_OR_POINT_EXPECTED[] = " ma byt odpoved nebo bod \"X Y h\": ";
constexpr char UTF16_INPUT[] =
    "Vstup je v kodovani UTF-16, ulozte jej jako UTF-8 nebo ANSI, konec vstupu.";
constexpr char END_OF_RUN[] = ", konec vstupu.";

// Warning of a batch point outside S-JTSK's area of use.
constexpr char WARNING[] = "Varovani: bod na radku ";
constexpr char OUTSIDE_AREA[] = ") lezi mimo uzemi S-JTSK";
constexpr char SWAPPED_INSIDE[] = "; po zamene X a Y by lezel uvnitr";
constexpr char NOT_COMPUTABLE[] = ") nelze spocitat";

// Everything written so far must be visible before the program waits; once
// the output cannot be written any more, there is nobody left to answer.
bool ready_to_read(std::ostream& out) { return static_cast<bool>(out.flush()); }

// The input ended: quietly, or because it could not be read (a directory, a
// connection reset), which is no end the user meant.
bool read_failed(InputLines& in) { return in.buf.pubsync() == -1; }

// Text of the input as a message can show it: printable ASCII as it is,
// every other byte as \xNN, so that no control byte reaches the terminal,
// and "..." where it was cut.
std::string shown(const Word& word) {
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string text;
    for (const char ch : word.start) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= ' ' && byte < 0x7F) {
            text += ch;
        } else {
            text.append("\\x").append(1, HEX[byte >> 4]).append(1, HEX[byte & 0xF]);
        }
    }
    return word.length > word.start.size() ? text + "..." : text;
}

void write_heading(std::ostream& out) {
    out << HEADING << std::endl;
    out << UNDERLINE << std::endl;
}

PointReading end_of_input(InputLines& in, bool inside_point) {
    if (read_failed(in)) {
        return {PointStatus::ended, {}, READ_ERROR};
    }
    return inside_point ? PointReading{PointStatus::ended, {}, INCOMPLETE_POINT}
                        : PointReading{PointStatus::no_point, {}, {}};
}

enum class Asked { taken, end_of_input, output_lost };

Asked ask_number(InputLines& in, std::ostream& out, const char* prompt, double& value) {
    for (;;) {
        out << prompt;
        if (!ready_to_read(out)) {
            return Asked::output_lost;
        }
        const Entry entry = read_number(in);
        if (entry.kind == EntryKind::number) {
            value = entry.value;
            return Asked::taken;
        }
        if (entry.kind == EntryKind::end_of_input) {
            return Asked::end_of_input;
        }
        discard_line(in);
        out << INVALID_ENTRY << std::endl;
    }
}

// Why a batch line cannot be taken where it stands.
std::string refusal(const BatchLine& line, bool answer_expected) {
    if (line.kind == LineKind::utf16) {
        return UTF16_INPUT;
    }
    if (line.kind == LineKind::not_a_number) {
        return REFUSED_ENTRY + std::to_string(line.number) + ": " + shown(line.refused) +
               END_OF_RUN;
    }
    return ON_LINE + std::to_string(line.number) +
           (answer_expected ? ANSWER_OR_POINT_EXPECTED : POINT_EXPECTED) + shown(line.text) +
           END_OF_RUN;
}

// A batch point: its line, read at the X prompt, or already read where the
// question expected an answer. The prompts are written all the same, so that
// a file's reports do not depend on its answer lines.
PointReading read_point_line(InputLines& in, std::ostream& out, BatchLine& line,
                             bool& already_read) {
    write_heading(out);
    out << X_PROMPT;
    if (!already_read) {
        if (!ready_to_read(out)) {
            return {PointStatus::output_lost, {}, {}};
        }
        line = read_batch_line(in);
    }
    already_read = false;
    if (line.kind == LineKind::point) {
        out << Y_PROMPT << H_PROMPT;
        return {PointStatus::complete, line.point, {}};
    }
    if (line.kind == LineKind::end_of_input) {
        return end_of_input(in, false);
    }
    return {PointStatus::ended, {}, refusal(line, false)};
}

// A batch point far from S-JTSK's territory: most often a list that gives Y
// before X, or coordinates of another system. It is still reported and
// logged as given; the user is told on standard error.
void warn_if_outside_area(const BatchLine& line, const PointResult& result, std::ostream& err) {
    const GeographicCoords& g = result.geographic;
    if (within_area_of_use(g)) {
        return;
    }
    err << WARNING << line.number << " (X = " << shown(line.x) << ", Y = " << shown(line.y);
    if (std::isnan(g.fi) || std::isnan(g.lambda)) {
        err << NOT_COMPUTABLE;
    } else {
        const PlanePoint p = result.plane;
        err << OUTSIDE_AREA
            << (within_area_of_use(transform_point({p.Y, p.X, p.h}).geographic) ? SWAPPED_INSIDE
                                                                                : "");
    }
    err << '.' << std::endl;
}

// How a run that did not end by the answer "0" ends: the line that the
// prompt or the question began is ended before any message.
int end_run(const PointReading& ending, std::ostream& out, std::ostream& err) {
    if (ending.status == PointStatus::output_lost) {
        return 1;
    }
    out << std::endl;
    if (ending.status == PointStatus::no_point) {
        return 0;
    }
    err << ending.reason << std::endl;
    return 1;
}

enum class Reply { go_on, stop, end_of_input, refused };

Reply typed_reply(InputLines& in) {
    char answer = 0;
    if (!read_answer(in, answer)) {
        return Reply::end_of_input;
    }
    // Only the first character answers; "ano" must not leave "no" for the
    // next X prompt. An answer line that a read error cut off is no answer.
    discard_line(in);
    if (read_failed(in)) {
        return Reply::end_of_input;
    }
    return answer == '0' ? Reply::stop : Reply::go_on;
}

// An answer line, or the next point straight away: answer lines are
// optional in a file. The end of the input is met by the next point's
// prompt, as after an answer "1", so that a file's output is the same with
// and without its answer lines.
Reply batch_reply(InputLines& in, BatchLine& line, bool& next_point_read) {
    line = read_batch_line(in);
    next_point_read = line.kind == LineKind::point || line.kind == LineKind::end_of_input;
    switch (line.kind) {
        case LineKind::point:
        case LineKind::end_of_input:
            return Reply::go_on;
        case LineKind::one_word:
            return line.answer == '0' ? Reply::stop : Reply::go_on;
        default:
            return Reply::refused;
    }
}

}  // namespace

PointReading read_point(InputLines& in, std::ostream& out) {
    PointReading reading{PointStatus::complete, {0.0, 0.0, 0.0}, {}};
    write_heading(out);
    const char* const prompts[] = {X_PROMPT, Y_PROMPT, H_PROMPT};
    double* const values[] = {&reading.point.X, &reading.point.Y, &reading.point.h};
    for (int i = 0; i < 3; ++i) {
        switch (ask_number(in, out, prompts[i], *values[i])) {
            case Asked::taken:
                break;
            case Asked::output_lost:
                return {PointStatus::output_lost, {}, {}};
            case Asked::end_of_input:
                return end_of_input(in, i > 0);
        }
    }
    return reading;
}

int run_dialogue(std::istream& in_stream, std::ostream& out, std::ostream& err,
                 const std::string& log_path, InputMode mode, PendingRecords* held) {
    InputLines in{*in_stream.rdbuf()};
    const bool batch = mode == InputMode::batch;
    BatchLine line;  // batch: the line of the current point, then the one after it
    bool next_point_read = false;
    for (;;) {
        // The clear is the operator's: nobody reads a file's dialogue on
        // the screen.
        if (!batch) {
            clear_screen();
        }
        const PointReading reading =
            batch ? read_point_line(in, out, line, next_point_read) : read_point(in, out);
        if (reading.status != PointStatus::complete) {
            return end_run(reading, out, err);
        }
        const PointResult result = transform_point(reading.point);
        // Standard error writes what standard output holds first.
        for (int i = 0; i < result.spherical.asin_domain_errors; ++i) {
            err << ASIN_DOMAIN_REPORT << std::flush;
        }
        print_report(result, out);
        // The record of a report that has reached the output: held until
        // the report is written, or appended once it is.
        if (held != nullptr) {
            const auto report_end = out.tellp();
            if (report_end >= 0) {
                hold_record(*held, static_cast<std::uint64_t>(report_end), result);
            }
        } else if (out) {
            append_log(result, log_path);
        }

        out << std::endl;
        if (batch) {
            warn_if_outside_area(line, result, err);
        }
        out << std::endl << CONTINUE_QUESTION;
        if (!ready_to_read(out)) {
            return 1;
        }
        switch (batch ? batch_reply(in, line, next_point_read) : typed_reply(in)) {
            case Reply::go_on:
                break;
            case Reply::stop:
                return 0;
            case Reply::end_of_input:
                return end_run(end_of_input(in, false), out, err);
            case Reply::refused:
                return end_run({PointStatus::ended, {}, refusal(line, true)}, out, err);
        }
    }
}

int run_dialogue(InputMode mode) {
    // A file or a pipe that a script reads to its end: nobody watches the
    // lines arrive, so the output goes in blocks.
    const bool in_blocks = mode == InputMode::batch && !is_terminal(1);
    PendingRecords records{LOG_FILE_NAME, {}, {}};
    DescriptorOutput screen(1, in_blocks, &records);
    DescriptorOutput error_output(2, false, nullptr, &screen);
    DescriptorInput keyboard(0, &screen);
    std::istream in(&keyboard);
    std::ostream out(&screen);
    std::ostream err(&error_output);
    const int status = run_dialogue(in, out, err, LOG_FILE_NAME, mode, &records);
    // Whatever ended the run, its last block goes out now. A lost output
    // is said where it can still be read.
    if (!screen.write_block()) {
        err << OUTPUT_LOST << std::endl;
        return 1;
    }
    return status;
}

}  // namespace geochain
