// Ctrl-C, kill and a hang-up stop the run only where it can stop whole: at a
// wait for input, or once a block of output and the log records of its whole
// reports are out. The process still ends by the signal, as the shell expects.
#pragma once

#include <functional>
#include <thread>

namespace geochain {

// Catches SIGINT, SIGTERM and SIGHUP, but for any of them that the process
// was started ignoring (nohup): those stay ignored.
void catch_stop_signals();

// True once a stop signal has arrived.
bool stop_requested();

// Ends the process by the signal that arrived, if one did.
void stop_if_requested();

// Between these two calls, a stop signal ends the process at once: the
// process is waiting for input and holds nothing that must still go out.
void stop_at_once_from_here();
void stop_when_whole_from_here();

// Between these two calls, a piece of output is being put that must go out
// whole: a stop waits until it has.
void hold_stops();
void release_stops();

// Text that the given output ends with when a stop ends the process (the
// end of a document whose pieces went out whole), written only where it
// takes it at once; none for the empty one. It must outlive the run. An
// output that a stop has cut short takes none: they would follow a piece
// that did not go out whole.
void set_last_words(int fd, const char* text, unsigned size);
void output_cut_short(int fd);

// Starts a thread that never takes a stop signal: they stay with the thread
// that reads and writes, where a run can stop whole.
std::thread thread_without_stops(std::function<void()> body);

}  // namespace geochain
