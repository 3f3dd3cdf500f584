#include "platform/end_signals.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#ifdef SIGALRM
#include <unistd.h>
#endif

namespace {

volatile std::sig_atomic_t caught = 0;
volatile std::sig_atomic_t dyingBy = 0;

#ifdef SIGALRM
extern "C" void quitTookTooLong(int) {
    if (dyingBy) {
        std::signal(dyingBy, SIG_DFL);
        std::raise(dyingBy);
    }
    _exit(1);
}
#endif

extern "C" void noteEndSignal(int sig) {
    if (caught) {
        // A second signal while the game winds down: do not wait for it.
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    caught = sig;
}

const int kEndSignals[] = {
    SIGTERM, SIGINT,
#ifdef SIGHUP
    SIGHUP,
#endif
};

}  // namespace

void catchEndSignals() {
    for (int sig : kEndSignals)
        if (std::signal(sig, noteEndSignal) == SIG_IGN) std::signal(sig, SIG_IGN);
}

int endSignal() { return caught; }

void quitSdlWithinGrace() {
#ifdef SIGALRM
    std::signal(SIGALRM, quitTookTooLong);
    alarm(kQuitGraceSeconds);
#endif
    SDL_Quit();
#ifdef SIGALRM
    alarm(0);
#endif
}

void dieBySignal(int sig) {
    std::fflush(nullptr);
    dyingBy = sig;
    // The full-screen mode, the pointer grab and the cursor go back first.
    quitSdlWithinGrace();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    std::_Exit(128 + sig);
}
