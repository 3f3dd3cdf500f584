#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "loaded_sdl.h"
#include "platform/i_video.h"
#include "scripted_io.h"
#include "sdl_video_env.h"

namespace {

constexpr uint8_t kLeft = 1;
constexpr uint8_t kRight = 4;

// A state in the middle of a charge: the aim is open and the left button
// has been held, so the next frame without it releases the shot.
MatchState chargingState(int barCoverX) {
    MatchState m;
    m.aiming = true;
    m.readyToAim = false;
    m.chargeStarted = true;
    m.barCoverX = barCoverX;
    m.aimDriftRate = 0;
    // A crosshair centre on target that neither lift band covers, so the
    // power comes from the bar alone.
    m.crosshairCentreX = 338;
    m.crosshairCentreY = 300;
    return m;
}

// Stages 4 and 6 of one frame.
void aimFrame(MatchState& m, const MatchIo& io) {
    openAim(m, io);
    aimStep(m, io);
}

TEST(OpenAim, RightButtonOpensOnlyWhileReady) {
    struct Case {
        uint8_t buttons;
        bool ready;
        bool opens;
    };
    const Case cases[] = {
        {kRight, true, true},  {kRight | kLeft, true, true}, {kLeft, true, false},
        {0, true, false},      {kRight, false, false},
    };
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        s.buttons = c.buttons;
        MatchState m;
        m.readyToAim = c.ready;
        openAim(m, io);
        EXPECT_EQ(c.opens, m.aiming) << int(c.buttons) << " ready " << c.ready;
        EXPECT_EQ(c.ready && !c.opens, m.readyToAim) << int(c.buttons) << " ready " << c.ready;
    }
}

TEST(AimStep, BothButtonsAtTheOpeningChargeInTheSameFrame) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.buttons = kRight | kLeft;
    s.randoms = {4};  // direction 5: right
    MatchState m;
    m.frameStep = 10;
    m.aimDriftRate = 5;
    m.pointerX = 600;
    m.pointerY = 400;
    aimFrame(m, io);
    EXPECT_TRUE(m.aiming);
    EXPECT_TRUE(m.charging);
    EXPECT_TRUE(m.chargeStarted);
    EXPECT_EQ(305, m.barCoverX);
    EXPECT_EQ(5, m.driftDirection);
    // The first charging frame places the crosshair on the pointer, then grows the drift.
    EXPECT_EQ(600, m.crosshairX);
    EXPECT_EQ(400, m.crosshairY);
    EXPECT_EQ(5, m.aimDriftX);
    EXPECT_EQ(5, m.aimDriftY);
}

TEST(AimStep, BeforeChargingEverythingStartsAfreshEachFrame) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    m.aiming = true;
    m.readyToAim = false;
    m.frameStep = 10;
    m.aimDriftRate = 5;
    m.power = 7;
    m.lift = 3;
    m.curve = 4;
    m.curveSide = 2;
    m.aimDriftX = m.aimDriftY = 40;
    m.barCoverX = 500;
    m.ballX = 123;
    m.ballY = 77;
    m.shadowY = 99;
    m.pointerX = 410;
    m.pointerY = 330;
    s.randoms = {0, 7, 2};
    aimStep(m, io);
    EXPECT_EQ(0, m.power);
    EXPECT_EQ(0, m.lift);
    EXPECT_EQ(0, m.curve);
    EXPECT_EQ(2, m.curveSide);  // untouched until the release decides it
    EXPECT_EQ(0, m.aimDriftX);
    EXPECT_EQ(0, m.aimDriftY);
    EXPECT_EQ(301, m.barCoverX);
    EXPECT_EQ(1, m.driftDirection);
    EXPECT_EQ(410, m.crosshairX);
    EXPECT_EQ(330, m.crosshairY);
    EXPECT_EQ(500, m.ballX);
    EXPECT_EQ(650, m.ballY);
    EXPECT_EQ(650, m.shadowY);
    EXPECT_FALSE(m.released);

    // A direction is drawn every frame until the left button is held; the
    // one of the first charging frame stays for the whole charge.
    aimStep(m, io);
    EXPECT_EQ(8, m.driftDirection);
    s.buttons = kLeft;
    aimStep(m, io);
    EXPECT_EQ(3, m.driftDirection);
    aimStep(m, io);
    aimStep(m, io);
    EXPECT_EQ(3, m.driftDirection);
    EXPECT_EQ(3, s.randomDraws);
}

