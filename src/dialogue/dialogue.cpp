#include "dialogue/dialogue.h"

#include <iostream>

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

enum class Asked { taken, end_of_input, output_lost };

// Everything written so far must be visible before the program waits; once
// the output cannot be written any more, there is nobody left to answer.
bool ready_to_read(std::ostream& out) { return static_cast<bool>(out.flush()); }

Asked ask_number(std::istream& in, std::ostream& out, const char* prompt, double& value) {
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

}  // namespace

PointReading read_point(std::istream& in, std::ostream& out) {
    PointReading reading{PointStatus::complete, {0.0, 0.0, 0.0}};
    out << "Zadat souradnice :" << std::endl;
    out << "-------------------" << std::endl;
    const char* const prompts[] = {"    X = ", "    Y = ", "h (elipsoidicka) = "};
    double* const values[] = {&reading.point.X, &reading.point.Y, &reading.point.h};
    for (int i = 0; i < 3; ++i) {
        const Asked asked = ask_number(in, out, prompts[i], *values[i]);
        if (asked == Asked::output_lost) {
            reading.status = PointStatus::output_lost;
            return reading;
        }
        if (asked == Asked::end_of_input) {
            reading.status = i == 0 ? PointStatus::no_point : PointStatus::incomplete;
            return reading;
        }
    }
    return reading;
}

int run_dialogue(std::istream& in, std::ostream& out, std::ostream& err,
                 const std::string& log_path) {
    for (;;) {
        clear_screen();
        const PointReading reading = read_point(in, out);
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
        // Only the first character answers; "ano" must not leave "no" for
        // the next X prompt.
        discard_line(in);
        if (answer == '0') {
            return 0;
        }
    }
}

int run_dialogue() {
    DescriptorInput keyboard(0);
    DescriptorOutput screen(1);
    std::istream in(&keyboard);
    std::ostream out(&screen);
    return run_dialogue(in, out, std::cerr, LOG_FILE_NAME);
}

}  // namespace geochain
