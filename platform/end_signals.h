// Signals that end the game: SIGTERM (a shutdown, `timeout`), SIGINT
// (Ctrl-C) and SIGHUP (the session went away). The handler only notes the
// signal. The screens hear of it as a close request when they poll events
// (every pass of every screen polls), so each leaves through its own
// clean-up; main then puts the display back with SDL_Quit and dies by the
// same signal, as the caller expects of a killed program.
#pragma once

// Installs the handler for the three signals; one that was ignored when
// the game started (nohup, a background job) stays ignored.
void catchEndSignals();

// The signal caught, or 0.
int endSignal();

// SDL_Quit, then the signal's default action; exit status 128 + sig if the
// process survives that.
[[noreturn]] void dieBySignal(int sig);

// SDL_Quit, given kQuitGraceSeconds. It puts the display back; but where
// the display has gone away (the X server ended or crashed), SDL2 under
// sdl12-compat waits inside it for an answer that never comes, spinning a
// core for good. Past the grace the process ends all the same: by the
// signal it was dying by, else with status 1.
constexpr unsigned kQuitGraceSeconds = 2;
void quitSdlWithinGrace();
