#include "io/stop_signals.h"

#include <csignal>
#include <initializer_list>
#include <utility>

#ifndef _WIN32
#include <poll.h>
#include <pthread.h>
#include <unistd.h>
#endif

namespace geochain {

namespace {

volatile std::sig_atomic_t arrived = 0;  // the stop signal, 0 for none
volatile std::sig_atomic_t at_once = 0;  // waiting for input: stop in the handler
volatile std::sig_atomic_t held = 0;     // a piece of output is being put
const char* volatile last_words = nullptr;
volatile unsigned last_words_size = 0;
volatile int last_words_fd = -1;

#ifndef _WIN32
// Async-signal-safe: the default action again, and the signal raised anew.
// Unblocked first, so that raised inside its own handler too it ends the
// process at once, there.
void stop_by(int sig) {
    // Never a wait for a reader: a few bytes, where they go at once, in one
    // write (a pipe takes up to PIPE_BUF whole). Whatever it writes, the
    // process ends: nothing is left to tell.
    pollfd ready{last_words_fd, POLLOUT, 0};
    if (last_words != nullptr && ::poll(&ready, 1, 0) == 1 && (ready.revents & POLLOUT) != 0) {
        [[maybe_unused]] const ssize_t written =
            ::write(last_words_fd, last_words, last_words_size);
    }
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
    if (arrived != 0 && held == 0) {
        stop_by(arrived);
    }
#endif
}

void stop_at_once_from_here() {
    at_once = 1;
    stop_if_requested();
}

void stop_when_whole_from_here() { at_once = 0; }

void hold_stops() { held = 1; }

void release_stops() { held = 0; }

void set_last_words(int fd, const char* text, unsigned size) {
    last_words = nullptr;
    last_words_fd = fd;
    last_words_size = size;
    last_words = size > 0 ? text : nullptr;
}

void output_cut_short(int fd) {
    if (fd == last_words_fd) {
        last_words = nullptr;
    }
}

std::thread thread_without_stops(std::function<void()> body) {
#ifndef _WIN32
    // A new thread begins with its creator's signal mask.
    sigset_t all{};
    sigset_t before{};
    sigfillset(&all);
    ::pthread_sigmask(SIG_BLOCK, &all, &before);
    try {
        std::thread started(std::move(body));
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
        return started;
    } catch (...) {
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
        throw;
    }
#else
    // Windows delivers a console's Ctrl-C on a thread of its own anyway.
    return std::thread(std::move(body));
#endif
}

}  // namespace geochain
