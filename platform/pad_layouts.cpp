#include "platform/pad_layouts.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

namespace {

constexpr PadAction N = PAD_NOTHING, L = PAD_LEFT_BUTTON, R = PAD_RIGHT_BUTTON, E = PAD_ESCAPE,
                    B = PAD_BACK, U = PAD_DPAD_UP, D = PAD_DPAD_DOWN, DL = PAD_DPAD_LEFT,
                    DR = PAD_DPAD_RIGHT;

// Case-blind: drivers spell "X-Box", "XBOX" and "Xbox".
bool nameHas(const char* name, const char* word) {
    const size_t n = std::strlen(word);
    for (const char* at = name; *at; ++at) {
        size_t i = 0;
        while (i < n && at[i] &&
               std::tolower(static_cast<unsigned char>(at[i])) ==
                   std::tolower(static_cast<unsigned char>(word[i])))
            ++i;
        if (i == n) return true;
    }
    return false;
}

bool playStationName(const char* name) {
    for (const char* word : {"Sony", "PlayStation", "DualSense", "DualShock", "Wireless Controller"})
        if (nameHas(name, word)) return true;
    return false;
}

bool xboxName(const char* name) {
    for (const char* word : {"X-Box", "Xbox", "XInput", "Microsoft", "Steam"})
        if (nameHas(name, word)) return true;
    return false;
}

}  // namespace

// A=0 B=1 X=2 Y=3 LB=4 RB=5 Back=6 Start=7 Guide=8 LS=9 RS=10; the wireless
// receiver's d-pad as buttons 11..14 (left, right, up, down); older joydev
// set-ups give the d-pad as axes 6 and 7.
const PadLayout kPadXbox = {"xbox", {L, B, R, N, R, R, B, E, N, N, N, DL, DR, U, D}, N, 6, 7};

// cross=0 circle=1 triangle=2 square=3 L1=4 R1=5 L2=6 R2=7 share=8
// options=9 PS=10 L3=11 R3=12; the PlayStation 3 pad's d-pad as 13..16.
const PadLayout kPadPlayStation = {"playstation", {L, B, N, R, R, R, N, N, B, E, N, N, N, U, D, DL, DR},
                                   N, -1, -1};

// DirectInput order: square=0 cross=1 circle=2 triangle=3 L1=4 R1=5 L2=6
// R2=7 share=8 options=9.
const PadLayout kPadPlayStationWin = {"playstation-windows", {R, L, B, N, R, R, N, N, B, E}, N, -1, -1};

// A=0 B=1 X=2 Y=3 LB=4 RB=5 LT=6 RT=7 Back=8 Start=9 LS=10 RS=11, d-pad
// 12..15 (up, down, left, right).
const PadLayout kPadBrowserStandard = {"standard", {L, B, R, N, R, R, N, N, B, E, N, N, U, D, DL, DR},
                                       N, -1, -1};

// The first button is nearly always the main face button; the next one a
// second face button; shoulders and other face buttons follow; Start sits
// past them on almost every pad.
const PadLayout kPadFallback = {"fallback", {L, B, R, R, R, R, E, E, E, E, E, E, E, E, E, E, E, E, E, E},
                                E, -1, -1};

const PadLayout& choosePadLayout(PadSystem system, const char* name, bool standardMapping) {
    if (!name) name = "";
    switch (system) {
        case PAD_SYSTEM_BROWSER:
            return standardMapping ? kPadBrowserStandard : kPadFallback;
        case PAD_SYSTEM_WINDOWS:
            // winmm gives XInput pads (most pads on Windows) the Xbox order.
            return !xboxName(name) && playStationName(name) ? kPadPlayStationWin : kPadXbox;
        case PAD_SYSTEM_LINUX:
            // Xbox first: "Xbox Wireless Controller" has a PlayStation word too.
            if (xboxName(name)) return kPadXbox;
            if (playStationName(name)) return kPadPlayStation;
            return kPadFallback;
    }
    return kPadFallback;
}
