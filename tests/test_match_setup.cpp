// Match set-up, the draw-stage read-back rules and the shared walk-back rule.
#include <gtest/gtest.h>

#include <SDL.h>

#include "match/walk.h"
#include "platform/i_video.h"
#include "scripted_io.h"

TEST(AimDriftRate, FollowsThePrecisionTable) {
    const int expected[11] = {10, 9, 8, 7, 6, 5, 2, 3, 2, 1, 0};
    for (int precision = 0; precision <= 10; ++precision)
        EXPECT_EQ(expected[precision], aimDriftRateFor(precision)) << "precision " << precision;
    // Outside the table the value passes unchanged.
    for (int precision : {-100, -1, 11, 12, 1000}) EXPECT_EQ(precision, aimDriftRateFor(precision));
}

TEST(AimDriftRate, TheFourClubsDriftAtTwoFiveFiveAndZero) {
    EXPECT_EQ(2, aimDriftRateFor(6));
    EXPECT_EQ(5, aimDriftRateFor(5));
    EXPECT_EQ(0, aimDriftRateFor(10));
}

TEST(MatchSetUp, SeedsFromTheClockAndDrawsTheCpuClubFirst) {
    ScriptedIo s;
    s.now = 4321;
    s.randoms = {7, 13, 99};
    MatchState m;
    m.cpuScore = 6.5f;  // leftovers must not survive into a new match
    m.ballX = -7;
    setUpMatchState(m, s.matchIo(), 3, 2, 10, 5, 5);
    ASSERT_EQ(1u, s.seeds.size());
    EXPECT_EQ(4321u, s.seeds[0]);
    EXPECT_EQ(7 % 5 + 5, m.cpuClubSpeed);
    EXPECT_EQ(13 % 5 + 5, m.cpuClubHeight);
    EXPECT_EQ(2, s.randomDraws) << "only the two club draws happen at set-up";
    EXPECT_EQ(3, m.fieldKind);
    EXPECT_EQ(2, m.enemyLevel);
    EXPECT_EQ(10, m.clubHeight);
    EXPECT_EQ(5, m.clubSpeed);
    EXPECT_EQ(5, m.aimDriftRate);
    EXPECT_EQ(0.0f, m.cpuScore);
}

TEST(MatchSetUp, CpuClubValuesStayWithinFiveToNine) {
    for (int raw : {0, 1, 4, 5, 9, 2147483647}) {
        ScriptedIo s;
        s.randoms = {raw, raw};
        MatchState m;
        setUpMatchState(m, s.matchIo(), 1, 1, 6, 6, 6);
        EXPECT_GE(m.cpuClubSpeed, 5);
        EXPECT_LE(m.cpuClubSpeed, 9);
        EXPECT_EQ(m.cpuClubSpeed, m.cpuClubHeight);
    }
}

TEST(MatchSetUp, InitialStateMatchesTheStartOfARally) {
    ScriptedIo s;
    MatchState m;
    setUpMatchState(m, s.matchIo(), 1, 1, 6, 6, 6);
    EXPECT_FALSE(m.matchOver);
    EXPECT_EQ(0, m.frameStep);
    EXPECT_TRUE(m.readyToAim);
    EXPECT_FALSE(m.aiming);
    EXPECT_TRUE(m.messageArmed);
    EXPECT_EQ(450, m.cpuX);
    EXPECT_EQ(450, m.playerX);
    EXPECT_EQ(500, m.ballX);
    EXPECT_EQ(650, m.ballY);
    EXPECT_EQ(650, m.shadowY);
    EXPECT_EQ(525, m.ballCentreX);
    EXPECT_EQ(675, m.ballCentreY);
    EXPECT_EQ(301, m.barCoverX);
    EXPECT_EQ(270, m.crosshairX);
    EXPECT_EQ(220, m.crosshairY);
    EXPECT_EQ(270, m.crosshairRect.x);
    EXPECT_EQ(220, m.crosshairRect.y);
    EXPECT_EQ(0, m.cpuBlockRoll) << "a ball reaching the CPU before any roll is blocked";
    EXPECT_EQ(0, m.flightSpeed);
    EXPECT_EQ(0, m.pointerX);
    EXPECT_EQ(0, m.pointerY);
    EXPECT_STREQ("0", m.cpuScoreText);
}

