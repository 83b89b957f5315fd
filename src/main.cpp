// geochain: S-JTSK plane grid coordinates back to the Bessel ellipsoid and
// geocentric coordinates, one point per cycle of a console dialogue.
#include <csignal>

#include "dialogue/clear_screen.h"
#include "dialogue/descriptor_io.h"
#include "dialogue/dialogue.h"
#include "dialogue/stop_signals.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard descriptor that the process was started without must stay
// unusable: otherwise the next open (the terminal, or fi.txt) would take its
// number, and prompts would land in the log. /dev/null opened read-only keeps
// the slot: reads see end of input, writes fail as they would on a closed one.
void hold_closed_standard_descriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            const int held = ::open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
    }
}

}  // namespace
#endif

int main() {
#ifndef _WIN32
    hold_closed_standard_descriptors();
    // A closed output pipe must end the run through the dialogue, not kill
    // it; a file-size limit must fail a write, as a full disk does.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    geochain::catch_stop_signals();
    // Decided once: an operator at a terminal, or a file or pipe that
    // nobody can type an entry into again, read by its lines and never
    // cleared for.
    if (geochain::is_terminal(0)) {
        geochain::open_console();
        return geochain::run_dialogue(geochain::InputMode::terminal);
    }
    geochain::read_as_bytes(0);
    return geochain::run_dialogue(geochain::InputMode::batch);
}
