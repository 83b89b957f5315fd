// The files named on the command line, read one after another through one
// input buffer, as if joined; "-" is standard input.
#pragma once

#include <string>
#include <vector>

#include "io/descriptor_streams.h"
#include "io/number_input.h"

namespace geochain {

struct NamedFiles {
    const std::vector<std::string>& names;
    DescriptorInput& input;
    bool typed = false;    // standard input is typed at a terminal
    std::size_t next = 0;  // the next to open
    int opened = -1;       // the one read now, when we opened it
};

// Closes the file read now and opens the next into the input, naming it in
// the lines' source; false, with the lines' failure said where a file
// cannot be opened, when none is left.
bool open_next_file(NamedFiles& files, InputLines& lines);

// Closes the file read now.
void close_named_file(NamedFiles& files);

}  // namespace geochain
