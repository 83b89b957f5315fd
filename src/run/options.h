// The command line: without arguments, the dialogue; with them, a table or
// another layout of the input lines, or a word about the program.
#pragma once

#include <string>

#include "text/columns.h"

namespace geochain {

enum class Action { run, help, version, usage_error };

struct Options {
    Action action = Action::run;
    bool table = false;  // one row a point instead of the report
    Layout layout;
    std::string message;  // of a usage error: the line for standard error
};

// Reads the arguments after the program's name. Standard input at a
// terminal matters: there the dialogue has prompts, not lines, so
// --columns and --decimal-comma need --table.
Options parse_options(int argc, const char* const* argv, bool input_is_terminal);

// What --help and --version print.
std::string usage_text();
std::string version_text();

}  // namespace geochain
