// A signal to end (SIGTERM, SIGINT, SIGHUP) ends every screen at once on
// the real platform, and the program then dies by that signal. Each case
// runs in a child process, since the signal stays noted for good.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/end_signals.h"
#include "platform/i_video.h"
#include "app/main_menu.h"
#include "match/match.h"
#include "screens/screens.h"

namespace {

// A screen that does not end fails its case instead of hanging the test.
void failAfter(unsigned seconds) {
    std::signal(SIGALRM, [](int) { _exit(9); });
    sigset_t alarmOnly;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    sigprocmask(SIG_UNBLOCK, &alarmOnly, nullptr);
    alarm(seconds);
}

// Runs after the game's own exit handlers. The mixer's audio thread must be
// gone by then: on sdl12-compat the library's unloading, which follows,
// clears its table of SDL2 functions under that thread, and a callback
// still running jumps to address 0 in some runs. This fails every run.
void failIfAudioOutlivesExit() {
    if (SDL_WasInit(SDL_INIT_AUDIO)) _exit(6);
}

// In the child: the game's start-up (SDL, and SDL_Quit at exit), the handler
// in place, the signal sent, then the screen run on the real platform;
// exits 0 when it returned within withinMs. A screen that heeds the signal
// still loads what it shows first, which took up to 1.3 s with the machine
// loaded; one that ignores it runs on (the intro 3.5 s) or never ends.
void screenAfterSignal(int sig, const std::function<void()>& screen, Uint32 withinMs = 3000) {
    failAfter(5);
    std::atexit(failIfAudioOutlivesExit);
    catchEndSignals();
    initVideo();
    std::raise(sig);
    if (endSignal() != sig) std::exit(4);
    const Uint32 start = SDL_GetTicks();
    screen();
    const Uint32 took = SDL_GetTicks() - start;
    if (took < withinMs) std::exit(0);
    std::fprintf(stderr, "the screen returned after %u ms\n", static_cast<unsigned>(took));
    std::exit(2);
}

}  // namespace

TEST(EndSignals, EveryScreenEndsAtOnce) {
    char* argv[] = {nullptr};
    int field = 1, level = 1, height = 6, speed = 6, precision = 6;
    // The intro alone runs over 3.5 s; the others run until input ends them.
    EXPECT_EXIT(screenAfterSignal(SIGTERM, [&] { runIntroScreen(0, argv); }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(screenAfterSignal(SIGINT,
                                  [&] { runOptionsScreen(0, argv, field, level, height, speed, precision); }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(screenAfterSignal(SIGHUP, [&] { runCreditsScreen(0, argv); }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(screenAfterSignal(SIGTERM, [&] { runMatch(0, argv, 1, 1, 6, 6, 6); }),
                ::testing::ExitedWithCode(0), "");
    // The winner's two seconds and the intro's hold are waits of this kind; a
    // wait loads nothing, so it is held to 500 ms.
    EXPECT_EXIT(screenAfterSignal(SIGTERM, [] { sdlGameIo().delay(nullptr, 5000); }, 500),
                ::testing::ExitedWithCode(0), "");
}

TEST(EndSignals, TheProgramDiesByTheSignalAfterItsScreensEnd) {
    char* argv[] = {nullptr};
    // As main does it: the intro, the menu, then the signal's own death.
    EXPECT_EXIT(
        {
            failAfter(10);
            catchEndSignals();
            std::raise(SIGHUP);
            gameMain(0, argv, sdlGameIo());
            if (const int sig = endSignal()) dieBySignal(sig);
            std::exit(0);
        },
        ::testing::KilledBySignal(SIGHUP), "");
}

TEST(EndSignals, ASignalIgnoredAtStartStaysIgnored) {
    EXPECT_EXIT(
        {
            std::signal(SIGHUP, SIG_IGN);
            catchEndSignals();
            std::raise(SIGHUP);
            std::raise(SIGTERM);
            std::exit(endSignal() == SIGTERM ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}
