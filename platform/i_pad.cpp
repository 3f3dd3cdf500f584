#include "platform/i_pad.h"

#include <algorithm>

namespace {

bool matchRunning = false;

#if defined(__EMSCRIPTEN__)
constexpr PadSystem kSystem = PAD_SYSTEM_BROWSER;
#elif defined(_WIN32)
constexpr PadSystem kSystem = PAD_SYSTEM_WINDOWS;
#else
constexpr PadSystem kSystem = PAD_SYSTEM_LINUX;
#endif

#if defined(__EMSCRIPTEN__)
// platform/web/web_platform.js: whether the page sees the pad with the
// Gamepad API's standard mapping.
extern "C" int velmora_pad_standard(int index);
bool standardMapping(int index) { return velmora_pad_standard(index) != 0; }
#else
bool standardMapping(int) { return false; }
#endif

PadLayer& self(void* ctx) { return *static_cast<PadLayer*>(ctx); }

const PadLayout& layoutOf(const PadInput& pad) {
    return pad.layout ? *pad.layout : choosePadLayout(kSystem, "", false);
}

// Bit N: some held button of some pad means action N.
uint32_t heldActions(const PadLayer& l) {
    uint32_t actions = 0;
    for (const PadInput& pad : l.pads)
        for (int b = 0; b < 32; ++b)
            if (pad.buttons & (1u << b)) actions |= 1u << padButtonAction(layoutOf(pad), b);
    return actions;
}

bool anyButtonHeld(const PadLayer& l) {
    for (const PadInput& pad : l.pads)
        if (pad.buttons) return true;
    return false;
}

int axisDirection(int value) {
    return value > kPadDeadZone ? 1 : value < -kPadDeadZone ? -1 : 0;
}

const PadLayout& libraryLayout(int index) {
    return choosePadLayout(kSystem, SDL_JoystickName(index), standardMapping(index));
}

// Opens every pad the library knows of, once a drain, so that a pad the
// library finds later (the page does) plays at once. Pads past the count
// went away: they are closed and hold nothing any more.
void scanPads(PadLayer& l) {
    if (!l.useLibrary) return;
    if (!l.libraryTried) {
        l.libraryTried = true;
        // Apart from SDL_Init: a system without a joystick layer still plays.
        l.libraryUp = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
        if (l.libraryUp) SDL_JoystickEventState(SDL_ENABLE);
    }
    if (!l.libraryUp) return;
    const int count = std::min(SDL_NumJoysticks(), kMaxPads);
    for (int i = count; i < l.opened; ++i) {
        if (l.handles[i]) SDL_JoystickClose(l.handles[i]);
        l.handles[i] = nullptr;
        l.pads[i] = PadInput{};
    }
    for (int i = l.opened; i < count; ++i) {
        l.handles[i] = SDL_JoystickOpen(i);
        if (l.handles[i] && !l.pads[i].layout) l.pads[i].layout = &libraryLayout(i);
    }
    l.opened = count;
}

// A pad's layout is chosen when it is opened, or at its first event where
// the library reports a pad before the game opens it (the page).
PadInput& padOf(PadLayer& l, int which) {
    PadInput& pad = l.pads[which];
    if (!pad.layout && l.libraryUp && which < SDL_NumJoysticks()) pad.layout = &libraryLayout(which);
    return pad;
}

// Takes a joystick event in; false for any other event.
bool takePadEvent(PadLayer& l, const SDL_Event& e) {
    switch (e.type) {
        case SDL_JOYAXISMOTION: {
            if (e.jaxis.which >= kMaxPads) return true;
            PadInput& pad = padOf(l, e.jaxis.which);
            const PadLayout& layout = layoutOf(pad);
            if (e.jaxis.axis == 0) pad.stickX = e.jaxis.value;
            if (e.jaxis.axis == 1) pad.stickY = e.jaxis.value;
            if (e.jaxis.axis == layout.dpadAxisX) pad.dpadAxisX = e.jaxis.value;
            if (e.jaxis.axis == layout.dpadAxisY) pad.dpadAxisY = e.jaxis.value;
            return true;
        }
        case SDL_JOYHATMOTION:
            // Hat 0 is the d-pad; pads with more hats use the others for
            // something else.
            if (e.jhat.which < kMaxPads && e.jhat.hat == 0) padOf(l, e.jhat.which).hat = e.jhat.value;
            return true;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (e.jbutton.which < kMaxPads && e.jbutton.button < 32) {
                const uint32_t bit = 1u << e.jbutton.button;
                uint32_t& held = padOf(l, e.jbutton.which).buttons;
                held = e.type == SDL_JOYBUTTONDOWN ? held | bit : held & ~bit;
            }
            return true;
        case SDL_JOYBALLMOTION:
            return true;
        default:
            return false;
    }
}

// A mouse button let go lets go of the pad buttons that stand for it too:
// classic SDL 1.2 never tells that a pad went away, and its buttons would
// stay held for good otherwise. A pad still there presses again.
void letGoOfPads(PadLayer& l, int mouseButton) {
    const PadAction action = mouseButton == SDL_BUTTON_LEFT    ? PAD_LEFT_BUTTON
                             : mouseButton == SDL_BUTTON_RIGHT ? PAD_RIGHT_BUTTON
                                                               : PAD_NOTHING;
    if (action == PAD_NOTHING) return;
    for (PadInput& pad : l.pads)
        for (int b = 0; b < 32; ++b)
            if (padButtonAction(layoutOf(pad), b) == action) pad.buttons &= ~(1u << b);
}

SDL_Event motionEvent(const PadLayer& l, uint8_t buttons) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.state = buttons;
    e.motion.x = static_cast<Uint16>(padPointerX(l.pointer));
    e.motion.y = static_cast<Uint16>(padPointerY(l.pointer));
    return e;
}

