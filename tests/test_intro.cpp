// The title sequence: the slide's arithmetic, its timing over whole runs at
// different pass lengths, the final hold, and the ways to cut it short.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "scripted_io.h"
#include "sdl_video_env.h"
#include "screens/intro.h"
#include "screens/screens.h"

namespace {

::testing::Environment* const kSdl = ::testing::AddGlobalTestEnvironment(new SdlVideo);

struct IntroRun {
    ScriptedIo s;
    void run(PassScript script = {}) {
        EXPECT_EQ(0, runScripted(s, 5000, script, [](const GameIo& io) {
                      return runIntroScreen(0, nullptr, io);
                  }));
    }
};

// The delays of a run whose passes ended without the hold.
std::vector<uint32_t> passWaits(int passes) { return std::vector<uint32_t>(passes, 20); }

// ... and of one that ended with it.
std::vector<uint32_t> withHold(int passes) {
    std::vector<uint32_t> d(passes - 1, 20);
    d.push_back(1500);
    d.push_back(20);
    return d;
}

}  // namespace

TEST(IntroSlide, StandsStillUntilMoreThan2000MsThenMovesByThreeTenthsOfTheStep) {
    IntroSlide slide;
    slide.frameStep = 10;
    EXPECT_FALSE(advanceIntroSlide(slide, 2000));
    EXPECT_FALSE(slide.started);
    EXPECT_EQ(-100, slide.y) << "exactly 2000 ms is not more than 2000";

    EXPECT_FALSE(advanceIntroSlide(slide, 2001));
    EXPECT_TRUE(slide.started);
    EXPECT_EQ(-97, slide.y) << "a 20 ms pass (step 10) moves 3";

    slide.frameStep = 20;
    advanceIntroSlide(slide, 2041);
    EXPECT_EQ(-91, slide.y) << "a 40 ms pass (step 20) moves 6";

    slide.frameStep = 13;
    advanceIntroSlide(slide, 2068);
    EXPECT_EQ(-88, slide.y) << "39 / 10 truncates to 3";

    slide.frameStep = 0;
    advanceIntroSlide(slide, 0);
    EXPECT_TRUE(slide.started) << "once started, the slide goes on";
    EXPECT_EQ(-88, slide.y);
}

TEST(IntroSlide, EndsWhenTheTopEdgeReaches800) {
    IntroSlide slide;
    slide.started = true;
    slide.frameStep = 10;
    slide.y = 796;
    EXPECT_FALSE(advanceIntroSlide(slide, 3000));
    EXPECT_EQ(799, slide.y);
    EXPECT_TRUE(advanceIntroSlide(slide, 3020));
    EXPECT_EQ(802, slide.y);

    IntroSlide exact;
    exact.started = true;
    exact.frameStep = 10;
    exact.y = 797;
    EXPECT_TRUE(advanceIntroSlide(exact, 3000)) << "800 itself ends the slide";
}

TEST(IntroScreen, TwentyMsPassesSlideThreePixelsAPassThenHold) {
    // Passes start at 0, 20, 40...; the first with more than 2000 ms is pass
    // 101, and 300 passes of 3 bring -100 to 800 in pass 400.
    IntroRun r;
    r.run();
    EXPECT_EQ(401, r.s.passes);
    EXPECT_EQ(withHold(401), r.s.delays);

    // The last pass drew the title alone on black: nothing of the slid
    // pictures is left on the display.
    SDL_Surface* display = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, display);
    const Uint32 black = SDL_MapRGB(display->format, 0, 0, 0);
    for (int y : {0, 300, 600, 767}) EXPECT_EQ(black, pixelAt(display, 5, y)) << "row " << y;
    EXPECT_EQ(black, pixelAt(display, 1023, 767));
}

TEST(IntroScreen, FortyMsPassesSlideSixPixelsAPass) {
    // Passes start at 0, 40, 80...; pass 51 (2040 ms) starts the slide and
    // 150 passes of 6 end it in pass 200.
    IntroRun r;
    r.run([](ScriptedIo& io, int) { io.now += 20; });
    EXPECT_EQ(201, r.s.passes);
    EXPECT_EQ(withHold(201), r.s.delays);
}

