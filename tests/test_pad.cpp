// Game pads: the stick's response and the layouts as a table, then the
// whole game played by a pad alone through the real event loop, and a pad
// that goes away during a charge.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/main_menu.h"
#include "platform/i_pad.h"
#include "scripted_io.h"
#include "virtual_pad.h"

TEST(PadResponse, SpeedPerSecondAtAnyFrameRateAndLayoutChoice) {
    struct Move {
        const char* what;
        int axisX, axisY;
        uint8_t hat;
        int startX, startY;
        int passMs, passes;
        int expectX, expectY;  // whole pixels, within 1
        int pad = 0;
    } moves[] = {
        {"at rest inside the dead zone, 10 ms passes", 5000, -6000, 0, 500, 400, 10, 100, 500, 400},
        {"at rest inside the dead zone, 50 ms passes", 5000, -6000, 0, 500, 400, 50, 20, 500, 400},
        {"just past the dead zone: fine control", 8100, 0, 0, 500, 400, 10, 100, 500, 400},
        {"full right, 10 ms passes", 32767, 0, 0, 100, 400, 10, 100, 900, 400},
        {"full right, 50 ms passes", 32767, 0, 0, 100, 400, 50, 20, 900, 400},
        {"halfway past the dead zone: a quarter of the speed", 0, -20384, 0, 500, 600, 10, 100, 500, 400},
        {"halfway, 50 ms passes", 0, -20384, 0, 500, 600, 50, 20, 500, 400},
        {"d-pad down-right, diagonals no faster", 0, 0, SDL_HAT_RIGHTDOWN, 100, 100, 20, 50, 382, 382},
        {"clamped at the display's last pixel", 32767, 32767, 0, 1000, 700, 10, 100, 1023, 767},
        {"clamped at 0", -32768, -32768, 0, 20, 20, 10, 100, 0, 0},
        {"a stalled pass moves as far as 100 ms", 32767, 0, 0, 100, 100, 1000, 1, 180, 100},
        {"the second of two pads, full left", -32768, 0, 0, 900, 400, 10, 100, 100, 400, 1},
    };
    for (const Move& c : moves) {
        PadLayer l;
        l.pads[c.pad].stickX = c.axisX;
        l.pads[c.pad].stickY = c.axisY;
        l.pads[c.pad].hat = c.hat;
        placePadPointer(l.pointer, c.startX, c.startY);
        uint64_t now = 5000;
        stepPadPointer(l.pointer, padVelocity(l), now);
        for (int i = 0; i < c.passes; ++i) stepPadPointer(l.pointer, padVelocity(l), now += c.passMs);
        EXPECT_NEAR(c.expectX, padPointerX(l.pointer), 1) << c.what;
        EXPECT_NEAR(c.expectY, padPointerY(l.pointer), 1) << c.what;
    }

    struct Choice {
        PadSystem system;
        const char* name;
        bool standard;
        const PadLayout* layout;
    } choices[] = {
        {PAD_SYSTEM_LINUX, "Microsoft X-Box 360 pad", false, &kPadXbox},
        {PAD_SYSTEM_LINUX, "Xbox Wireless Controller", false, &kPadXbox},
        {PAD_SYSTEM_LINUX, "Sony Interactive Entertainment Wireless Controller", false, &kPadPlayStation},
        {PAD_SYSTEM_LINUX, "DualSense Wireless Controller", false, &kPadPlayStation},
        {PAD_SYSTEM_LINUX, "USB Gamepad ", false, &kPadFallback},
        {PAD_SYSTEM_LINUX, nullptr, false, &kPadFallback},
        {PAD_SYSTEM_WINDOWS, "Controller (XBOX 360 For Windows)", false, &kPadXbox},
        {PAD_SYSTEM_WINDOWS, "Wireless Controller", false, &kPadPlayStationWin},
        {PAD_SYSTEM_WINDOWS, "Generic USB Joystick", false, &kPadXbox},
        {PAD_SYSTEM_BROWSER, "Xbox 360 Controller (XInput STANDARD GAMEPAD)", true, &kPadBrowserStandard},
        {PAD_SYSTEM_BROWSER, "054c-09cc-Wireless Controller", false, &kPadFallback},
    };
    for (const Choice& c : choices)
        EXPECT_EQ(c.layout->name, choosePadLayout(c.system, c.name, c.standard).name) << (c.name ? c.name : "(none)");

    // Where each layout puts the actions the issue names: the bottom face
    // button, a side face button, Start, the right face button.
    struct Buttons {
        const PadLayout* layout;
        int left, right, escape, back;
    } buttons[] = {
        {&kPadXbox, 0, 2, 7, 1},     {&kPadPlayStation, 0, 3, 9, 1}, {&kPadPlayStationWin, 1, 0, 9, 2},
        {&kPadBrowserStandard, 0, 2, 9, 1}, {&kPadFallback, 0, 2, 7, 1},
    };
    for (const Buttons& b : buttons) {
        EXPECT_EQ(PAD_LEFT_BUTTON, padButtonAction(*b.layout, b.left)) << b.layout->name;
        EXPECT_EQ(PAD_RIGHT_BUTTON, padButtonAction(*b.layout, b.right)) << b.layout->name;
        EXPECT_EQ(PAD_ESCAPE, padButtonAction(*b.layout, b.escape)) << b.layout->name;
        EXPECT_EQ(PAD_BACK, padButtonAction(*b.layout, b.back)) << b.layout->name;
    }
    // The fallback reaches every action from any pad with a few buttons.
    EXPECT_EQ(PAD_ESCAPE, padButtonAction(kPadFallback, 40));
    EXPECT_EQ(PAD_DPAD_UP, padButtonAction(kPadBrowserStandard, 12));
}

