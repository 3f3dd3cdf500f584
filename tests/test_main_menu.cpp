// The main menu: hit boxes, the click gate, the keys, and what a click runs.
#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "platform/i_video.h"
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

// A still menu presents its picture once and then nothing, a second of
// passes long; a move shows in the pass that takes it, and a window the
// system asks for again gets its picture again. The picture on the display
// stays the one last drawn.
TEST(MainMenu, AStillMenuPresentsNothingAfterItsFirstPicture) {
    MenuRun r;
    unsigned long atStill = 0, atMove = 0, afterMove = 0, atExpose = 0, afterExpose = 0;
    Uint32 stillPixel = 0;
    auto crosshairPixel = [] {
        SDL_Surface* display = SDL_GetVideoSurface();
        SDL_LockSurface(display);
        // The crosshair's centre, at the cursor position + 25.
        const Uint32 p = static_cast<const Uint32*>(display->pixels)[(100 + 25) * display->pitch / 4 + 100 + 25];
        SDL_UnlockSurface(display);
        return p;
    };
    r.run([&](ScriptedIo& io, int pass) {
        io.keys = {SDLK_RETURN};
        io.now = 1000 + pass * 10;
        if (pass == 2) io.pushMotion(100, 100);
        if (pass == 4) {
            atStill = picturesPresented();
            stillPixel = crosshairPixel();
        }
        if (pass == 104) {
            atMove = picturesPresented();
            EXPECT_EQ(stillPixel, crosshairPixel()) << "the still picture is still on the display";
            io.pushMotion(600, 100);
        }
        if (pass == 105) afterMove = picturesPresented();
        if (pass == 110) {
            atExpose = picturesPresented();
            SDL_Event expose = {};
            expose.type = SDL_VIDEOEXPOSE;
            noteDisplayEvent(expose);
        }
        if (pass == 111) {
            afterExpose = picturesPresented();
            io.pushQuit();
        }
    });
    EXPECT_GT(atStill, 0u);
    EXPECT_EQ(atStill, atMove) << "100 still passes presented pictures";
    EXPECT_EQ(atMove + 1, afterMove) << "the move reaches the screen in its own pass";
    EXPECT_EQ(afterMove, atExpose);
    EXPECT_EQ(atExpose + 1, afterExpose) << "an exposed window is drawn again";
    EXPECT_NE(stillPixel, crosshairPixel()) << "the crosshair left";
}
