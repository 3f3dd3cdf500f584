#include "platform/end_signals.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t caught = 0;

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

void dieBySignal(int sig) {
    std::fflush(nullptr);
    // The full-screen mode, the pointer grab and the cursor go back first.
    SDL_Quit();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    std::_Exit(128 + sig);
}
