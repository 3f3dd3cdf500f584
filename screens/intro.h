// The title sequence's slide, apart from its SDL loop.
#pragma once

#include "platform/i_system.h"

constexpr int kIntroSlideStartY = -100;
// Top edge of the two sliding pictures once they are wholly below the display.
constexpr int kIntroSlideEndY = 800;
constexpr Clock kIntroStillMs = 2000;     // the title stands this long first
constexpr uint32_t kIntroHoldMs = 1500;   // and this long after the slide
constexpr uint32_t kIntroPassWaitMs = 20;

struct IntroSlide {
    bool started = false;
    int32_t frameStep = 0;  // half the previous pass's length in ms
    int y = kIntroSlideStartY;
};

// One pass: the slide starts once more than kIntroStillMs have elapsed and
// then moves by frameStep * 3 / 10, so its speed follows real time. True
// when the pictures have reached kIntroSlideEndY.
bool advanceIntroSlide(IntroSlide& slide, Clock elapsed);
