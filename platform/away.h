// The player is away while the game's window is iconified or has lost the
// input focus that it had. Then the game waits for them: the clock that
// every screen reads stands still, nothing is drawn, and the event poll
// waits on events instead of handing back passes. On return a match goes
// on exactly where it stood. A window that never had the focus (an X
// server without a window manager) is never away. The page keeps its own
// clock (platform/web), which stands still while it is hidden or blurred.
#pragma once

#include <SDL.h>

#include "platform/i_system.h"

// A reading of the library's tick clock with the time away taken out;
// while away it stays at the moment the player left.
Clock withoutTimeAway(Clock ticks);

// Notes what an event says of the window, at the tick reading given.
void noteWindowEvent(const SDL_Event& event, Clock ticks);

bool playerAway();

// What the poll does with an event taken while the player is away: an
// exposed window gets its last picture again; the rest is not the
// player's input and is dropped.
void whileAway(const SDL_Event& event);

// How long the poll sleeps between looks at the queue while away: short
// enough that a return, a closed window or a signal is met at once, long
// enough to cost nothing.
constexpr uint32_t kAwayLookMs = 100;
