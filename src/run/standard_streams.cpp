#include "run/standard_streams.h"

#include <istream>
#include <ostream>

#include "io/clear_screen.h"
#include "io/console_streams.h"
#include "io/descriptor_io.h"
#include "io/results_log.h"
#include "run/dialogue.h"
#include "run/messages.h"
#include "run/table.h"

namespace geochain {

int run_on_standard_streams(const Options& options) {
    // Decided once: an operator at a terminal, or a file or pipe that
    // nobody can type an entry into again, read by its lines and never
    // cleared for.
    const bool typed = is_terminal(0);
    const InputMode mode = typed && !options.table ? InputMode::terminal : InputMode::batch;
    if (mode == InputMode::terminal) {
        open_console();
    } else {
        read_as_bytes(0);
    }
    // A file or a pipe that a script reads to its end: nobody watches the
    // lines arrive, so the output goes in blocks.
    const bool in_blocks = !typed && !is_terminal(1);
    PendingRecords records{LOG_FILE_NAME, {}, {}};
    DescriptorOutput screen(1, in_blocks, &records);
    DescriptorOutput error_output(2, false, nullptr, &screen);
    // A table typed at a terminal ends at once at Ctrl-D, also after a
    // line without its Enter.
    DescriptorInput keyboard(0, &screen, typed && options.table);
    std::istream in(&keyboard);
    std::ostream out(&screen);
    std::ostream err(&error_output);
    const int status =
        options.table ? run_table(in, out, err, LOG_FILE_NAME, options.layout, &records)
                      : run_dialogue(in, out, err, LOG_FILE_NAME, mode, &records, options.layout);
    // Whatever ended the run, its last block goes out now. A lost output
    // is said where it can still be read.
    if (!screen.write_block()) {
        err << OUTPUT_LOST << std::endl;
        return 1;
    }
    return status;
}

}  // namespace geochain
