// A run on the process's standard input, output and error.
#pragma once

#include "run/options.h"

namespace geochain {

// The dialogue, or the table the options ask for, and the exit status.
int run_on_standard_streams(const Options& options);

}  // namespace geochain