namespace {

// A–B–X–Start as on an Xbox pad; the fallback layout that an unnamed pad
// gets puts the same actions on the same numbers.
constexpr int kA = 0, kB = 1, kX = 2, kStart = 7;

// A player's hand on the pad: the game under the pad layer, fed by the
// library's queue, and a list of steps run one after another, each at the
// start of a pass until it says it is done.
struct PadPlay {
    ScriptedIo s;
    PadLayer layer;
    VirtualPad pad;
    std::vector<std::function<bool()>> steps;
    size_t step = 0;
    int hold = 0;
    int donePass = -1;
    int result = -1;

    bool plugIn() {
        const char* why = "";
        if (!pad.plugIn(&why)) {
            ADD_FAILURE() << why;
            return false;
        }
        s.libraryEvents = true;
        attachPads(layer, s.io_);
        return true;
    }

    // Steers with the stick, harder the farther away, to a cursor position.
    std::function<bool()> steerTo(int x, int y) {
        return [this, x, y] {
            const int dx = x - padPointerX(layer.pointer), dy = y - padPointerY(layer.pointer);
            auto deflect = [](int d) {
                if (d == 0) return 0;
                const int v = std::min(32767, 12000 + std::abs(d) * 300);
                return d < 0 ? -v : v;
            };
            const bool there = std::abs(dx) <= 1 && std::abs(dy) <= 1;
            pad.axis(0, there ? 0 : deflect(dx));
            pad.axis(1, there ? 0 : deflect(dy));
            return there;
        };
    }

    // Holds a button for some passes, then lets go.
    std::function<bool()> press(int button, int passes) {
        return [this, button, passes] {
            if (hold == 0) pad.button(button, true);
            if (++hold < passes) return false;
            pad.button(button, false);
            hold = 0;
            return true;
        };
    }

    std::function<bool()> wait(int passes) {
        return [this, passes] { return ++hold >= passes ? (hold = 0, true) : false; };
    }