uint8_t padMouseButtons(const PadLayer& l) {
    const uint32_t actions = heldActions(l);
    uint8_t mask = 0;
    if (actions & (1u << PAD_LEFT_BUTTON)) mask |= SDL_BUTTON(1);
    if (actions & (1u << PAD_RIGHT_BUTTON)) mask |= SDL_BUTTON(3);
    return mask;
}

uint8_t padsMouseButtons(void* ctx) {
    PadLayer& l = self(ctx);
    return static_cast<uint8_t>(l.inner.mouseButtons(l.inner.ctx) | padMouseButtons(l));
}

bool padsKeyDown(void* ctx, SDLKey key) {
    PadLayer& l = self(ctx);
    if (l.inner.keyDown(l.inner.ctx, key)) return true;
    if (key == SDLK_ESCAPE) {
        const uint32_t actions = heldActions(l);
        return (actions & (1u << PAD_ESCAPE)) || (!matchRunning && (actions & (1u << PAD_BACK)));
    }
    // Return is what the title reads to be skipped: any pad button does.
    if (key == SDLK_RETURN) return anyButtonHeld(l);
    return false;
}

int padsPollEvent(void* ctx, SDL_Event* event) {
    PadLayer& l = self(ctx);
    if (!l.drainStarted) {
        l.drainStarted = true;
        const Clock now = l.inner.clock(l.inner.ctx);
        scanPads(l);
        if (stepPadPointer(l.pointer, padVelocity(l), now)) {
            l.moving = true;
            *event = motionEvent(l, padsMouseButtons(ctx));
            return 1;
        }
        if (l.moving && l.warpSystemPointer) {
            // At rest only: the library answers a warp with a motion event a
            // pass or so later, which then names where the pointer already is.
            l.warpX = padPointerX(l.pointer);
            l.warpY = padPointerY(l.pointer);
            l.warpEcho = true;
            SDL_WarpMouse(static_cast<Uint16>(l.warpX), static_cast<Uint16>(l.warpY));
        }
        l.moving = false;
    }
    for (;;) {
        if (!l.inner.pollEvent(l.inner.ctx, event)) {
            l.drainStarted = false;
            return 0;
        }
        if (takePadEvent(l, *event)) continue;
        if (event->type == SDL_MOUSEMOTION) {
            if (l.warpEcho && event->motion.x == l.warpX && event->motion.y == l.warpY) {
                l.warpEcho = false;
                // The pad may have gone on since: its position stands.
                continue;
            }
            placePadPointer(l.pointer, event->motion.x, event->motion.y);
            // The mouse takes over: a stick held still, or left tilted by a
            // pad that went away unheard, moves nothing until it moves again.
            for (PadInput& pad : l.pads) {
                pad.stickX = pad.stickY = pad.dpadAxisX = pad.dpadAxisY = 0;
                pad.hat = SDL_HAT_CENTERED;
            }
        } else if (event->type == SDL_MOUSEBUTTONDOWN || event->type == SDL_MOUSEBUTTONUP) {
            placePadPointer(l.pointer, event->button.x, event->button.y);
            if (event->type == SDL_MOUSEBUTTONUP) letGoOfPads(l, event->button.button);
        }
        return 1;
    }
}

