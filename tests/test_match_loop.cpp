// The match's frame loop run whole, headless: SDL's dummy video and audio
// drivers stand in for the screen and the sound card, the scripted platform
// for the clock and the input.
#include <gtest/gtest.h>

#include <vector>

#include "match/match.h"
#include "scripted_io.h"
#include "sdl_video_env.h"

namespace {

struct FrameRecord {
    int frameStep;
    int pointerX, pointerY;
    bool matchOver;
    bool aiming;
    bool inFlight;
    bool onTarget;
    int ballX, ballY, shadowY;
};

class MatchLoop : public SdlVideoTest {
protected:

    int play(PassScript script, int fieldKind = 1) {
        s.afterFrame = [this](ScriptedIo&, const MatchState& m) {
            frames.push_back({m.frameStep, m.pointerX, m.pointerY, m.matchOver, m.aiming,
                              m.playerBallInFlight, m.shotOnTarget, m.ballX, m.ballY, m.shadowY});
        };
        return runScripted(s, 2000, script, [fieldKind](const GameIo& io) {
            return runMatch(0, nullptr, fieldKind, 1, 6, 6, 6, io);
        });
    }

    ScriptedIo s;
    std::vector<FrameRecord> frames;
};


}  // namespace

TEST_F(MatchLoop, EscapeCompletesTheFrameThenReturns) {
    EXPECT_EQ(0, play([](ScriptedIo& io, int) { io.keys = {SDLK_ESCAPE}; }));
    ASSERT_EQ(1u, frames.size());
    EXPECT_TRUE(frames[0].matchOver);
    EXPECT_EQ(1u, s.seeds.size());
}

TEST_F(MatchLoop, ClosingTheWindowEndsTheMatchAfterThatFrame) {
    play([](ScriptedIo& io, int pass) {
        if (pass == 3) io.pushQuit();
    });
    EXPECT_EQ(4u, frames.size());
    EXPECT_TRUE(frames.back().matchOver);
}

TEST_F(MatchLoop, FrameStepIsHalfThePreviousFrame) {
    play([](ScriptedIo& io, int pass) {
        if (pass >= 1 && pass <= 3) io.now += 40;  // three slow frames, drawn in 40 ms each
        if (pass == 6) io.keys = {SDLK_ESCAPE};
    });
    ASSERT_EQ(7u, frames.size());
    EXPECT_EQ(5, frames[0].frameStep) << "a frame with no time of its own is stretched to 10 ms";
    EXPECT_EQ(20, frames[1].frameStep);
    EXPECT_EQ(20, frames[3].frameStep);
    EXPECT_EQ(5, frames[4].frameStep);
}

TEST_F(MatchLoop, ShortFramesAreStretchedToTenMilliseconds) {
    play([](ScriptedIo& io, int pass) {
        if (pass == 1) io.now += 3;
        if (pass == 2) io.now += 10;
        if (pass == 3) io.keys = {SDLK_ESCAPE};
    });
    ASSERT_GE(s.delays.size(), 2u);
    EXPECT_EQ(10u, s.delays[0]);
    EXPECT_EQ(7u, s.delays[1]);
    // The 10 ms frame needed no wait: only three waits for four frames.
    EXPECT_EQ(3u, s.delays.size());
}

TEST_F(MatchLoop, PointerFollowsTheLastMouseEventOfTheFrame) {
    play([](ScriptedIo& io, int pass) {
        if (pass == 1) {
            io.pushMotion(100, 200);
            io.pushButton(true, 1, 300, 400);
        }
        if (pass == 2) {
            SDL_Event key = {};
            key.type = SDL_KEYDOWN;
            key.key.keysym.sym = SDLK_a;
            io.events.push_back(key);
        }
        if (pass == 3) io.pushMotion(65535, 2);
        if (pass == 4) io.keys = {SDLK_ESCAPE};
    });
    ASSERT_EQ(5u, frames.size());
    EXPECT_EQ(0, frames[0].pointerX) << "no mouse event yet";
    EXPECT_EQ(300, frames[1].pointerX);
    EXPECT_EQ(400, frames[1].pointerY);
    EXPECT_EQ(300, frames[2].pointerX) << "a key event leaves the pointer alone";
    EXPECT_EQ(65535, frames[3].pointerX) << "event coordinates are unsigned 16-bit";
}