// The crosshair two charging frames in: the first frame puts it on the
// pointer, the second moves it by the drift grown in the first.
struct DriftCase {
    int direction;
    int x, y;
};

class DriftDirection : public ::testing::TestWithParam<DriftCase> {};

TEST_P(DriftDirection, CrosshairLeavesThePointerThatWay) {
    const DriftCase c = GetParam();
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.buttons = kLeft;
    s.randoms = {c.direction - 1};
    MatchState m;
    m.aiming = true;
    m.readyToAim = false;
    m.frameStep = 7;
    m.aimDriftRate = 5;  // 5 x 7 / 10 = 3 a frame
    m.pointerX = 500;
    m.pointerY = 400;
    aimStep(m, io);
    EXPECT_EQ(500, m.crosshairX);
    EXPECT_EQ(400, m.crosshairY);
    m.pointerX = 510;
    m.pointerY = 420;
    aimStep(m, io);
    EXPECT_EQ(c.x, m.crosshairX);
    EXPECT_EQ(c.y, m.crosshairY);
    EXPECT_EQ(6, m.aimDriftX);
    EXPECT_EQ(6, m.aimDriftY);
}

INSTANTIATE_TEST_SUITE_P(AllEight, DriftDirection,
                         ::testing::Values(DriftCase{1, 513, 423}, DriftCase{2, 507, 417},
                                           DriftCase{3, 513, 417}, DriftCase{4, 507, 423},
                                           DriftCase{5, 513, 420}, DriftCase{6, 507, 420},
                                           DriftCase{7, 510, 423}, DriftCase{8, 510, 417}));

TEST(AimStep, RateZeroKeepsTheCrosshairOnThePointer) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.buttons = kLeft;
    s.randoms = {0};
    MatchState m;
    m.aiming = true;
    m.frameStep = 40;
    m.aimDriftRate = 0;
    for (int i = 0; i < 5; ++i) {
        m.pointerX = 400 + 10 * i;
        m.pointerY = 300 + i;
        aimStep(m, io);
        EXPECT_EQ(m.pointerX, m.crosshairX);
        EXPECT_EQ(m.pointerY, m.crosshairY);
    }
}

TEST(AimStep, CoverMovesFourTenthsOfTheFrameStep) {
    struct Case {
        int frameStep, cover;
    };
    // 4 x 2 / 10 truncates to 0: a short frame leaves the cover where it was.
    const Case cases[] = {{0, 301}, {2, 301}, {3, 302}, {5, 303}, {24, 310}, {25, 311}};
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        s.buttons = kLeft;
        MatchState m = chargingState(301);
        m.frameStep = c.frameStep;
        aimStep(m, io);
        EXPECT_EQ(c.cover, m.barCoverX) << "frameStep " << c.frameStep;
        EXPECT_FALSE(m.released);
    }
}

TEST(Release, PowerFromTheCoverWhenTheButtonGoesUp) {
    struct Case {
        int cover, power;
    };
    const Case cases[] = {{301, 0}, {339, 0}, {340, 1}, {379, 1},
                          {380, 2}, {699, 9}, {700, 10}, {720, 10}};
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        MatchState m = chargingState(c.cover);
        m.frameStep = 30;  // the cover does not move without the button
        aimStep(m, io);
        EXPECT_TRUE(m.released) << "cover " << c.cover;
        EXPECT_EQ(c.cover, m.barCoverX);
        EXPECT_EQ(c.power, m.power) << "cover " << c.cover;
    }
}

