#include "dialogue/dialogue.h"

#include <iostream>
#include <utility>

#include "dialogue/clear_screen.h"
#include "dialogue/console_streams.h"
#include "dialogue/number_input.h"
#include "dialogue/report.h"
#include "dialogue/results_log.h"
#include "geodesy/transform.h"

namespace geochain {

namespace {

constexpr char INVALID_ENTRY[] = "Neplatne cislo, zadejte znovu.";
constexpr char INCOMPLETE_POINT[] = "Neuplne zadani bodu, konec vstupu.";
constexpr char CONTINUE_QUESTION[] = "Vymazat obrazovku a pokracovat ? [ano='cokoliv' ne = '0'] ?";

// Ending a batch run: what was found, and where.
constexpr char REFUSED_ENTRY[] = "Neplatne cislo na radku ";
constexpr char TEXT_AFTER_ANSWER[] = "Za odpovedi na radku ";
constexpr char UTF16_INPUT[] =
    "Vstup je v kodovani UTF-16, ulozte jej jako UTF-8 nebo ANSI, konec vstupu.";
constexpr char END_OF_RUN[] = ", konec vstupu.";

enum class Asked { taken, end_of_input, refused, output_lost };

// Everything written so far must be visible before the program waits; once
// the output cannot be written any more, there is nobody left to answer.
bool ready_to_read(std::ostream& out) { return static_cast<bool>(out.flush()); }

// A word of the input as a message can show it: printable ASCII as it is,
// every other byte as \xNN, so that no control byte reaches the terminal,
// and "..." where it was cut.
std::string shown(const Word& word) {
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string text;
    for (const char ch : word.start) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte > ' ' && byte < 0x7F) {
            text += ch;
        } else {
            text.append("\\x").append(1, HEX[byte >> 4]).append(1, HEX[byte & 0xF]);
        }
    }
    return word.length > word.start.size() ? text + "..." : text;
}

Asked ask_number(InputLines& in, std::ostream& out, InputMode mode, const char* prompt,
                 double& value, Entry& refused) {
    for (;;) {
        out << prompt;
        if (!ready_to_read(out)) {
            return Asked::output_lost;
        }
        Entry entry = read_number(in);
        if (entry.kind == EntryKind::number) {
            value = entry.value;
            return Asked::taken;
        }
        if (entry.kind == EntryKind::end_of_input) {
            return Asked::end_of_input;
        }
        if (mode == InputMode::batch) {
            refused = std::move(entry);
            return Asked::refused;
        }
        discard_line(in);
        out << INVALID_ENTRY << std::endl;
    }
}

// The one line a batch run ends with on standard error.
void report_end_of_batch(std::ostream& err, const Entry& refused) {
    if (refused.kind == EntryKind::utf16) {
        err << UTF16_INPUT << std::endl;
    } else {
        err << REFUSED_ENTRY << refused.word.line << ": " << shown(refused.word) << END_OF_RUN
            << std::endl;
    }
}

}  // namespace

PointReading read_point(InputLines& in, std::ostream& out, InputMode mode) {
    PointReading reading{PointStatus::complete, {0.0, 0.0, 0.0}, {EntryKind::number, 0.0, {}}};
    out << "Zadat souradnice :" << std::endl;
    out << "-------------------" << std::endl;
    const char* const prompts[] = {"    X = ", "    Y = ", "h (elipsoidicka) = "};
    double* const values[] = {&reading.point.X, &reading.point.Y, &reading.point.h};
    for (int i = 0; i < 3; ++i) {
        switch (ask_number(in, out, mode, prompts[i], *values[i], reading.refused)) {
            case Asked::taken:
                break;
            case Asked::output_lost:
                reading.status = PointStatus::output_lost;
                return reading;
            case Asked::end_of_input:
                reading.status = i == 0 ? PointStatus::no_point : PointStatus::incomplete;
                return reading;
            case Asked::refused:
                reading.status = PointStatus::refused;
                return reading;
        }
    }
    return reading;
}

int run_dialogue(std::istream& in_stream, std::ostream& out, std::ostream& err,
                 const std::string& log_path, InputMode mode) {
    InputLines in{*in_stream.rdbuf()};
    for (;;) {
        clear_screen();
        const PointReading reading = read_point(in, out, mode);
        switch (reading.status) {
            case PointStatus::output_lost:
                return 1;
            case PointStatus::no_point:
                out << std::endl;
                return 0;
            case PointStatus::incomplete:
                out << std::endl;
                err << INCOMPLETE_POINT << std::endl;
                return 1;
            case PointStatus::refused:
                out << std::endl;
                report_end_of_batch(err, reading.refused);
                return 1;
            case PointStatus::complete:
                break;
        }
        const PointResult result = transform_point(reading.point);
        print_report(result, out);
        append_log(result, log_path);

        out << std::endl << std::endl << CONTINUE_QUESTION;
        if (!ready_to_read(out)) {
            return 1;
        }
        char answer = 0;
        if (!read_answer(in, answer)) {
            out << std::endl;
            return 0;
        }
        if (mode == InputMode::terminal) {
            // Only the first character answers; "ano" must not leave "no"
            // for the next X prompt.
            discard_line(in);
        } else if (const Word more = word_after_answer(in); more.length > 0) {
            // A point's line taken as the answer, or a second point after
            // it: going on would shift every later field.
            out << std::endl;
            err << TEXT_AFTER_ANSWER << more.line << " nasleduje dalsi text: " << shown(more)
                << END_OF_RUN << std::endl;
            return 1;
        }
        if (answer == '0') {
            return 0;
        }
    }
}

int run_dialogue(InputMode mode) {
    DescriptorInput keyboard(0);
    DescriptorOutput screen(1);
    std::istream in(&keyboard);
    std::ostream out(&screen);
    return run_dialogue(in, out, std::cerr, LOG_FILE_NAME, mode);
}

}  // namespace geochain
