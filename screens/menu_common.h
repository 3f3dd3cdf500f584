// What the menu screens share: the crosshair cursor and its click point,
// strict hit boxes, the click gate and the colours.
#pragma once

#include <SDL.h>

#include "platform/i_system.h"
#include "platform/i_video.h"

constexpr SDL_Color kMenuTextColour = {100, 100, 80, 0};
constexpr int kClickGateMs = 500;

struct MenuCursor {
    Sint16 x = 0, y = 0;     // where the crosshair is drawn
    int hotX = 25, hotY = 25;  // click point as of the end of the previous pass
};

// Drains the event queue. Mouse motion and button events move the cursor
// (the last one wins); returns true when the window was closed.
bool pollMenuEvents(const GameIo& io, MenuCursor& cursor);

inline void updateHotSpot(MenuCursor& cursor) {
    cursor.hotX = cursor.x + 25;
    cursor.hotY = cursor.y + 25;
}

// Strict on all four sides: a point on a bound is outside.
inline bool insideStrict(int x, int y, int left, int top, int right, int bottom) {
    return left < x && x < right && top < y && y < bottom;
}

inline bool clickGateOpen(Clock now, Clock gateStart) {
    return now - gateStart > static_cast<Clock>(kClickGateMs);
}

inline bool leftButtonDown(const GameIo& io) {
    return (io.mouseButtons(io.ctx) & SDL_BUTTON(1)) != 0;
}

void fillMenuBackground(SDL_Surface* display);

// The passes of a menu screen until leaveScreen is set. Each pass drains the
// events (a closed window leaves), runs the screen's own tests (act), moves
// the click point, then fills the background, draws the screen's own
// images (draw), the crosshair over them, flips and paces. act may run
// another screen and set display to the surface that one left.
template <typename Act, typename Draw>
void runMenuPasses(const GameIo& io, MenuCursor& cursor, SDL_Surface*& display,
                   SDL_Surface* crosshair, bool& leaveScreen, Act act, Draw draw) {
    while (!leaveScreen) {
        const Clock passStart = io.clock(io.ctx);
        if (pollMenuEvents(io, cursor)) leaveScreen = true;
        act();
        updateHotSpot(cursor);

        fillMenuBackground(display);
        draw();
        blitAt(crosshair, display, cursor.x, cursor.y);
        flipDisplay(display);
        paceFrame(io, passStart);
    }
}