TEST(Release, PassingTheBarEndReleasesWhileTheButtonIsHeld) {
    struct Case {
        int coverBefore, frameStep;
        bool released;
        int cover, power;
    };
    const Case cases[] = {
        {719, 3, false, 720, 0},   // reaching 720 is not passing it
        {720, 3, true, 721, 10},
        {719, 50, true, 739, 10},
        {720, 50, true, 740, 11},  // a long frame carries the cover a bar further
    };
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        s.buttons = kLeft;
        MatchState m = chargingState(c.coverBefore);
        m.power = 0;
        m.frameStep = c.frameStep;
        aimStep(m, io);
        EXPECT_EQ(c.cover, m.barCoverX);
        EXPECT_EQ(c.released, m.released) << "cover " << c.cover;
        EXPECT_EQ(c.released, m.playerBallInFlight);
        EXPECT_EQ(!c.released, m.aiming);
        if (c.released) { EXPECT_EQ(c.power, m.power) << "cover " << c.cover; }
    }
}

TEST(Release, HandsTheShotOverAndDoesNotReopenTheAim) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.now = 4321;
    MatchState m = chargingState(500);
    aimStep(m, io);
    EXPECT_TRUE(m.playerBallInFlight);
    EXPECT_EQ(4321, m.shotStart);
    EXPECT_FALSE(m.aiming);
    EXPECT_FALSE(m.chargeStarted);
    EXPECT_FALSE(m.charging);
    EXPECT_EQ(5, m.power);

    // Still holding both buttons: nothing opens until a walk back ends.
    s.buttons = kRight | kLeft;
    const std::vector<int> playedBefore = s.played;
    aimFrame(m, io);
    EXPECT_FALSE(m.aiming);
    EXPECT_EQ(playedBefore, s.played);
}

// The window's verdict at the crosshair centre, starting from what the aim
// step leaves before a release: lift and curve 0, bar power 8.
struct WindowCase {
    int cx, cy;
    bool onTarget;
    int side, curve, lift, power;
};

class TargetWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(TargetWindow, Verdict) {
    const WindowCase c = GetParam();
    MatchState m;
    m.power = 8;
    m.lift = 0;
    m.curve = 0;
    m.curveSide = 0;
    m.shotOnTarget = !c.onTarget;
    m.crosshairCentreX = c.cx;
    m.crosshairCentreY = c.cy;
    evaluateTargetWindow(m);
    EXPECT_EQ(c.onTarget, m.shotOnTarget);
    EXPECT_EQ(c.side, m.curveSide);
    EXPECT_EQ(c.curve, m.curve);
    EXPECT_EQ(c.lift, m.lift);
    EXPECT_EQ(c.power, m.power);
}

INSTANTIATE_TEST_SUITE_P(
    AcrossX, TargetWindow,
    ::testing::Values(WindowCase{335, 300, false, 0, 0, 0, 8},
                      WindowCase{336, 300, true, 1, 10, 0, 8},
                      WindowCase{340, 300, true, 1, 10, 0, 8},  // left of the bands
                      WindowCase{341, 300, true, 1, 10, 0, 5},
                      WindowCase{484, 300, true, 1, 1, 0, 5},
                      WindowCase{485, 300, false, 0, 0, 0, 5},  // the middle column
                      WindowCase{486, 300, true, 2, 0, 0, 5},
                      WindowCase{500, 300, true, 2, 1, 0, 5},
                      WindowCase{639, 300, true, 2, 10, 0, 5},
                      WindowCase{640, 300, true, 2, 10, 0, 8},  // right of the bands
                      WindowCase{684, 300, true, 2, 13, 0, 8},
                      WindowCase{685, 300, false, 0, 0, 0, 8}));

