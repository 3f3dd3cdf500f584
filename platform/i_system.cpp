#include "platform/i_system.h"

#include <cstdarg>
#include <cstdlib>

#include "platform/away.h"
#include "platform/end_signals.h"
#include "platform/i_sound.h"
#include "platform/i_video.h"

namespace {

TickExtender sdlTicks;

Clock ticksNow() { return extendTicks(sdlTicks, SDL_GetTicks()); }

Clock sdlClock(void*) { return withoutTimeAway(ticksNow()); }

// Set once a close request went out in the current drain of the queue, so
// that the drain ends even while the player is away.
bool endRequested = false;

// A tap (a touchpad's, or a quick click) sends the press and the release at
// once, and both can arrive between two looks at the buttons, where the
// state alone never shows the press. The left and right presses taken in a
// drain are kept until the next drain starts, so every look after it sees
// them held. The menus test the click point of the pass before, so a press
// that came after the pointer moved in the same drain is held through the
// next pass too, and one let go in that same drain waits for the next pass
// alone: it is tested where it landed, never where the pointer was before.
// The page holds taps in its own layer, by the same rule; holding them here
// too would count a tap after a move at once, where the pointer was before.
#ifdef __EMSCRIPTEN__
constexpr bool kHoldTaps = false;
#else
constexpr bool kHoldTaps = true;
#endif
bool draining = false;
bool movedInDrain = false;
uint8_t pressedInDrain = 0;
uint8_t pressedAfterMove = 0;
uint8_t pressedForNextDrain = 0;

void notePress(const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) movedInDrain = true;
    if (!kHoldTaps || event.type != SDL_MOUSEBUTTONDOWN) return;
    if (event.button.button != SDL_BUTTON_LEFT && event.button.button != SDL_BUTTON_RIGHT) return;
    const auto bit = static_cast<uint8_t>(SDL_BUTTON(event.button.button));
    pressedInDrain = static_cast<uint8_t>(pressedInDrain | bit);
    if (movedInDrain) pressedAfterMove = static_cast<uint8_t>(pressedAfterMove | bit);
}

int sdlPollEvent(void*, SDL_Event* event) {
    if (!draining) {
        draining = true;
        movedInDrain = false;
        pressedInDrain = pressedForNextDrain;
        pressedForNextDrain = 0;
    }
    for (;;) {
        // A signal to end reaches every screen as a close request, once in
        // each drain, so the screens that called it hear it too when they
        // go on.
        if (endSignal() && !endRequested) {
            endRequested = true;
            *event = SDL_Event{};
            event->type = SDL_QUIT;
            return 1;
        }
        if (SDL_PollEvent(event)) {
            noteWindowEvent(*event, ticksNow());
            noteDisplayEvent(*event);
            if (!playerAway()) {
                notePress(*event);
                return 1;
            }
            if (event->type == SDL_QUIT) {
                endRequested = true;
                return 1;
            }
            whileAway(*event);
            continue;
        }
        if (!playerAway() || endRequested || endSignal()) {
            endRequested = false;
            draining = false;
            // Held on, it is tested where it was before this pass too, as
            // any held button; let go in the next drain, it still counts there.
            // (Not in the page: a look here would count as the game's there.)
            if (kHoldTaps) {
                pressedForNextDrain = pressedAfterMove;
                pressedInDrain = static_cast<uint8_t>(
                    pressedInDrain & ~(pressedAfterMove & ~SDL_GetMouseState(nullptr, nullptr)));
            }
            pressedAfterMove = 0;
            return 0;
        }
        // Away: the drain goes on until the player is back.
        SDL_Delay(kAwayLookMs);
    }
}

uint8_t sdlMouseButtons(void*) {
    return static_cast<uint8_t>(SDL_GetMouseState(nullptr, nullptr) | pressedInDrain);
}

bool sdlKeyDown(void*, SDLKey key) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    return keys && key >= 0 && key < count && keys[key] != 0;
}

void sdlDelay(void*, uint32_t ms) {
    // In short slices, so that a signal to end cuts a long hold short.
    constexpr uint32_t kSliceMs = 20;
    while (ms > 0 && !endSignal()) {
        const uint32_t slice = ms < kSliceMs ? ms : kSliceMs;
        SDL_Delay(slice);
        ms -= slice;
    }
}

void cSeed(void*, unsigned seed) { std::srand(seed); }

int cRandom(void*) { return std::rand(); }

bool mixChannelBusy(void*) { return soundPlaying(); }

void mixPlay(void*, int, Mix_Chunk* chunk) { playSound(chunk); }

void mixHalt(void*) { haltSound(); }

void ignoreFrame(void*, const MatchState&) {}

const GameIo kSdlIo = {nullptr,      sdlClock, sdlPollEvent,   sdlMouseButtons,
                       sdlKeyDown,   sdlDelay, cSeed,          cRandom,
                       mixChannelBusy, mixPlay, mixHalt, ignoreFrame};

}  // namespace

const GameIo& sdlGameIo() { return kSdlIo; }

Clock extendTicks(TickExtender& ext, uint32_t ticks) {
    if (ticks < ext.last) ext.high += Clock{1} << 32;
    ext.last = ticks;
    return ext.high | ticks;
}

void paceFrame(const GameIo& io, Clock passStart) {
    const Clock spent = io.clock(io.ctx) - passStart;
    if (spent < static_cast<Clock>(kMinPassMs)) io.delay(io.ctx, static_cast<uint32_t>(kMinPassMs - spent));
}

void fatalError(std::FILE* stream, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stream, format, args);
    va_end(args);
    fatalExit();
}

void fatalExit() { std::exit(1); }