TEST_F(MatchLoop, RightButtonOpensTheAimInTheSameFrame) {
    play([](ScriptedIo& io, int pass) {
        io.buttons = SDL_BUTTON(3);
        if (pass == 2) io.keys = {SDLK_ESCAPE};
    });
    ASSERT_EQ(3u, frames.size());
    EXPECT_TRUE(frames[0].aiming);
}

TEST_F(MatchLoop, DrawsTheChosenFieldUnderTheFigures) {
    play([](ScriptedIo& io, int pass) {
        if (pass == 1) io.keys = {SDLK_ESCAPE};
    }, 3);
    SDL_Surface* display = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, display);
    SDL_Surface* street = SDL_LoadBMP("data/VMFeldStr.bmp");
    ASSERT_NE(nullptr, street);
    SDL_Surface* expected = SDL_ConvertSurface(street, display->format, SDL_SWSURFACE);
    // A corner of the field is covered by nothing else.
    EXPECT_EQ(pixelAt(expected, 3, 400), pixelAt(display, 3, 400));
    EXPECT_EQ(pixelAt(expected, 1020, 300), pixelAt(display, 1020, 300));
    SDL_FreeSurface(expected);
    SDL_FreeSurface(street);
}

TEST_F(MatchLoop, AnUnknownFieldKindPlaysOnTheStandardField) {
    EXPECT_EQ(0, play([](ScriptedIo& io, int) { io.keys = {SDLK_ESCAPE}; }, 9));
    SDL_Surface* display = SDL_GetVideoSurface();
    SDL_Surface* standard = SDL_LoadBMP("data/VMFeld.bmp");
    ASSERT_NE(nullptr, standard);
    SDL_Surface* expected = SDL_ConvertSurface(standard, display->format, SDL_SWSURFACE);
    EXPECT_EQ(pixelAt(expected, 3, 400), pixelAt(display, 3, 400));
    SDL_FreeSurface(expected);
    SDL_FreeSurface(standard);
}

TEST_F(MatchLoop, ASecondMatchReseedsAndDrawsNewCpuClubs) {
    s.now = 1000;
    play([](ScriptedIo& io, int) { io.keys = {SDLK_ESCAPE}; });
    s.now = 2000;
    s.randoms = {};
    play([](ScriptedIo& io, int) { io.keys = {SDLK_ESCAPE}; });
    ASSERT_EQ(2u, s.seeds.size());
    EXPECT_NE(s.seeds[0], s.seeds[1]);
}

// A whole shot through the real loop: aim low in the left half, charge
// briefly, let go; the ball climbs, curves right and rises off its shadow.
TEST_F(MatchLoop, ALowLeftShotClimbsCurvesRightAndLifts) {
    play([](ScriptedIo& io, int pass) {
        if (pass == 1) io.pushMotion(395, 445);  // crosshair centre (420, 470)
        if (pass == 2) io.buttons = SDL_BUTTON(3);
        if (pass >= 3 && pass < 40) io.buttons = SDL_BUTTON(1);
        if (pass == 40) io.buttons = 0;
        if (pass == 80) io.keys = {SDLK_ESCAPE};
    });
    ASSERT_EQ(81u, frames.size());
    EXPECT_TRUE(frames[2].aiming);
    EXPECT_FALSE(frames[40].aiming) << "letting go releases the shot";
    EXPECT_TRUE(frames[40].inFlight);
    EXPECT_TRUE(frames[40].onTarget);
    const FrameRecord& later = frames[80];
    EXPECT_LT(later.ballY, 650 - 100);
    EXPECT_GT(later.ballX, 500 + 50) << "the left half curves the ball to the right";
    EXPECT_GT(later.shadowY - later.ballY, 5) << "lift raises the ball off its shadow";
}