INSTANTIATE_TEST_SUITE_P(
    AcrossY, TargetWindow,
    ::testing::Values(WindowCase{400, 180, false, 0, 0, 0, 8},
                      WindowCase{400, 181, false, 0, 0, 0, 5},  // upper band above the halves
                      WindowCase{400, 245, false, 0, 0, 0, 5},
                      WindowCase{400, 246, true, 1, 6, 0, 5},
                      WindowCase{400, 379, true, 1, 6, 0, 5},
                      WindowCase{400, 380, true, 1, 6, 0, 8},  // between the bands
                      WindowCase{400, 381, true, 1, 6, 0, 8},
                      WindowCase{400, 419, true, 1, 6, 1, 8},
                      WindowCase{400, 420, true, 1, 6, 2, 8},
                      WindowCase{400, 579, true, 1, 6, 9, 8},
                      WindowCase{400, 580, false, 0, 0, 0, 8}));

// One column per index of the left half: the table's 2 at index 6.
INSTANTIATE_TEST_SUITE_P(
    LeftHalfColumns, TargetWindow,
    ::testing::Values(WindowCase{349, 500, true, 1, 10, 6, 8},
                      WindowCase{350, 500, true, 1, 9, 6, 8},
                      WindowCase{365, 500, true, 1, 8, 6, 8},
                      WindowCase{380, 500, true, 1, 7, 6, 8},
                      WindowCase{395, 500, true, 1, 6, 6, 8},
                      WindowCase{410, 500, true, 1, 5, 6, 8},
                      WindowCase{424, 500, true, 1, 5, 6, 8},
                      WindowCase{425, 500, true, 1, 2, 6, 8},
                      WindowCase{440, 500, true, 1, 3, 6, 8},
                      WindowCase{455, 500, true, 1, 2, 6, 8},
                      WindowCase{470, 500, true, 1, 1, 6, 8}));

TEST(TargetWindowPower, UpperBandCanMakeThePowerNegative) {
    for (int bar = 0; bar <= 2; ++bar) {
        MatchState m;
        m.power = bar;
        m.crosshairCentreX = 450;
        m.crosshairCentreY = 300;
        evaluateTargetWindow(m);
        EXPECT_EQ(bar - 3, m.power);
        EXPECT_TRUE(m.shotOnTarget);
    }
}

TEST(ChargeSound, WaitsForTheChannelAndRestartsWhenItEnds) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    m.aiming = true;
    m.frameStep = 10;

    // Aiming without the left button silences the channel every frame:
    // a catch or zone sound still playing is cut off.
    s.busy = true;
    aimStep(m, io);
    aimStep(m, io);
    EXPECT_EQ(2, s.halts);
    EXPECT_TRUE(s.played.empty());

    // Charging starts the sound only on a free channel.
    s.buttons = kLeft;
    s.busy = true;  // another sound began in between
    aimStep(m, io);
    EXPECT_TRUE(s.played.empty());
    EXPECT_EQ(2, s.halts);
    s.busy = false;
    aimStep(m, io);
    EXPECT_EQ(std::vector<int>{SOUND_CHARGE}, s.played);
    aimStep(m, io);  // still playing: not started over
    EXPECT_EQ(std::vector<int>{SOUND_CHARGE}, s.played);
    s.busy = false;  // it ended while the button is held
    aimStep(m, io);
    EXPECT_EQ((std::vector<int>{SOUND_CHARGE, SOUND_CHARGE}), s.played);
    EXPECT_EQ(2, s.halts);

    // The release halts the charge sound, then the shot sounds.
    s.buttons = 0;
    aimStep(m, io);
    EXPECT_EQ(3, s.halts);
    EXPECT_EQ((std::vector<int>{SOUND_CHARGE, SOUND_CHARGE, SOUND_SHOT}), s.played);

    // Once the aim is closed the stage touches the channel no more.
    aimStep(m, io);
    EXPECT_EQ(3, s.halts);
    EXPECT_EQ(3u, s.played.size());
}

