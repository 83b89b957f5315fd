// Clearing the operator's screen without a trace in standard output.
#pragma once

namespace geochain {

// Opens the console device once, at start-up. If that fails, every later
// clear does nothing.
void open_console();

// Blanks the console and puts the cursor at its top-left corner. Writes to
// the console device itself, never to standard output; errors are ignored.
void clear_screen();

}  // namespace geochain
