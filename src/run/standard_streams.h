// A run on the process's standard input, output and error.
#pragma once

#include "run/options.h"

namespace geochain {

// Which standard streams are a terminal: an operator types at the input,
// or watches the output or the messages. Decided once, at start-up.
struct Terminals {
    bool input;
    bool output;
    bool error;
};

Terminals find_terminals();

// The dialogue, or the table the options ask for, and the exit status.
int run_on_standard_streams(const Options& options, Terminals terminals);

}  // namespace geochain
