#include "run/named_files.h"

#include "io/descriptor_io.h"
#include "run/messages.h"

namespace geochain {

void close_named_file(NamedFiles& files) {
    if (files.opened >= 0) {
        close_descriptor(files.opened);
        files.opened = -1;
    }
}

bool open_next_file(NamedFiles& files, InputLines& lines) {
    close_named_file(files);
    if (files.next == files.names.size()) {
        return false;
    }
    const std::string& name = files.names[files.next++];
    lines.source = name;
    if (name == "-") {
        read_as_bytes(0);
        files.input.start_over(0, files.typed);
        return true;
    }
    FileProblem problem = FileProblem::none;
    files.opened = open_for_reading(name.c_str(), problem);
    if (files.opened < 0) {
        lines.failure = file_refused(name, problem);
        return false;
    }
    files.input.start_over(files.opened);
    return true;
}

}  // namespace geochain
