// What the menu screens share: the crosshair cursor and its click point,
// strict hit boxes, the click gate and the colours.
#pragma once

#include <SDL.h>

#include "app/i_system.h"

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
