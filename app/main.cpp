#include <cstdio>

#include "platform/assets.h"
#include "platform/data_checks.h"
#include "platform/end_signals.h"
#include "platform/i_pad.h"
#include "app/main_menu.h"

int main(int argc, char** argv) {
    // Find a broken install before any library is touched. The page has no
    // install: it fetches each file when the game needs it and refuses any
    // whose digest is not the release's.
#ifndef __EMSCRIPTEN__
    if (reportMissingAssets(stderr) > 0) return 1;
    checkAllDataFiles();
#endif
    // Before SDL_Init: the library then leaves these signals to us instead
    // of turning them into a window close, which ends only one screen.
    catchEndSignals();
    gameMain(argc, argv, gameIoWithPads(sdlGameIo()));
    if (const int sig = endSignal()) dieBySignal(sig);
    return 0;
}
