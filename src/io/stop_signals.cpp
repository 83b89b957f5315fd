#include "io/stop_signals.h"

#include <csignal>
#include <initializer_list>

namespace geochain {

namespace {

volatile std::sig_atomic_t arrived = 0;  // the stop signal, 0 for none
volatile std::sig_atomic_t at_once = 0;  // waiting for input: stop in the handler

#ifndef _WIN32
// Async-signal-safe: the default action again, and the signal raised anew.
// Unblocked first, so that raised inside its own handler too it ends the
// process at once, there.
void stop_by(int sig) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    sigset_t only{};
    sigemptyset(&only);
    sigaddset(&only, sig);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(sig);
}

void on_stop_signal(int sig) {
    arrived = sig;
    if (at_once != 0) {
        stop_by(sig);
    }
}
#endif

}  // namespace

void catch_stop_signals() {
#ifndef _WIN32
    // No SA_RESTART: a read or a write that waits returns, so that the run
    // can stop there.
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction caught {};
        caught.sa_handler = on_stop_signal;
        sigemptyset(&caught.sa_mask);
        ::sigaction(sig, &caught, nullptr);
    }
#endif
    // Windows runs a console's Ctrl-C handler on a thread of its own, and no
    // wait for input returns for it: there the C runtime's default stays.
}

bool stop_requested() { return arrived != 0; }

void stop_if_requested() {
#ifndef _WIN32
    if (arrived != 0) {
        stop_by(arrived);
    }
#endif
}

void stop_at_once_from_here() {
    at_once = 1;
    stop_if_requested();
}

void stop_when_whole_from_here() { at_once = 0; }

}  // namespace geochain
