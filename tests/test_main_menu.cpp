// The main menu: hit boxes, the click gate, the keys, and what a click runs.
#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "scripted_io.h"

TEST(MenuLabels, StrictBoundsOnEverySide) {
    struct Case {
        int x, y;
        MenuLabel label;
    } cases[] = {
        {450, 325, MENU_START},   {401, 301, MENU_START},  {499, 349, MENU_START},
        {400, 325, MENU_NONE},    {500, 325, MENU_NONE},   {450, 300, MENU_NONE},
        {450, 350, MENU_NONE},    {549, 419, MENU_OPTIONS}, {401, 371, MENU_OPTIONS},
        {550, 400, MENU_NONE},    {450, 370, MENU_NONE},   {450, 420, MENU_NONE},
        {450, 465, MENU_QUIT},    {499, 489, MENU_QUIT},   {500, 465, MENU_NONE},
        {450, 440, MENU_NONE},    {450, 490, MENU_NONE},   {25, 25, MENU_NONE},
        {520, 325, MENU_NONE},    // right of Start, which is narrower than Options
        {450, 360, MENU_NONE},    // the gap between Start and Options
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.label, menuLabelAt(c.x, c.y)) << "hot spot " << c.x << "," << c.y;
}

namespace {

// Cursor positions whose hot spot (cursor + 25) lies inside a label.
constexpr int kStartCursorX = 425, kStartCursorY = 300;
constexpr int kQuitCursorX = 425, kQuitCursorY = 440;

struct MenuRun {
    ScriptedIo s;
    int result = -1;
    void run(PassScript script) {
        result = runScripted(s, 400, script, [](const GameIo& io) { return gameMain(0, nullptr, io); });
    }
};

}  // namespace

TEST(MainMenu, QKeyEndsTheProgramEscapeDoesNot) {
    MenuRun r;
    int quitPass = -1;
    r.run([&](ScriptedIo& io, int pass) {
        io.keys = {SDLK_RETURN};  // past the title
        if (pass >= 5) io.keys.insert(SDLK_ESCAPE);
        if (pass == 40) {
            io.keys.insert(SDLK_q);
            quitPass = pass;
        }
    });
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(quitPass + 1, r.s.passes) << "Q ends the menu in the pass that sees it";
}

TEST(MainMenu, ClickNeedsMoreThan500MsSinceStart) {
    MenuRun r;
    int openedAt = -1;
    r.run([&](ScriptedIo& io, int pass) {
        io.keys = {SDLK_RETURN};
        if (pass == 2) io.pushMotion(kQuitCursorX, kQuitCursorY);
        if (pass >= 4) io.buttons = SDL_BUTTON(1);
        io.now = pass < 30 ? 500 : 501;
        if (pass == 30) openedAt = pass;
    });
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(openedAt + 1, r.s.passes) << "held over Quit, the click counts once the clock passes 500";
}

TEST(MainMenu, PressThatComesWithAMoveActsOnePassLater) {
    MenuRun r;
    int pressedAt = -1;
    r.run([&](ScriptedIo& io, int pass) {
        io.keys = {SDLK_RETURN};
        io.now = 1000 + pass * 10;
        if (pass == 5) {
            io.pushMotion(kQuitCursorX, kQuitCursorY);
            io.buttons = SDL_BUTTON(1);
            pressedAt = pass;
        }
    });
    EXPECT_EQ(pressedAt + 2, r.s.passes);
}

TEST(MainMenu, RightButtonAndBoundsSelectNothing) {
    MenuRun r;
    r.run([&](ScriptedIo& io, int pass) {
        io.keys = {SDLK_RETURN};
        io.now = 1000 + pass * 10;
        if (pass == 2) io.pushMotion(kQuitCursorX - 25 + 500, kQuitCursorY);  // hot spot x 500
        if (pass >= 3 && pass < 10) io.buttons = SDL_BUTTON(3);
        if (pass >= 10 && pass < 20) io.buttons = SDL_BUTTON(1);
        if (pass == 20) io.pushMotion(kQuitCursorX, kQuitCursorY);
    });
    EXPECT_EQ(22, r.s.passes) << "only the press over Quit, one pass after the move, leaves";
}

TEST(MainMenu, StartRunsAMatchAndAHeldButtonStartsTheNext) {
    MenuRun r;
    r.run([&](ScriptedIo& io, int pass) {
        io.keys = {SDLK_RETURN, SDLK_ESCAPE};  // Escape ends each match after a frame
        io.now = 1000 + pass * 10;
        if (pass == 2) io.pushMotion(kStartCursorX, kStartCursorY);
        if (pass >= 3 && io.seeds.size() < 3) io.buttons = SDL_BUTTON(1);
        if (io.seeds.size() >= 3) {
            io.buttons = 0;
            io.pushQuit();
        }
    });
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(3u, r.s.seeds.size()) << "each match seeds once; the held button starts the next at once";
    EXPECT_EQ(3, r.s.frames) << "Escape ends each match after its first frame";
}

TEST(MainMenu, ClosingTheWindowEndsTheProgram) {
    MenuRun r;
    r.run([&](ScriptedIo& io, int pass) {
        io.keys = {SDLK_RETURN};
        if (pass == 3) io.pushQuit();
    });
    EXPECT_EQ(0, r.result);
    EXPECT_LE(r.s.passes, 5);
}
