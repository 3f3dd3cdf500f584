// The credits screen: its Back target and the three ways out, none gated.
#include <gtest/gtest.h>

#include <cstdlib>

#include "scripted_io.h"
#include "sdl_video_env.h"
#include "screens/credits.h"
#include "screens/screens.h"

namespace {

::testing::Environment* const kSdl = ::testing::AddGlobalTestEnvironment(new SdlVideo);

struct CreditsRun {
    ScriptedIo s;
    int result = -1;
    void run(PassScript script) {
        result = runScripted(s, 500, script,
                             [](const GameIo& io) { return runCreditsScreen(0, nullptr, io); });
    }
};

}  // namespace

TEST(CreditsBack, StrictBoundsOnEverySide) {
    EXPECT_TRUE(creditsBackHit(55, 750));
    EXPECT_TRUE(creditsBackHit(11, 731));
    EXPECT_TRUE(creditsBackHit(99, 767));
    EXPECT_FALSE(creditsBackHit(10, 750));
    EXPECT_FALSE(creditsBackHit(100, 750));
    EXPECT_FALSE(creditsBackHit(55, 730));
    EXPECT_FALSE(creditsBackHit(55, 768));
    EXPECT_FALSE(creditsBackHit(25, 25)) << "the hot spot a visit starts with";
    EXPECT_FALSE(creditsBackHit(950, 750)) << "where the options' Credits label is";
}

TEST(CreditsVisit, BackLeavesWithNoGateOnePassAfterTheMove) {
    // The clock stays near 0: a 500 ms gate would hold every click back.
    CreditsRun r;
    r.run([](ScriptedIo& io, int pass) {
        if (pass == 0) io.pushMotion(30, 725);  // hot spot (55, 750)
        io.buttons = SDL_BUTTON(1);
    });
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(2, r.s.passes) << "the first pass still tests the hot spot (25, 25)";
    EXPECT_LT(r.s.now, 500);
}

TEST(CreditsVisit, ButtonHeldFromTheOptionsDoesNotLeave) {
    CreditsRun r;
    r.run([](ScriptedIo& io, int pass) {
        io.buttons = SDL_BUTTON(1);
        if (pass == 10) io.pushMotion(925, 725);  // onto where "Credits" was: not Back
        if (pass == 20) io.keys = {SDLK_ESCAPE};
    });
    EXPECT_EQ(21, r.s.passes);
}

TEST(CreditsVisit, HotSpotOnTheRightOrLowerBoundDoesNotLeave) {
    CreditsRun r;
    r.run([](ScriptedIo& io, int pass) {
        io.buttons = SDL_BUTTON(1);
        if (pass == 0) io.pushMotion(75, 725);   // hot spot x 100
        if (pass == 3) io.pushMotion(30, 743);   // hot spot y 768
        if (pass == 6) io.pushMotion(74, 742);   // just inside
    });
    EXPECT_EQ(8, r.s.passes);
}

TEST(CreditsVisit, EscapeAndAClosedWindowLeaveInTheFirstPass) {
    CreditsRun escape;
    escape.run([](ScriptedIo& io, int) { io.keys = {SDLK_ESCAPE}; });
    EXPECT_EQ(1, escape.s.passes);
    EXPECT_EQ(0, escape.result);

    CreditsRun closed;
    closed.run([](ScriptedIo& io, int pass) {
        if (pass == 0) {
            io.pushQuit();
            io.pushMotion(300, 300);
        }
    });
    EXPECT_EQ(1, closed.s.passes);
    EXPECT_TRUE(closed.s.events.empty()) << "the screen takes the quit event and the rest of the queue";
}

TEST(CreditsVisit, EachPassLastsAtLeastTenMilliseconds) {
    CreditsRun r;
    r.run([](ScriptedIo& io, int pass) {
        if (pass == 5) io.keys = {SDLK_ESCAPE};
    });
    EXPECT_EQ(std::vector<uint32_t>(6, 10), r.s.delays);
}