Clock padsClock(void* ctx) { return self(ctx).inner.clock(self(ctx).inner.ctx); }
void padsDelay(void* ctx, uint32_t ms) { self(ctx).inner.delay(self(ctx).inner.ctx, ms); }
void padsSeed(void* ctx, unsigned seed) { self(ctx).inner.seedRandom(self(ctx).inner.ctx, seed); }
int padsRandom(void* ctx) { return self(ctx).inner.random(self(ctx).inner.ctx); }
bool padsBusy(void* ctx) { return self(ctx).inner.channelBusy(self(ctx).inner.ctx); }
void padsPlay(void* ctx, int id, Mix_Chunk* chunk) { self(ctx).inner.playSound(self(ctx).inner.ctx, id, chunk); }
void padsHalt(void* ctx) { self(ctx).inner.haltChannel(self(ctx).inner.ctx); }
void padsFrameDone(void* ctx, const MatchState& m) { self(ctx).inner.frameDone(self(ctx).inner.ctx, m); }

}  // namespace

PadVelocity padVelocity(const PadLayer& l) {
    PadVelocity sum;
    const uint32_t actions = heldActions(l);
    int dx = ((actions >> PAD_DPAD_RIGHT) & 1) - ((actions >> PAD_DPAD_LEFT) & 1);
    int dy = ((actions >> PAD_DPAD_DOWN) & 1) - ((actions >> PAD_DPAD_UP) & 1);
    for (const PadInput& pad : l.pads) {
        const PadVelocity stick = stickVelocity(pad.stickX, pad.stickY);
        sum.x += stick.x;
        sum.y += stick.y;
        dx += ((pad.hat & SDL_HAT_RIGHT) ? 1 : 0) - ((pad.hat & SDL_HAT_LEFT) ? 1 : 0);
        dy += ((pad.hat & SDL_HAT_DOWN) ? 1 : 0) - ((pad.hat & SDL_HAT_UP) ? 1 : 0);
        dx += axisDirection(pad.dpadAxisX);
        dy += axisDirection(pad.dpadAxisY);
    }
    const PadVelocity dpad = dpadVelocity(std::clamp(dx, -1, 1), std::clamp(dy, -1, 1));
    // Several pads at once move no faster than one.
    sum.x = std::clamp(sum.x + dpad.x, -kPadStickMaxSpeed, kPadStickMaxSpeed);
    sum.y = std::clamp(sum.y + dpad.y, -kPadStickMaxSpeed, kPadStickMaxSpeed);
    return sum;
}

void attachPads(PadLayer& l, const GameIo& inner) {
    l.inner = inner;
    l.io = GameIo{&l,         padsClock, padsPollEvent, padsMouseButtons,
                  padsKeyDown, padsDelay, padsSeed,      padsRandom,
                  padsBusy,    padsPlay,  padsHalt,      padsFrameDone};
}

const GameIo& gameIoWithPads(const GameIo& inner) {
    static PadLayer layer;
#if !defined(__EMSCRIPTEN__)
    // Classic SDL 1.2 only: sdl12-compat (1.2.50 and later) puts a warp in
    // window pixels, which are not the game's once it scales the picture to
    // the screen, so the pointer would land elsewhere.
    layer.warpSystemPointer = SDL_Linked_Version()->patch < 50;
#endif
    attachPads(layer, inner);
    return layer.io;
}

void padsInMatch(bool inMatch) { matchRunning = inMatch; }