TEST(ChargeSound, ReleaseAtTheBarEndHaltsThenShoots) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.buttons = kLeft;
    s.busy = true;  // the charge sound is playing
    MatchState m = chargingState(718);
    m.frameStep = 10;
    aimStep(m, io);
    EXPECT_TRUE(m.released);
    EXPECT_EQ(1, s.halts);
    EXPECT_EQ(std::vector<int>{SOUND_SHOT}, s.played);
}

// The draw stage's part that matters here: the centre read back from the
// rectangle, then the rectangle refreshed and handed to the game's blit,
// which leaves it clipped at the left and top edges as classic SDL 1.2
// does, whichever SDL 1.2 runs the test.
class CrosshairDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
        display = SDL_SetVideoMode(1024, 768, 32, 0);
        ASSERT_NE(nullptr, display) << SDL_GetError();
        crosshair = SDL_CreateRGBSurface(SDL_SWSURFACE, 51, 51, 32, 0xff0000, 0xff00, 0xff, 0);
        ASSERT_NE(nullptr, crosshair);
        // A different colour at every pixel, to tell where each one landed.
        SDL_LockSurface(crosshair);
        for (int y = 0; y < 51; ++y)
            for (int x = 0; x < 51; ++x)
                static_cast<Uint32*>(crosshair->pixels)[y * crosshair->pitch / 4 + x] =
                    static_cast<Uint32>(0x010000 + x * 256 + y);
        SDL_UnlockSurface(crosshair);
    }
    static void TearDownTestSuite() {
        SDL_FreeSurface(crosshair);
        SDL_Quit();
    }
    static void draw(MatchState& m) {
        refreshDrawPositions(m);
        if (m.aiming) blitAtRect(crosshair, display, &m.crosshairRect);
    }
    static SDL_Surface* display;
    static SDL_Surface* crosshair;
};

SDL_Surface* CrosshairDraw::display = nullptr;
SDL_Surface* CrosshairDraw::crosshair = nullptr;

TEST_F(CrosshairDraw, ReleaseUsesTheCentreOfTwoFramesBefore) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    m.frameStep = 10;
    m.aimDriftRate = 0;
    s.randoms = {0};

    // Frame 1: the aim opens with the button held, the crosshair centred
    // over the left half (400, 300).
    s.buttons = kRight | kLeft;
    m.pointerX = 375;
    m.pointerY = 275;
    aimFrame(m, io);
    draw(m);

    // Frame 2: the pointer jumps off the window.
    s.buttons = kLeft;
    m.pointerX = 700;
    m.pointerY = 700;
    aimFrame(m, io);
    draw(m);
    EXPECT_EQ(400, m.crosshairCentreX);
    EXPECT_EQ(300, m.crosshairCentreY);

    // Frame 3: letting go judges the crosshair of frame 1, not of frame 2.
    s.buttons = 0;
    aimFrame(m, io);
    EXPECT_TRUE(m.released);
    EXPECT_TRUE(m.shotOnTarget);
    EXPECT_EQ(1, m.curveSide);
    EXPECT_EQ(6, m.curve);
    EXPECT_EQ(-3, m.power);  // bar power 0 less the upper band's 3
}

TEST_F(CrosshairDraw, ClippedAtTheLeftAndTopEdgesCountsAsZero) {
    struct Case {
        int x, y, centreX, centreY;
    };
    const Case cases[] = {
        // Partly beyond the left or top edge.
        {-20, -30, 25, 25}, {-50, 400, 25, 425}, {300, -1, 325, 25},
        // Wholly beyond it: the corner still moves onto the edge.
        {-200, 100, 25, 125}, {100, -51, 125, 25}, {-51, 400, 25, 425}, {-300, -900, 25, 25},
        {0, 0, 25, 25},
        // The right and bottom edges never move the corner.
        {1000, 740, 1025, 765}, {1100, 800, 1125, 825}, {-60, 900, 25, 925},
    };
    for (const Case& c : cases) {
        MatchState m;
        m.aiming = true;
        m.crosshairX = c.x;
        m.crosshairY = c.y;
        draw(m);
        draw(m);
        EXPECT_EQ(c.centreX, m.crosshairCentreX) << c.x << "," << c.y;
        EXPECT_EQ(c.centreY, m.crosshairCentreY) << c.x << "," << c.y;
    }
}

