// Tests run headless: SDL's dummy video and audio drivers unless the caller
// chose others.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "loaded_sdl.h"

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The test command runs the suite on each SDL 1.2 the system has and
    // names the one it expects (classic or sdl12-compat); a run on the wrong
    // one must not pass.
    if (const char* expected = std::getenv("VELMORA_EXPECT_SDL");
        expected && std::strcmp(expected, loadedSdlKind()) != 0) {
        std::fprintf(stderr, "expected the %s SDL 1.2, but loaded %s\n", expected,
                     loadedSdlDescription().c_str());
        return 1;
    }
    // A match opens the audio and keeps it open, as in the game. SDL_Quit at
    // exit stops the audio thread before the libraries' destructors run: on
    // sdl12-compat one of them unloads SDL2 under that thread otherwise.
    std::atexit(SDL_Quit);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
