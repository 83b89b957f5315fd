#include "run/standard_streams.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "io/clear_screen.h"
#include "io/descriptor_io.h"
#include "io/descriptor_streams.h"
#include "io/results_log.h"
#include "run/dialogue.h"
#include "run/messages.h"
#include "run/named_files.h"
#include "run/table.h"

namespace geochain {

Terminals find_terminals() { return {is_terminal(0), is_terminal(1), is_terminal(2)}; }

int run_on_standard_streams(const Options& options, Terminals terminals) {
    // A mistyped file name is said before anything is read or computed.
    const std::vector<std::string>& files = options.files;
    for (const std::string& name : files) {
        const FileProblem problem = name == "-" ? FileProblem::none : file_problem(name.c_str());
        if (problem != FileProblem::none) {
            const std::string message = file_refused(name, problem) + "\n";
            write_all(2, message.data(), message.size());
            return 1;
        }
    }
    // With files named, standard input is read only as "-".
    terminals.input =
        terminals.input && (files.empty() || std::count(files.begin(), files.end(), "-") > 0);
    // An operator at a terminal, or a file or pipe that nobody can type an
    // entry into again, read by its lines and never cleared for.
    const InputMode mode = terminals.input && !options.table && !options.geojson && files.empty()
                               ? InputMode::terminal
                               : InputMode::batch;
    if (mode == InputMode::terminal) {
        open_console();
    } else if (files.empty()) {
        read_as_bytes(0);
    }
    PendingRecords log{LOG_FILE_NAME, {}, {}};
    // A file or a pipe that a script reads to its end: nobody watches the
    // lines arrive, so the output goes in blocks. After each write, the
    // records of the reports now out go to the log.
    const int shared = same_destination(1, 2);
    // Messages to a file of their own go in blocks too, each written with
    // the output's, so that a stop or a wait for input finds none held.
    DescriptorOutput error_output(2, shared == 0 && !terminals.error);
    DescriptorOutput output(1, !terminals.input && !terminals.output, nullptr,
                            [&log](std::uint64_t bytes_out) { log_reports_out(log, bytes_out); });
    if (shared == 0) {
        output.write_first(&error_output);
    } else if (shared < 0) {
        // Where it cannot be told, each message goes out at once, after
        // everything the output holds, as the user reads them with 2>&1.
        error_output.write_first(&output);
    }
    // A table typed at a terminal ends at once at Ctrl-D, also after a
    // line without its Enter.
    const bool typed = terminals.input && (options.table || options.geojson);
    DescriptorInput input(files.empty() ? 0 : -1, &output, typed);
    NamedFiles named{files, input, typed};
    NextFile next_file;
    if (!files.empty()) {
        next_file = [&named](InputLines& lines) { return open_next_file(named, lines); };
    }
    std::istream in(&input);
    std::ostream out(&output);
    // Where both go to one place (2>&1), the messages go into the output's
    // own buffer: in their order, at the output's pace.
    std::ostream err(shared == 1 ? static_cast<std::streambuf*>(&output) : &error_output);
    const int status =
        options.geojson ? run_geojson(in, out, err, log, options.layout, next_file)
        : options.table
            ? run_table(in, out, err, log, options.layout, typed && terminals.output, next_file)
            : run_dialogue(in, out, err, log, mode, options.layout, next_file);
    close_named_file(named);
    // Whatever ended the run, its last block goes out now. A lost output
    // is said where it can still be read.
    const bool written = output.write_block();
    output.write_first(nullptr);
    error_output.write_first(nullptr);
    if (!written) {
        err << OUTPUT_LOST << std::endl;
        return 1;
    }
    return status;
}

}  // namespace geochain
