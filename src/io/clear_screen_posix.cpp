#include <fcntl.h>
#include <unistd.h>

#include "io/clear_screen.h"

namespace geochain {

namespace {

// The controlling terminal, or -1 when there is none.
int console_fd = -1;

// Cursor home, then erase the whole display; the scroll-back is kept.
constexpr char CLEAR_SEQUENCE[] = "\x1b[H\x1b[2J";

}  // namespace

void open_console() {
    // O_NOCTTY: never become the controlling process of a terminal.
    console_fd = ::open("/dev/tty", O_WRONLY | O_CLOEXEC | O_NOCTTY);
}

void clear_screen() {
    // Only the terminal's foreground job may write to it: a run started in
    // the background must neither clear the screen the user is typing at nor
    // be stopped for trying (tostop).
    if (console_fd >= 0 && ::tcgetpgrp(console_fd) == ::getpgrp()) {
        const ssize_t ignored = ::write(console_fd, CLEAR_SEQUENCE, sizeof CLEAR_SEQUENCE - 1);
        static_cast<void>(ignored);
    }
}

}  // namespace geochain
