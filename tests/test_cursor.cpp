// The system pointer: every screen keeps it enabled but invisible, and gives
// the screen that called it back its own cursor, through a whole session of
// the real loops (title, menu, options, credits, back, a match, back, quit).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/main_menu.h"
#include "match/match_state.h"
#include "scripted_io.h"
#include "sdl_video_env.h"

namespace {

::testing::Environment* const kSdl = ::testing::AddGlobalTestEnvironment(new SdlVideo);

// Cursor places whose click point (cursor + 25) lies on a target.
constexpr int kMenuOptions[2] = {450, 370};
constexpr int kMenuStart[2] = {425, 300};
constexpr int kCredits[2] = {935, 725};
constexpr int kNowhere[2] = {700, 650};

bool allBitsClear(const Uint8* bits, int bytes) {
    for (int i = 0; i < bytes; ++i)
        if (bits[i]) return false;
    return true;
}

struct CursorWatch {
    // The cursor current in each visit of a screen, by name ("menu 1" is
    // the menu before the options, "menu 2" after them, and so on).
    std::map<std::string, SDL_Cursor*> seen;
    std::string problem;

    void check(const std::string& visit) {
        if (!problem.empty()) return;
        SDL_Cursor* c = SDL_GetCursor();
        if (SDL_ShowCursor(SDL_QUERY) != SDL_ENABLE)
            problem = visit + ": the system cursor was switched off";
        else if (!c)
            problem = visit + ": no cursor";
        else if (!allBitsClear(c->data, c->area.w / 8 * c->area.h) ||
                 !allBitsClear(c->mask, c->area.w / 8 * c->area.h))
            problem = visit + ": the cursor has visible pixels";
        else if (seen.count(visit) && seen[visit] != c)
            problem = visit + ": the cursor changed within the visit";
        seen[visit] = c;
    }
};

}  // namespace

TEST(SystemCursor, HiddenButEnabledInEveryScreenAndGivenBackOnReturn) {
    // The library's own cursor, before any screen hides it.
    SDL_Surface* probe = SDL_SetVideoMode(1024, 768, 32, 0);
    ASSERT_NE(nullptr, probe) << SDL_GetError();
    SDL_Cursor* systemCursor = SDL_GetCursor();
    Uint8 bits[2] = {0, 0};
    SDL_Cursor* trial = SDL_CreateCursor(bits, bits, 8, 2, 0, 0);
    if (!trial) GTEST_SKIP() << "this SDL's video driver has no cursors: " << SDL_GetError();
    SDL_FreeCursor(trial);

    enum Phase { TITLE, MENU1, OPTIONS1, CREDITS, OPTIONS2, MENU2, MATCH, MENU3 } phase = TITLE;
    const char* const names[] = {"title",    "menu 1", "options 1", "credits",
                                 "options 2", "menu 2", "match",     "menu 3"};
    int step = 0;
    CursorWatch watch;
    ScriptedIo s;
    s.now = 100;
    s.beforePass = [&](ScriptedIo& io, int pass) {
        if (pass > 3000) io.pushQuit();  // never hang a failing test
        io.now += 20;
        io.buttons = 0;
        io.keys.clear();
        watch.check(names[phase]);
        Phase next = phase;
        // A move, and the press two passes later: the click test uses the
        // click point that the pass before it left. The screen it opens
        // runs inside this pass.
        const auto clickAt = [&](const int* at, int first, Phase opens) {
            if (step == first) io.pushMotion(at[0], at[1]);
            if (step == first + 2) {
                io.buttons = SDL_BUTTON(1);
                next = opens;
            }
        };
        const auto keyAt = [&](SDLKey key, int when, Phase opens) {
            if (step == when) {
                io.keys = {key};
                next = opens;
            }
        };
        switch (phase) {
            case TITLE: keyAt(SDLK_RETURN, 2, MENU1); break;
            case MENU1: clickAt(kMenuOptions, 30, OPTIONS1); break;  // past the click gate
            case OPTIONS1: clickAt(kCredits, 1, CREDITS); break;
            case CREDITS: keyAt(SDLK_ESCAPE, 3, OPTIONS2); break;
            case OPTIONS2:
                if (step == 0) io.pushMotion(kNowhere[0], kNowhere[1]);
                keyAt(SDLK_ESCAPE, 40, MENU2);  // past the click gate
                break;
            case MENU2: clickAt(kMenuStart, 30, MATCH); break;
            case MATCH: keyAt(SDLK_ESCAPE, 20, MENU3); break;
            case MENU3: keyAt(SDLK_q, 3, MENU3); break;
        }
        step = next == phase ? step + 1 : 0;
        phase = next;
    };
    EXPECT_EQ(0, gameMain(0, nullptr, s.io_));

    ASSERT_EQ("", watch.problem);
    EXPECT_EQ(MENU3, phase) << "the session stopped early";
    EXPECT_EQ(21, s.frames);
    for (const char* visit : names) EXPECT_TRUE(watch.seen.count(visit)) << visit << " not seen";
    // Returning to a screen gives it back the very cursor it set.
    EXPECT_EQ(watch.seen["menu 1"], watch.seen["menu 2"]) << "after the options";
    EXPECT_EQ(watch.seen["menu 1"], watch.seen["menu 3"]) << "after the match";
    EXPECT_EQ(watch.seen["options 1"], watch.seen["options 2"]) << "after the credits";
    EXPECT_NE(systemCursor, watch.seen["menu 1"]);
    EXPECT_NE(watch.seen["menu 1"], watch.seen["options 1"]);
    // And the library's own cursor is current again once the game is over.
    EXPECT_EQ(systemCursor, SDL_GetCursor());
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
}
