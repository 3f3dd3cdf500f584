// A pad for the tests that drive the real event loop. On sdl12-compat it is
// SDL2's virtual joystick, attached before the game's pad layer opens the
// library's pads, so the events come through the whole library; on classic
// SDL 1.2, which has no such thing, its events are pushed into the queue.
#pragma once

#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include "loaded_sdl.h"

struct VirtualPad {
    bool virtualDevice = false;  // SDL2's virtual joystick, not pushed events
    bool attached = false;
    void* sdl2 = nullptr;
    void* joystick = nullptr;  // SDL2's SDL_Joystick
    int device = -1;
    int axes[8] = {};
    uint8_t hat = 0;
    uint32_t buttons = 0;

    int (*initSubSystem)(uint32_t) = nullptr;
    int (*attach)(int type, int naxes, int nbuttons, int nhats) = nullptr;
    int (*detach)(int device) = nullptr;
    void* (*open)(int device) = nullptr;
    int (*setAxis)(void*, int, int16_t) = nullptr;
    int (*setButton)(void*, int, uint8_t) = nullptr;
    int (*setHat)(void*, int, uint8_t) = nullptr;

    // Call before the game's pad layer first polls. Returns false with
    // the reason in why when no pad could be made.
    bool plugIn(const char** why) {
        if (std::strcmp(loadedSdlKind(), "sdl12-compat") != 0) {
            attached = true;  // pushed events need nothing
            return true;
        }
        virtualDevice = true;
        // The dummy video driver's window never has the focus, and SDL2
        // drops a pad's events without it.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
        if (!sdl2) sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW);
        if (!sdl2) return *why = "SDL2 not found", false;
        initSubSystem = reinterpret_cast<int (*)(uint32_t)>(dlsym(sdl2, "SDL_InitSubSystem"));
        attach = reinterpret_cast<int (*)(int, int, int, int)>(dlsym(sdl2, "SDL_JoystickAttachVirtual"));
        detach = reinterpret_cast<int (*)(int)>(dlsym(sdl2, "SDL_JoystickDetachVirtual"));
        open = reinterpret_cast<void* (*)(int)>(dlsym(sdl2, "SDL_JoystickOpen"));
        setAxis = reinterpret_cast<int (*)(void*, int, int16_t)>(dlsym(sdl2, "SDL_JoystickSetVirtualAxis"));
        setButton = reinterpret_cast<int (*)(void*, int, uint8_t)>(dlsym(sdl2, "SDL_JoystickSetVirtualButton"));
        setHat = reinterpret_cast<int (*)(void*, int, uint8_t)>(dlsym(sdl2, "SDL_JoystickSetVirtualHat"));
        if (!initSubSystem || !attach || !detach || !open || !setAxis || !setButton || !setHat)
            return *why = "SDL2 has no virtual joystick (2.0.14 or later needed)", false;
        if (initSubSystem(0x200 /* SDL_INIT_JOYSTICK */) != 0) return *why = "SDL2's joysticks", false;
        // SDL_JOYSTICK_TYPE_GAMECONTROLLER: 6 axes, 15 buttons, one hat.
        // One a process: sdl12-compat counts the pads once, so a second
        // test in the same process gets the first one's pad.
        static int attachedDevice = attach(1, 6, 15, 1);
        device = attachedDevice;
        if (device < 0) return *why = "attaching the virtual joystick failed", false;
        joystick = open(device);
        for (int a = 0; a < 6; ++a) setAxis(joystick, a, 0);
        for (int b = 0; b < 15; ++b) setButton(joystick, b, 0);
        setHat(joystick, 0, 0);
        if (!joystick) return *why = "opening the virtual joystick failed", false;
        attached = true;
        return true;
    }

    void unplug() {
        if (virtualDevice && attached) detach(device);
        attached = false;
    }

    void push(SDL_Event& e) { SDL_PushEvent(&e); }

    void axis(int a, int value) {
        if (!attached || axes[a] == value) return;
        axes[a] = value;
        if (virtualDevice) {
            setAxis(joystick, a, static_cast<int16_t>(value));
            return;
        }
        SDL_Event e{};
        e.type = SDL_JOYAXISMOTION;
        e.jaxis.axis = static_cast<Uint8>(a);
        e.jaxis.value = static_cast<Sint16>(value);
        push(e);
    }

    void button(int b, bool down) {
        const uint32_t bit = 1u << b;
        if (!attached || ((buttons & bit) != 0) == down) return;
        buttons = down ? buttons | bit : buttons & ~bit;
        if (virtualDevice) {
            setButton(joystick, b, down ? 1 : 0);
            return;
        }
        SDL_Event e{};
        e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
        e.jbutton.button = static_cast<Uint8>(b);
        e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
        push(e);
    }

    void dpad(uint8_t value) {
        if (!attached || hat == value) return;
        hat = value;
        if (virtualDevice) {
            setHat(joystick, 0, value);
            return;
        }
        SDL_Event e{};
        e.type = SDL_JOYHATMOTION;
        e.jhat.value = value;
        push(e);
    }
};
