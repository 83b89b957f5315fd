// The command line: without arguments, the dialogue; with them, a table or
// another layout of the input lines, files to read instead of standard
// input, or a word about the program.
#pragma once

#include <string>
#include <vector>

#include "text/columns.h"

namespace geochain {

enum class Action { run, help, version, usage_error };

struct Options {
    Action action = Action::run;
    bool table = false;  // one row a point instead of the report
    // One GeoJSON FeatureCollection of the points instead of the reports.
    bool geojson = false;
    Layout layout;
    // Read in this order, as if joined, "-" standing for standard input;
    // none: standard input alone.
    std::vector<std::string> files;
    std::string message;  // of a usage error: the line for standard error
};

// Reads the arguments after the program's name: options, then or among
// them the files (after "--" every argument is one). Standard input at a
// terminal matters when no file is named: there the dialogue has prompts,
// not lines, so --columns and --decimal-comma need --table.
Options parse_options(int argc, const char* const* argv, bool input_is_terminal);

// What --help and --version print.
std::string usage_text();
std::string version_text();

}  // namespace geochain