TEST(IntroScreen, ReturnButtonOrClosedWindowEndAfterThePassWithoutTheHold) {
    IntroRun held;
    held.s.buttons = SDL_BUTTON(1);  // held while the program starts
    held.run();
    EXPECT_EQ(1, held.s.passes);
    EXPECT_EQ(passWaits(1), held.s.delays);

    IntroRun rightButton;
    rightButton.run([](ScriptedIo& io, int pass) {
        if (pass == 3) io.buttons = SDL_BUTTON(3);
        if (pass == 6) io.buttons = SDL_BUTTON(1) | SDL_BUTTON(3);
    });
    EXPECT_EQ(7, rightButton.s.passes) << "only the left button counts";

    IntroRun returnKey;
    returnKey.run([](ScriptedIo& io, int pass) {
        if (pass == 250) io.keys = {SDLK_RETURN};  // mid-slide
        if (pass == 100) io.keys = {SDLK_ESCAPE};  // not a way out here
    });
    EXPECT_EQ(251, returnKey.s.passes);
    EXPECT_EQ(passWaits(251), returnKey.s.delays);

    IntroRun closed;
    closed.run([](ScriptedIo& io, int pass) {
        if (pass == 30) {
            io.pushQuit();
            io.pushMotion(10, 10);
        }
    });
    EXPECT_EQ(31, closed.s.passes);
    EXPECT_EQ(passWaits(31), closed.s.delays);
    EXPECT_TRUE(closed.s.events.empty()) << "the intro takes the quit event";
}

TEST(IntroScreen, ReturnInTheLastPassDoesNotSpareTheHold) {
    IntroRun last;
    last.run([](ScriptedIo& io, int pass) {
        if (pass == 400) io.keys = {SDLK_RETURN};
    });
    EXPECT_EQ(401, last.s.passes);
    EXPECT_EQ(withHold(401), last.s.delays);

    IntroRun before;
    before.run([](ScriptedIo& io, int pass) {
        if (pass == 399) io.keys = {SDLK_RETURN};
    });
    EXPECT_EQ(400, before.s.passes);
    EXPECT_EQ(passWaits(400), before.s.delays);
}

TEST(IntroScreen, SlideSpeedFollowsEachPassLength) {
    // Even passes last 20 ms, odd ones 60: steps of 10 and 30, moves of 3
    // and 9. Pass 2k starts at 80k ms, so pass 50 (2000 ms) does not start
    // the slide and pass 51 (2020 ms, after the 20 ms pass 50) moves 3.
    IntroRun r;
    r.run([](ScriptedIo& io, int pass) {
        if (pass % 2 == 1) io.now += 40;
    });
    // From pass 51 on: 3, 9, 3, 9, ...; 12 every two passes reaches 800
    // after 150 passes, in pass 200 (after 149 it stands at 791).
    EXPECT_EQ(201, r.s.passes);
    EXPECT_EQ(withHold(201), r.s.delays);
}

// While the screen holds, it shows the pass before the last, in which the
// pictures' top edge stood just above 800; with long passes it stands inside
// the display, and whatever their top rows hold shows under the title for
// 1.5 s. Those rows must be as black as the ground, at any pass length.
TEST(IntroScreen, TheHoldShowsNothingOfTheSlidPicturesAtAnyPassLength) {
    const int titleBottom = 7 + 300;
    // From about 220 ms a pass the top edge can stop inside the display.
    for (int passMs : {20, 200, 220, 240, 260, 280, 300, 320, 340, 360, 380, 400, 420, 440}) {
        SCOPED_TRACE(passMs);
        int lit = -1;  // lit pixels under the title in the picture on show
        IntroRun r;
        r.run([&](ScriptedIo& io, int) {
            io.now += passMs - 20;
            SDL_Surface* display = SDL_GetVideoSurface();
            const Uint32 black = SDL_MapRGB(display->format, 0, 0, 0);
            lit = 0;
            SDL_LockSurface(display);
            for (int y = titleBottom; y < 768; ++y) {
                const Uint32* row = static_cast<const Uint32*>(display->pixels) + y * display->pitch / 4;
                for (int x = 0; x < 1024; ++x) lit += row[x] != black;
            }
            SDL_UnlockSurface(display);
        });
        ASSERT_EQ(1500u, r.s.delays.at(r.s.delays.size() - 2)) << "the run ended with the hold";
        EXPECT_EQ(0, lit);
    }
}

