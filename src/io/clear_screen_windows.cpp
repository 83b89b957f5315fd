#include <windows.h>

#include "io/clear_screen.h"

namespace geochain {

namespace {

// Taken once at start-up: later clears keep these even if the window is
// resized. Without a console every clear does nothing.
HANDLE console = INVALID_HANDLE_VALUE;
COORD buffer_size{0, 0};
WORD start_attributes = 0;

}  // namespace

void open_console() {
    // CONOUT$ is the console itself, even when standard output is redirected.
    console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (console != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(console, &info) != 0) {
        buffer_size = info.dwSize;
        start_attributes = info.wAttributes;
    }
}

void clear_screen() {
    if (console == INVALID_HANDLE_VALUE) {
        return;
    }
    const DWORD cells = static_cast<DWORD>(buffer_size.X) * static_cast<DWORD>(buffer_size.Y);
    const COORD origin{0, 0};
    DWORD done = 0;
    // Blanks in the start-up colours over the whole buffer, cursor home.
    FillConsoleOutputCharacterA(console, ' ', cells, origin, &done);
    FillConsoleOutputAttribute(console, start_attributes, cells, origin, &done);
    SetConsoleCursorPosition(console, origin);
}

}  // namespace geochain