    void run(int passLimit) {
        s.beforePass = [this, passLimit](ScriptedIo& io, int pass) {
            if (pass > passLimit) io.pushQuit();
            while (step < steps.size() && steps[step]()) ++step;
            if (step == steps.size() && donePass < 0) donePass = pass;
        };
        result = gameMain(0, nullptr, layer.io);
    }
};

// Cursor positions whose click point (cursor + 25) lies on a label.
constexpr int kStartX = 430, kStartY = 300, kOptionsX = 450, kOptionsY = 370;
constexpr int kQuitX = 430, kQuitY = 440, kEnemy2X = 430, kEnemy2Y = 400;

}  // namespace

TEST(PadPlay, TheWholeGameByPadAlone) {
    PadPlay p;
    ASSERT_TRUE(p.plugIn());
    // As in the game: the library's answer to each warp comes through the
    // queue and must not pull the pointer back.
    p.layer.warpSystemPointer = true;
    bool aimed = false, charged = false, shot = false, endedByStart = false;
    int level = 0, frames = 0, pointerMoves = 0, lastPointerX = -1, framesAfterB = 0;
    bool bPressedInMatch = false;
    p.s.afterFrame = [&](ScriptedIo&, const MatchState& m) {
        ++frames;
        level = m.enemyLevel;
        aimed |= m.aiming;
        charged |= m.charging;
        shot |= m.playerBallInFlight;
        if (lastPointerX >= 0 && m.pointerX != lastPointerX) ++pointerMoves;
        lastPointerX = m.pointerX;
        if (bPressedInMatch) ++framesAfterB;
        endedByStart = m.matchOver;
    };
    p.steps = {
        p.press(kA, 3),  // the title: any button skips it
        p.wait(60),      // the menu's click gate
        p.steerTo(kOptionsX, kOptionsY), p.press(kA, 2),
        p.wait(60), p.steerTo(kEnemy2X, kEnemy2Y), p.press(kA, 2),
        p.press(kB, 3),  // B leaves the options
        p.steerTo(kStartX, kStartY), p.press(kA, 2),
        p.wait(60), p.press(kX, 3),  // the aim opens
        // Charge while steering the crosshair.
        [&] { p.pad.button(kA, true); return true; }, p.steerTo(300, 200), p.wait(30),
        [&] { p.pad.button(kA, false); p.pad.axis(0, 0); p.pad.axis(1, 0); return true; },
        p.wait(30),
        [&] { bPressedInMatch = true; return true; }, p.press(kB, 5),  // not Escape in a match
        p.wait(30), p.press(kStart, 3),   // Escape: back to the menu
        p.wait(60), p.steerTo(kQuitX, kQuitY), [&] { p.pad.button(kA, true); return true; },
    };
    p.run(30000);
    EXPECT_EQ(0, p.result);
    EXPECT_EQ(p.steps.size(), p.step) << "the walk stopped at step " << p.step;
    EXPECT_GE(p.donePass, 0);
    EXPECT_LT(p.s.passes, 30000) << "Quit ended the game, not the test's close";
    EXPECT_EQ(2, level) << "the options' Enemy 2, clicked by pad";
    EXPECT_TRUE(aimed);
    EXPECT_TRUE(charged);
    EXPECT_TRUE(shot);
    EXPECT_GT(pointerMoves, 10) << "the stick steered in the match";
    EXPECT_GT(framesAfterB, 30) << "B did not end the match";
    EXPECT_TRUE(endedByStart);
}

