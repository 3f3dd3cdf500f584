#include "platform/away.h"

namespace {

bool iconified = false;
bool unfocused = false;
Clock leftAt = 0;    // tick reading when the player left
Clock timeAway = 0;  // all the time away so far

}  // namespace

Clock withoutTimeAway(Clock ticks) { return (playerAway() ? leftAt : ticks) - timeAway; }

bool playerAway() { return iconified || unfocused; }

void noteWindowEvent(const SDL_Event& event, Clock ticks) {
    if (event.type != SDL_ACTIVEEVENT) return;
    const bool wasAway = playerAway();
    // SDL reports a loss only of what the window had, and the focus of a
    // window that never got it is never lost.
    if (event.active.state & SDL_APPACTIVE) iconified = !event.active.gain;
    if (event.active.state & SDL_APPINPUTFOCUS) unfocused = !event.active.gain;
    if (!wasAway && playerAway()) leftAt = ticks;
    if (wasAway && !playerAway()) timeAway += ticks - leftAt;
}

void whileAway(const SDL_Event& event) {
#ifndef __EMSCRIPTEN__
    // Classic SDL 1.2 repaints an exposed window itself; sdl12-compat and
    // others ask the program to.
    if (event.type == SDL_VIDEOEXPOSE)
        if (SDL_Surface* display = SDL_GetVideoSurface()) SDL_UpdateRect(display, 0, 0, 0, 0);
#else
    (void)event;
#endif
}
