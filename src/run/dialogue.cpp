#include "run/dialogue.h"

#include <istream>
#include <string_view>
#include <utility>

#include "geodesy/transform.h"
#include "io/clear_screen.h"
#include "io/descriptor_streams.h"
#include "io/line_input.h"
#include "io/number_input.h"
#include "io/results_log.h"
#include "run/messages.h"
#include "text/log_record.h"
#include "text/report.h"

namespace geochain {

namespace {

constexpr std::string_view HEADING = "Zadat souradnice :\n-------------------\n";
constexpr std::string_view X_PROMPT = "    X = ";
constexpr std::string_view Y_PROMPT = "    Y = ";
constexpr std::string_view H_PROMPT = "h (elipsoidicka) = ";
constexpr std::string_view INVALID_ENTRY = "Neplatne cislo, zadejte znovu.\n";
// A file's point: its prompts, which wait for nothing, in one piece.
constexpr std::string_view HEADING_AND_X_PROMPT =
    "Zadat souradnice :\n-------------------\n    X = ";
constexpr std::string_view Y_AND_H_PROMPTS = "    Y = h (elipsoidicka) = ";
// With ETRS89 by ČÚZK's method, the height asked for is the normal one.
constexpr std::string_view NORMAL_H_PROMPT = "H (Bpv) = ";
constexpr std::string_view Y_AND_NORMAL_H_PROMPTS = "    Y = H (Bpv) = ";
// Back from ETRS89: its latitude and longitude in degrees.
constexpr std::string_view FI_PROMPT = "   fi = ";
constexpr std::string_view LAMBDA_PROMPT = "lambda = ";
constexpr std::string_view HEADING_AND_FI_PROMPT =
    "Zadat souradnice :\n-------------------\n   fi = ";
constexpr std::string_view LAMBDA_AND_H_PROMPTS = "lambda = h (elipsoidicka) = ";
constexpr std::string_view CONTINUE_QUESTION =
    "\nVymazat obrazovku a pokracovat ? [ano='cokoliv' ne = '0'] ?";

// The input ended: quietly, or because it could not be read (a directory, a
// connection reset, a named file that cannot be opened), which is no end
// the user meant.
bool read_failed(InputLines& in) { return in.buf.pubsync() == -1; }

PointReading end_of_input(InputLines& in, bool inside_point) {
    std::string failure = input_failure(in);
    if (!failure.empty()) {
        return {PointStatus::ended, {}, {}, std::move(failure)};
    }
    return inside_point ? PointReading{PointStatus::ended, {}, {}, INCOMPLETE_POINT}
                        : PointReading{PointStatus::no_point, {}, {}, {}};
}

enum class Asked { taken, end_of_input, output_lost };

Asked ask_number(InputLines& in, std::ostream& out, std::string_view prompt, double& value) {
    for (;;) {
        put_text(out, prompt);
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
        put_text(out, INVALID_ENTRY);
    }
}

// A batch point: its line, read at the X prompt, or already read where the
// question expected an answer. The prompts are written all the same, so that
// a file's reports do not depend on its answer lines.
PointReading read_point_line(InputLines& in, std::ostream& out, const Layout& layout,
                             BatchLine& line, bool& already_read) {
    const bool back = layout.chain.from_etrs89;
    put_text(out, back ? HEADING_AND_FI_PROMPT : HEADING_AND_X_PROMPT);
    if (!already_read) {
        if (!ready_to_read(out)) {
            return {PointStatus::output_lost, {}, {}, {}};
        }
        line = read_batch_line(in, layout);
    }
    already_read = false;
    if (line.kind == LineKind::point) {
        put_text(out, back                  ? LAMBDA_AND_H_PROMPTS
                      : layout.chain.etrs89 ? Y_AND_NORMAL_H_PROMPTS
                                            : Y_AND_H_PROMPTS);
        return {PointStatus::complete, line.point, line.etrs, {}};
    }
    if (line.kind == LineKind::end_of_input) {
        return end_of_input(in, false);
    }
    return {PointStatus::ended, {}, {}, refusal(line, layout, false)};
}

// How a run that did not end by the answer "0" ends: the line that the
// prompt or the question began is ended before any message.
int end_run(const PointReading& ending, std::ostream& out, std::ostream& err) {
    if (ending.status == PointStatus::output_lost) {
        return 1;
    }
    put_text(out, "\n");
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
Reply batch_reply(InputLines& in, const Layout& layout, BatchLine& line, bool& next_point_read) {
    line = read_batch_line(in, layout);
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

// Puts the report, the way there or back from ETRS89 as the chain ran, its
// record held until the report is out. Kept out of
// the dialogue's loop: inlined there, as link-time optimisation would, it
// makes the loop spill its registers around it, 200 instructions a report
// more (callgrind).
[[gnu::noinline]] void print_report(const PointResult& result, std::ostream& out,
                                    PendingRecords& log, bool height, const ChainOptions& chain) {
    char report[REPORT_ROOM];
    char record[RECORD_ROOM];
    WrittenValues values;
    const char* const report_end = chain.from_etrs89
                                       ? write_etrs89_back_report(report, result, values)
                                       : write_report(report, result, values, height, chain.etrs89);
    const char* const record_end = write_record(record, result, values);
    put_logged(out, std::string_view(report, static_cast<std::size_t>(report_end - report)),
               std::string_view(record, static_cast<std::size_t>(record_end - record)), log);
}

}  // namespace

PointReading read_point(InputLines& in, std::ostream& out, const ChainOptions& chain) {
    PointReading reading{PointStatus::complete, {0.0, 0.0, 0.0}, {0.0, 0.0}, {}};
    put_text(out, HEADING);
    const bool back = chain.from_etrs89;
    const std::string_view prompts[] = {back ? FI_PROMPT : X_PROMPT,
                                        back ? LAMBDA_PROMPT : Y_PROMPT,
                                        chain.etrs89 ? NORMAL_H_PROMPT : H_PROMPT};
    double* const values[] = {back ? &reading.etrs.fi : &reading.point.X,
                              back ? &reading.etrs.lambda : &reading.point.Y, &reading.point.h};
    for (int i = 0; i < 3; ++i) {
        switch (ask_number(in, out, prompts[i], *values[i])) {
            case Asked::taken:
                break;
            case Asked::output_lost:
                return {PointStatus::output_lost, {}, {}, {}};
            case Asked::end_of_input:
                return end_of_input(in, i > 0);
        }
    }
    return reading;
}

int run_dialogue(std::istream& in_stream, std::ostream& out, std::ostream& err, PendingRecords& log,
                 InputMode mode, const Layout& layout, const NextFile& next_file) {
    InputLines in{*in_stream.rdbuf()};
    in.next_file = next_file;
    const bool batch = mode == InputMode::batch;
    BatchLine line;  // batch: the line of the current point, then the one after it
    bool next_point_read = false;
    for (;;) {
        // The clear is the operator's: nobody reads a file's dialogue on
        // the screen.
        if (!batch) {
            clear_screen();
        }
        const PointReading reading = batch ? read_point_line(in, out, layout, line, next_point_read)
                                           : read_point(in, out, layout.chain);
        if (reading.status != PointStatus::complete) {
            return end_run(reading, out, err);
        }
        const bool back = layout.chain.from_etrs89;
        // Back from ETRS89, fi and lambda that are none are taken no
        // further: a file's run ends, the operator may type another point.
        const std::string not_a_point = !back   ? std::string()
                                        : batch ? not_etrs89(line)
                                                : typed_not_etrs89(reading.etrs);
        if (!not_a_point.empty() && batch) {
            return end_run({PointStatus::ended, {}, {}, not_a_point}, out, err);
        }
        const PointResult result = !not_a_point.empty() ? PointResult{}
                                   : back ? transform_etrs89_point(reading.etrs, reading.point.h)
                                          : transform_point(reading.point, layout.chain);
        // Off ČÚZK's table nothing is shown or logged, the same way.
        const bool off_table =
            not_a_point.empty() && (layout.chain.etrs89 || back) && !result.etrs89.inside;
        if (off_table && batch) {
            return end_run({PointStatus::ended, {}, {}, off_the_table(line, layout)}, out, err);
        }
        if (!not_a_point.empty() || off_table) {
            put_text(out, "\n");
            err << (!not_a_point.empty() ? not_a_point
                    : back               ? TYPED_OFF_THE_TABLE_BACK
                                         : TYPED_OFF_THE_TABLE)
                << std::endl;
        } else {
            report_asin_domain_errors(result, err);
            // A file's line may have no height, where its layout allows.
            print_report(result, out, log, !batch || !line.h.empty(), layout.chain);
        }

        put_text(out, "\n");
        if (batch && !back) {
            warn_if_outside_area(line, result, err);
        }
        put_text(out, CONTINUE_QUESTION);
        if (!ready_to_read(out)) {
            return 1;
        }
        switch (batch ? batch_reply(in, layout, line, next_point_read) : typed_reply(in)) {
            case Reply::go_on:
                break;
            case Reply::stop:
                return 0;
            case Reply::end_of_input:
                return end_run(end_of_input(in, false), out, err);
            case Reply::refused:
                return end_run({PointStatus::ended, {}, {}, refusal(line, layout, true)}, out, err);
        }
    }
}

}  // namespace geochain
