// Game pads as the mouse and keys the screens already read. A PadLayer
// wraps a GameIo: the library's joystick events are taken out of the event
// queue and become pointer motion (mouse motion events at the start of a
// drain), the left and right mouse buttons, Escape, and on the title
// Return. The rules never see a pad, and a pad left idle changes nothing.
#pragma once

#include <SDL.h>

#include "platform/i_system.h"
#include "platform/pad_layouts.h"
#include "platform/pad_pointer.h"

constexpr int kMaxPads = 8;

// One pad as its events left it.
struct PadInput {
    const PadLayout* layout = nullptr;  // null: the system's default layout
    int stickX = 0, stickY = 0;
    int dpadAxisX = 0, dpadAxisY = 0;
    uint8_t hat = SDL_HAT_CENTERED;
    uint32_t buttons = 0;  // held, by raw button number
};

struct PadLayer {
    GameIo inner{};
    GameIo io{};  // what the screens are given
    PadInput pads[kMaxPads];
    PadPointer pointer;
    bool drainStarted = false;
    bool moving = false;
    // Opens the library's pads (off where a test feeds the events itself).
    bool useLibrary = true;
    // Moves the system's pointer to where a pad left it, so that the mouse
    // goes on from there (classic SDL 1.2 only: a page cannot move the
    // pointer, and sdl12-compat moves it to the wrong place).
    bool warpSystemPointer = false;
    bool warpEcho = false;  // the motion event the last warp makes is due
    int warpX = 0, warpY = 0;
    bool libraryTried = false, libraryUp = false;
    int opened = 0;
    SDL_Joystick* handles[kMaxPads] = {};
};

// Sets layer.io to inner with the pads added. The layer must outlive its io.
void attachPads(PadLayer& layer, const GameIo& inner);

// The one pad layer of the game on this system.
const GameIo& gameIoWithPads(const GameIo& inner);

// A match is running: the second face button is not Escape there.
void padsInMatch(bool inMatch);

// The sum of every pad's stick and d-pad.
PadVelocity padVelocity(const PadLayer& layer);