TEST(DrawPositions, BallCentreComesFromThisFramesPosition) {
    MatchState m;
    m.ballX = -30;
    m.ballY = 1290;
    refreshDrawPositions(m);
    EXPECT_EQ(-5, m.ballCentreX);
    EXPECT_EQ(1315, m.ballCentreY);
}

TEST(DrawPositions, CrosshairCentreLagsOneRectangleBehind) {
    MatchState m;
    m.crosshairRect.x = 100;
    m.crosshairRect.y = 200;
    m.crosshairX = 600;
    m.crosshairY = 400;
    refreshDrawPositions(m);
    EXPECT_EQ(125, m.crosshairCentreX) << "centre from the rectangle the last frame drew";
    EXPECT_EQ(225, m.crosshairCentreY);
    EXPECT_EQ(600, m.crosshairRect.x);
    EXPECT_EQ(400, m.crosshairRect.y);
    m.crosshairX = 10;
    refreshDrawPositions(m);
    EXPECT_EQ(625, m.crosshairCentreX);
    refreshDrawPositions(m);
    EXPECT_EQ(35, m.crosshairCentreX);
}

// The game's blit clips the rectangle at the left and top edges; that
// clipped position is what the next frame reads back.
TEST(DrawPositions, ClippedCrosshairCountsAtTheScreenEdge) {
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
    SDL_Surface* display = SDL_SetVideoMode(1024, 768, 32, 0);
    ASSERT_NE(nullptr, display);
    SDL_Surface* crosshair = SDL_CreateRGBSurface(SDL_SWSURFACE, 51, 51, 32, 0, 0, 0, 0);
    MatchState m;
    m.crosshairX = -20;
    m.crosshairY = -40;
    refreshDrawPositions(m);
    blitAtRect(crosshair, display, &m.crosshairRect);
    refreshDrawPositions(m);
    EXPECT_EQ(25, m.crosshairCentreX);
    EXPECT_EQ(25, m.crosshairCentreY);
    // Beyond the right and bottom edges nothing is clipped back.
    m.crosshairX = 1100;
    m.crosshairY = 800;
    refreshDrawPositions(m);
    blitAtRect(crosshair, display, &m.crosshairRect);
    refreshDrawPositions(m);
    EXPECT_EQ(1125, m.crosshairCentreX);
    EXPECT_EQ(825, m.crosshairCentreY);
    SDL_FreeSurface(crosshair);
    SDL_Quit();
}

// Every walk back ends, whatever the frame time, inside 445..455.
TEST(WalkBack, EndsInTheBandForEveryFrameStep) {
    for (int frameStep = 0; frameStep <= 60; ++frameStep) {
        for (int start : {-300, 0, 100, 444, 456, 700, 1100, 5000}) {
            int pos = start;
            int frames = 0;
            while (!walkTowardCentre(pos, frameStep)) {
                ASSERT_LT(++frames, 6000) << "frameStep " << frameStep << " from " << start;
            }
            EXPECT_GE(pos, 445);
            EXPECT_LE(pos, 455);
        }
    }
}

TEST(WalkBack, StepIsHalfTheFrameStepButNeverZero) {
    int pos = 100;
    walkTowardCentre(pos, 20);
    EXPECT_EQ(110, pos);
    pos = 100;
    walkTowardCentre(pos, 1);
    EXPECT_EQ(101, pos) << "a short frame still makes progress";
    pos = 800;
    walkTowardCentre(pos, 3);
    EXPECT_EQ(799, pos);
    pos = 440;
    walkTowardCentre(pos, 60);
    EXPECT_EQ(455, pos) << "a long step stops at the far edge of the band";
    pos = 470;
    walkTowardCentre(pos, 60);
    EXPECT_EQ(445, pos);
    pos = 450;
    EXPECT_TRUE(walkTowardCentre(pos, 60));
    EXPECT_EQ(450, pos);
}
