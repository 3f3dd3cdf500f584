// Which raw pad button does what. Button numbers differ between drivers and
// systems, so each pad gets a layout chosen from its name and the system;
// a pad nobody recognises gets one that still reaches every action. No
// SDL call here: the choice is a pure rule.
#pragma once

#include <cstdint>

// What a pad button can stand for in the game.
enum PadAction : uint8_t {
    PAD_NOTHING = 0,
    PAD_LEFT_BUTTON,   // the mouse's left button: click, and held, charge
    PAD_RIGHT_BUTTON,  // the mouse's right button: open the aim
    PAD_ESCAPE,        // Escape everywhere
    PAD_BACK,          // Escape outside a match only, so a stray press never ends one
    PAD_DPAD_UP,
    PAD_DPAD_DOWN,
    PAD_DPAD_LEFT,
    PAD_DPAD_RIGHT,
};

constexpr int kPadLayoutButtons = 20;

struct PadLayout {
    const char* name;
    PadAction buttons[kPadLayoutButtons];  // by raw button number
    PadAction beyond;                      // every button past the table
    // Axes that carry the d-pad on drivers that report it as two axes
    // rather than a hat (-1: none). The left stick is always axes 0 and 1.
    int dpadAxisX, dpadAxisY;
};

enum PadSystem { PAD_SYSTEM_LINUX, PAD_SYSTEM_WINDOWS, PAD_SYSTEM_BROWSER };

extern const PadLayout kPadXbox;           // Linux xpad; Windows' XInput pads through winmm
extern const PadLayout kPadPlayStation;    // Linux hid-sony / hid-playstation
extern const PadLayout kPadPlayStationWin; // a PlayStation pad through Windows' winmm
extern const PadLayout kPadBrowserStandard;  // the Gamepad API's "standard" mapping
extern const PadLayout kPadFallback;       // anything else

// standardMapping: the browser says the pad has the standard mapping.
const PadLayout& choosePadLayout(PadSystem system, const char* name, bool standardMapping);

inline PadAction padButtonAction(const PadLayout& layout, int button) {
    if (button < 0) return PAD_NOTHING;
    return button < kPadLayoutButtons ? layout.buttons[button] : layout.beyond;
}