TEST(PadPlay, APadGoneDuringAChargeLeavesNothingHeld) {
    PadPlay p;
    ASSERT_TRUE(p.plugIn());
    // sdl12-compat lets go of a pad's buttons and sticks when it goes;
    // classic SDL 1.2 never hears of it, and there the mouse takes over.
    const bool libraryTells = p.pad.virtualDevice;
    bool charging = false, releasedAfterUnplug = false, unplugged = false;
    p.s.afterFrame = [&](ScriptedIo&, const MatchState& m) {
        charging = m.charging;
        if (unplugged && (m.playerBallInFlight || m.released)) releasedAfterUnplug = true;
    };
    p.steps = {
        p.press(kA, 3), p.wait(60), p.steerTo(kStartX, kStartY), p.press(kA, 2),
        p.wait(60), p.press(kX, 3),
        [&] { p.pad.button(kA, true); return charging; }, p.wait(10),
        [&] { p.pad.axis(0, 32767); return true; }, p.wait(5),  // and the stick tilted
        [&] {
            p.pad.unplug();
            unplugged = true;
            if (!libraryTells) {
                p.s.pushMotion(300, 300);
                p.s.pushButton(true, SDL_BUTTON_LEFT, 300, 300);
                p.s.pushButton(false, SDL_BUTTON_LEFT, 300, 300);
            }
            return true;
        },
        p.wait(100),
        [&] { p.s.pushQuit(); return true; },
    };
    p.run(1500);
    EXPECT_TRUE(unplugged) << "stopped at step " << p.step;
    EXPECT_TRUE(releasedAfterUnplug) << "the charge ended as if the button had been let go";
    EXPECT_EQ(0, p.layer.io.mouseButtons(p.layer.io.ctx)) << "no button left held";
    EXPECT_EQ(0, padVelocity(p.layer).x) << "no stick left tilted";
}

// A tap's press and release both come before the game looks at the
// buttons; through the real event loop and the pad layer, as in the game,
// it counts as held at every look until the next drain, once. A button
// still held, and a pad's, read as their state.
TEST(MouseTap, APressEndedBeforeTheLookCountsOnce) {
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
    ASSERT_NE(nullptr, SDL_SetVideoMode(1024, 768, 32, 0)) << SDL_GetError();
    PadLayer layer;
    layer.useLibrary = false;
    attachPads(layer, sdlGameIo());
    const GameIo& io = layer.io;
    // Button 0 stands for a move of the pointer.
    auto drain = [&](std::initializer_list<std::pair<bool, int>> presses) {
        for (auto [down, button] : presses) {
            SDL_Event e = {};
            e.type = button == 0 ? SDL_MOUSEMOTION : down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.button = static_cast<Uint8>(button);
            e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
            ASSERT_EQ(0, SDL_PushEvent(&e));
        }
        SDL_Event e;
        while (io.pollEvent(io.ctx, &e)) {
        }
    };
    drain({{true, SDL_BUTTON_LEFT}, {false, SDL_BUTTON_LEFT}});
    EXPECT_EQ(SDL_BUTTON(1), io.mouseButtons(io.ctx)) << "the left tap";
    EXPECT_EQ(SDL_BUTTON(1), io.mouseButtons(io.ctx)) << "a second look in the same pass";
    drain({});
    EXPECT_EQ(0, io.mouseButtons(io.ctx)) << "the tap counts for one pass";
    drain({{true, SDL_BUTTON_RIGHT}, {false, SDL_BUTTON_RIGHT}, {true, SDL_BUTTON_MIDDLE},
           {false, SDL_BUTTON_MIDDLE}});
    EXPECT_EQ(SDL_BUTTON(3), io.mouseButtons(io.ctx)) << "the right tap; the middle button is not read";
    // A tap just after a move is seen in the pass that tests where it landed only.
    drain({{false, 0}, {true, SDL_BUTTON_LEFT}, {false, SDL_BUTTON_LEFT}});
    EXPECT_EQ(0, io.mouseButtons(io.ctx)) << "the tap after a move, where the pointer was before it";
    drain({});
    EXPECT_EQ(SDL_BUTTON(1), io.mouseButtons(io.ctx)) << "the pass that tests where it landed";
    drain({});
    EXPECT_EQ(0, io.mouseButtons(io.ctx));
    layer.pads[0].buttons = 1u << kA;  // a pad's left button, held
    drain({});
    EXPECT_EQ(SDL_BUTTON(1), io.mouseButtons(io.ctx));
    layer.pads[0].buttons = 0;
    drain({});
    EXPECT_EQ(0, io.mouseButtons(io.ctx));
    SDL_Quit();
}
