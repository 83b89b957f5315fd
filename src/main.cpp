// geochain: S-JTSK plane grid coordinates back to the Bessel ellipsoid and
// geocentric coordinates, one point per cycle of a console dialogue.
#include <csignal>

#include "dialogue/clear_screen.h"
#include "dialogue/dialogue.h"

int main() {
#ifndef _WIN32
    // A closed output pipe must end the run through the dialogue, not kill it.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    geochain::open_console();
    return geochain::run_dialogue();
}
