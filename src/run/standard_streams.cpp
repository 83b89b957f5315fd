#include "run/standard_streams.h"

#include <istream>
#include <ostream>

#include "io/clear_screen.h"
#include "io/descriptor_io.h"
#include "io/descriptor_streams.h"
#include "io/results_log.h"
#include "run/dialogue.h"
#include "run/messages.h"
#include "run/table.h"

namespace geochain {

Terminals find_terminals() { return {is_terminal(0), is_terminal(1)}; }

int run_on_standard_streams(const Options& options, Terminals terminals) {
    // An operator at a terminal, or a file or pipe that nobody can type an
    // entry into again, read by its lines and never cleared for.
    const InputMode mode =
        terminals.input && !options.table ? InputMode::terminal : InputMode::batch;
    if (mode == InputMode::terminal) {
        open_console();
    } else {
        read_as_bytes(0);
    }
    PendingRecords log{LOG_FILE_NAME, {}, {}};
    // A file or a pipe that a script reads to its end: nobody watches the
    // lines arrive, so the output goes in blocks. After each write, the
    // records of the reports now out go to the log.
    DescriptorOutput output(1, !terminals.input && !terminals.output, nullptr,
                            [&log](std::uint64_t bytes_out) { log_reports_out(log, bytes_out); });
    DescriptorOutput error_output(2, false, &output);
    // A table typed at a terminal ends at once at Ctrl-D, also after a
    // line without its Enter.
    DescriptorInput input(0, &output, terminals.input && options.table);
    std::istream in(&input);
    std::ostream out(&output);
    std::ostream err(&error_output);
    const int status = options.table ? run_table(in, out, err, log, options.layout,
                                                 terminals.input && terminals.output)
                                     : run_dialogue(in, out, err, log, mode, options.layout);
    // Whatever ended the run, its last block goes out now. A lost output
    // is said where it can still be read.
    if (!output.write_block()) {
        err << OUTPUT_LOST << std::endl;
        return 1;
    }
    return status;
}

}  // namespace geochain