// Only the rectangle the rule reads is clipped: the library still draws the
// image where the unclipped rectangle says, its part beyond the edge cut off.
TEST_F(CrosshairDraw, PictureIsDrawnAtTheUnclippedPlace) {
    SDL_FillRect(display, nullptr, 0);
    MatchState m;
    m.aiming = true;
    m.crosshairX = -20;
    m.crosshairY = -30;
    draw(m);
    EXPECT_EQ(0, m.crosshairRect.x);
    EXPECT_EQ(0, m.crosshairRect.y);
    const Uint32 fromImage = SDL_MapRGB(display->format, 1, 20, 30);  // image pixel (20, 30)
    EXPECT_EQ(fromImage, pixelAt(display, 0, 0));
    EXPECT_EQ(SDL_MapRGB(display->format, 1, 50, 50), pixelAt(display, 30, 20));
    EXPECT_EQ(0u, pixelAt(display, 31, 0)) << "nothing drawn right of the image's last column";
}

// The game's rule against classic SDL 1.2's own blit, inside a clip
// rectangle that is not the whole display too. sdl12-compat leaves a
// rectangle that is wholly outside where it was from some version on
// (1.2.68 does, 1.2.60 does not), so there only the blits that draw
// something are compared.
TEST_F(CrosshairDraw, ClassicRuleAgreesWithTheLibrary) {
    const bool classic = std::string(loadedSdlKind()) == "classic";
    const int places[] = {-2000, -120, -51, -50, -1, 0, 1, 49, 50, 99, 100, 101, 640, 699,
                          700, 717, 718, 767, 768, 973, 974, 1023, 1024, 1100, 3000};
    const SDL_Rect clips[] = {{0, 0, 1024, 768}, {100, 50, 600, 400}};
    int compared = 0;
    for (const SDL_Rect& clip : clips) {
        SDL_Rect c = clip;
        SDL_SetClipRect(display, &c);
        for (int x : places) {
            for (int y : places) {
                const SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
                const SDL_Rect ours = classicBlitRect(at, 51, 51, display->clip_rect);
                if (!classic && ours.w == 0) continue;
                SDL_Rect library = at;
                SDL_BlitSurface(crosshair, nullptr, display, &library);
                ++compared;
                EXPECT_EQ(library.x, ours.x) << x << "," << y << " in clip " << clip.x;
                EXPECT_EQ(library.y, ours.y) << x << "," << y << " in clip " << clip.x;
                EXPECT_EQ(library.w, ours.w) << x << "," << y << " in clip " << clip.x;
                EXPECT_EQ(library.h, ours.h) << x << "," << y << " in clip " << clip.x;
            }
        }
    }
    SDL_SetClipRect(display, nullptr);
    EXPECT_GT(compared, 100);
}

TEST_F(CrosshairDraw, DriftPastTheEdgeIsJudgedAtTheEdge) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    m.aiming = true;
    m.frameStep = 10;
    m.aimDriftRate = 10;  // 10 pixels a frame
    s.randoms = {1};      // direction 2: up and left
    s.buttons = kLeft;
    m.pointerX = 5;
    m.pointerY = 8;
    for (int i = 0; i < 3; ++i) {
        aimStep(m, io);
        draw(m);
    }
    EXPECT_EQ(-15, m.crosshairX);
    EXPECT_EQ(-12, m.crosshairY);
    s.buttons = 0;
    aimStep(m, io);
    EXPECT_EQ(25, m.crosshairCentreX);
    EXPECT_EQ(25, m.crosshairCentreY);
    EXPECT_TRUE(m.released);
    EXPECT_FALSE(m.shotOnTarget);
}

}  // namespace
