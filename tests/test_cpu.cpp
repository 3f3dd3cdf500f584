// The CPU opponent: tendency counters, following the ball, block rolls, the
// block, the walk back and the serve.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "scripted_io.h"

namespace {

constexpr int32_t kT = 100000;  // far from every stamp of a fresh match

struct CpuTest : ::testing::Test {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;

    void SetUp() override { s.now = kT; }
    // A ball at (x, y) with its shadow height pixels below it.
    void ballAt(int x, int y, int height = 0) {
        m.ballX = x;
        m.ballY = y;
        m.shadowY = y + height;
    }
};

// --- Tendency counters -----------------------------------------------------

struct SideCase {
    int x, y;
    int right, left, centre;  // counters after one count from (1, 1, 0)
};

void PrintTo(const SideCase& c, std::ostream* os) { *os << "(" << c.x << ", " << c.y << ")"; }

struct SideCounts : CpuTest, ::testing::WithParamInterface<SideCase> {};

TEST_P(SideCounts, ZonesHaveStrictBounds) {
    const SideCase c = GetParam();
    m.rightShots = 1;
    m.leftShots = 1;
    ballAt(c.x, c.y, 50);  // a height that changes no height tendency
    countTendencies(m, io);
    EXPECT_EQ(c.right, m.rightShots);
    EXPECT_EQ(c.left, m.leftShots);
    EXPECT_EQ(c.centre, m.centreShots);
    const bool counted = c.right != 1 || c.left != 1 || c.centre != 0;
    EXPECT_EQ(counted ? kT : 0, m.lastSideCount);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, SideCounts,
    ::testing::Values(SideCase{681, 100, 2, 0, 0}, SideCase{889, 100, 2, 0, 0},
                      SideCase{680, 100, 1, 1, 0}, SideCase{890, 100, 1, 1, 0},
                      SideCase{131, 100, 0, 2, 0}, SideCase{339, 100, 0, 2, 0},
                      SideCase{130, 100, 1, 1, 0}, SideCase{340, 100, 1, 1, 0},
                      SideCase{431, 100, 1, 1, 1}, SideCase{599, 100, 1, 1, 1},
                      SideCase{430, 100, 1, 1, 0}, SideCase{600, 100, 1, 1, 0},
                      SideCase{500, 40, 1, 1, 0}, SideCase{500, 41, 1, 1, 1},
                      SideCase{500, 149, 1, 1, 1}, SideCase{500, 150, 1, 1, 0},
                      SideCase{380, 100, 1, 1, 0}, SideCase{640, 100, 1, 1, 0}));

struct HeightCase {
    int y, height;
    int tendency;  // after one test from 2
};

void PrintTo(const HeightCase& c, std::ostream* os) {
    *os << "y " << c.y << " height " << c.height;
}

struct HeightCounts : CpuTest, ::testing::WithParamInterface<HeightCase> {};

TEST_P(HeightCounts, LowAndHighBallsHaveStrictBounds) {
    const HeightCase c = GetParam();
    m.heightTendency = 2;
    ballAt(360, c.y, c.height);  // x outside every side zone
    countTendencies(m, io);
    EXPECT_EQ(c.tendency, m.heightTendency);
    EXPECT_EQ(c.tendency != 2 ? kT : 0, m.lastHeightCount);
}

INSTANTIATE_TEST_SUITE_P(Bounds, HeightCounts,
                         ::testing::Values(HeightCase{120, 39, 1}, HeightCase{120, 40, 2},
                                           HeightCase{120, 60, 2}, HeightCase{120, 61, 3},
                                           HeightCase{100, 0, 2}, HeightCase{101, 0, 1},
                                           HeightCase{149, 90, 3}, HeightCase{150, 90, 2}));

TEST_F(CpuTest, FourRightCountsThenTwoLeftLeaveBothAtTwo) {
    for (int i = 0; i < 4; ++i) {
        ballAt(700, 100);
        countTendencies(m, io);
        s.now += 1001;
    }
    EXPECT_EQ(4, m.rightShots);
    EXPECT_EQ(0, m.leftShots);
    for (int i = 0; i < 2; ++i) {
        ballAt(200, 100);
        countTendencies(m, io);
        s.now += 1001;
    }
    EXPECT_EQ(2, m.rightShots);
    EXPECT_EQ(2, m.leftShots);
}

TEST_F(CpuTest, OneSideGateForAllThreeZones) {
    ballAt(700, 100);
    countTendencies(m, io);
    ASSERT_EQ(1, m.rightShots);

    s.now = kT + 1000;  // not yet more than 1000 ms
    ballAt(500, 100);
    countTendencies(m, io);
    ballAt(200, 100);
    countTendencies(m, io);
    EXPECT_EQ(0, m.centreShots);
    EXPECT_EQ(0, m.leftShots);

    s.now = kT + 1001;
    countTendencies(m, io);
    EXPECT_EQ(1, m.leftShots);
    EXPECT_EQ(0, m.rightShots);
    EXPECT_EQ(kT + 1001, m.lastSideCount);
}

TEST_F(CpuTest, HeightGateIsSeparateAndClosesEvenAtTheBounds) {
    m.lastSideCount = kT;  // side gate closed: the height test must not care
    m.heightTendency = 5;
    ballAt(360, 120, 90);
    countTendencies(m, io);
    EXPECT_EQ(5, m.heightTendency);
    EXPECT_EQ(kT, m.lastHeightCount);

    s.now = kT + 1000;
    ballAt(360, 120, 0);
    countTendencies(m, io);
    EXPECT_EQ(5, m.heightTendency);
    s.now = kT + 1001;
    countTendencies(m, io);
    EXPECT_EQ(4, m.heightTendency);

    m.heightTendency = 0;
    s.now = kT + 5000;
    countTendencies(m, io);
    EXPECT_EQ(0, m.heightTendency);
    EXPECT_EQ(kT + 5000, m.lastHeightCount);
}

TEST_F(CpuTest, NothingIsCountedWhileTheCpuShotIsInFlight) {
    m.cpuBallInFlight = true;
    ballAt(700, 120, 90);
    countTendencies(m, io);
    EXPECT_EQ(0, m.rightShots);
    EXPECT_EQ(0, m.heightTendency);
}

TEST_F(CpuTest, BallWaitingForTheServeCountsForTheCentre) {
    m.cpuServePending = true;
    ballAt(450, 80);
    countTendencies(m, io);
    EXPECT_EQ(1, m.centreShots);
    EXPECT_EQ(0, m.heightTendency);  // y 80 is above the height band
    EXPECT_EQ(0, m.lastHeightCount);
}

// --- Following the ball ----------------------------------------------------

TEST_F(CpuTest, StandsStillUnlessThePlayerBallIsInFlight) {
    m.frameStep = 10;
    ballAt(700, 100);
    trackAndRoll(m, io);
    EXPECT_EQ(450, m.cpuX);
    EXPECT_EQ(0, s.randomDraws);
}

struct TrackCase {
    int cpuX, ballX, frameStep;
    int expectedX;
};

void PrintTo(const TrackCase& c, std::ostream* os) {
    *os << "cpuX " << c.cpuX << " ballX " << c.ballX << " frameStep " << c.frameStep;
}

struct OrdinaryStep : CpuTest, ::testing::WithParamInterface<TrackCase> {};

TEST_P(OrdinaryStep, MovesTowardTheBallWithinItsBounds) {
    const TrackCase c = GetParam();
    m.playerBallInFlight = true;
    m.lastBlockRoll = kT;  // no roll in this test
    m.frameStep = c.frameStep;
    m.cpuX = c.cpuX;
    ballAt(c.ballX, 400);
    trackAndRoll(m, io);
    EXPECT_EQ(c.expectedX, m.cpuX);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrdinaryStep,
    ::testing::Values(TrackCase{400, 600, 10, 407},  // right by 7
                      TrackCase{400, 200, 10, 393},  // left by 7
                      TrackCase{400, 415, 10, 400},  // less than a step right: back again
                      TrackCase{400, 410, 10, 400},  // level with the ball
                      TrackCase{400, 408, 10, 393},  // just left of cpuX + 10: a full step
                      TrackCase{859, 990, 10, 866},  // right bound tested before the move
                      TrackCase{860, 990, 10, 860},
                      TrackCase{111, 0, 10, 104},  // left bound
                      TrackCase{110, 0, 10, 110},
                      TrackCase{400, 600, 1, 400},  // step 0 at frameStep 1
                      TrackCase{400, 600, 2, 401}));

struct ExtraCase {
    int level;
    int rightShots, leftShots;
    int ballX;
    bool extra;
};

void PrintTo(const ExtraCase& c, std::ostream* os) {
    *os << "level " << c.level << " right " << c.rightShots << " left " << c.leftShots
        << " ballX " << c.ballX;
}

struct ExtraStep : CpuTest, ::testing::WithParamInterface<ExtraCase> {};

TEST_P(ExtraStep, NeedsTheLevelsCountOnTheBallsSide) {
    const ExtraCase c = GetParam();
    m.enemyLevel = c.level;
    m.rightShots = c.rightShots;
    m.leftShots = c.leftShots;
    m.playerBallInFlight = true;
    m.lastBlockRoll = kT;
    m.frameStep = 10;
    ballAt(c.ballX, 400);
    m.cpuX = c.ballX > 450 ? c.ballX - 200 : c.ballX + 200;
    const int start = m.cpuX;
    trackAndRoll(m, io);
    const int moved = m.cpuX > start ? m.cpuX - start : start - m.cpuX;
    EXPECT_EQ(c.extra ? 17 : 7, moved);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ExtraStep,
    ::testing::Values(ExtraCase{1, 1, 0, 700, false}, ExtraCase{1, 2, 0, 700, true},
                      ExtraCase{2, 1, 0, 700, false}, ExtraCase{2, 2, 0, 700, true},
                      ExtraCase{3, 1, 0, 700, true}, ExtraCase{3, 0, 0, 700, false},
                      ExtraCase{1, 0, 2, 300, true}, ExtraCase{2, 0, 1, 300, false},
                      ExtraCase{3, 0, 1, 300, true}, ExtraCase{3, 1, 0, 300, false},
                      ExtraCase{3, 1, 1, 600, false}, ExtraCase{3, 1, 1, 601, true},
                      ExtraCase{3, 1, 1, 360, false}, ExtraCase{3, 1, 1, 359, true}));

TEST_F(CpuTest, ExtraStepHasItsOwnBoundsAndMovesEvenAtFrameStepOne) {
    m.enemyLevel = 3;
    m.rightShots = 1;
    m.playerBallInFlight = true;
    m.lastBlockRoll = kT;
    m.frameStep = 1;  // ordinary step 0, extra step 1
    m.cpuX = 879;
    ballAt(990, 400);
    trackAndRoll(m, io);
    EXPECT_EQ(880, m.cpuX);
    trackAndRoll(m, io);
    EXPECT_EQ(880, m.cpuX);
}

TEST_F(CpuTest, LevelTwoReadsSidesOnlyWhileThePlayerBallFlies) {
    m.enemyLevel = 2;
    m.lastBlockRoll = kT;
    m.centreShots = 3;
    trackAndRoll(m, io);
    EXPECT_FALSE(m.cpuReadsSides);
    m.playerBallInFlight = true;
    trackAndRoll(m, io);
    EXPECT_TRUE(m.cpuReadsSides);
    m.centreShots = 2;
    m.leftShots = 1;
    trackAndRoll(m, io);
    EXPECT_FALSE(m.cpuReadsSides);
    m.rightShots = 2;
    trackAndRoll(m, io);
    EXPECT_TRUE(m.cpuReadsSides);

    m.enemyLevel = 1;
    m.cpuReadsSides = false;
    trackAndRoll(m, io);
    EXPECT_FALSE(m.cpuReadsSides);
}

// --- Block rolls -------------------------------------------------------------

struct RollCase {
    int level, speed, height;
    int n;
};

void PrintTo(const RollCase& c, std::ostream* os) {
    *os << "level " << c.level << " speed " << c.speed << " height " << c.height;
}

struct RollTable : CpuTest, ::testing::WithParamInterface<RollCase> {};

TEST_P(RollTable, DrawsFromOneToN) {
    const RollCase c = GetParam();
    EXPECT_EQ(c.n, blockRollRange(c.level, c.speed, c.height));

    // Through the roll itself, with no adjustment in the way: the highest
    // raw draw below n gives n, a raw n wraps to 1.
    m.enemyLevel = c.level;
    m.flightSpeed = c.speed;
    ballAt(500, 150, c.height);
    s.randoms = {c.n - 1};
    rollForBlock(m, io);
    EXPECT_EQ(c.n, m.cpuBlockRoll);
    s.now += 1001;
    s.randoms = {c.n};
    rollForBlock(m, io);
    EXPECT_EQ(1, m.cpuBlockRoll);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, RollTable,
    ::testing::Values(
        // level 1
        RollCase{1, 10, 200, 6}, RollCase{1, 0, 0, 6}, RollCase{1, 11, 0, 7},
        RollCase{1, 11, 70, 7}, RollCase{1, 11, 71, 9}, RollCase{1, 11, 110, 9},
        RollCase{1, 11, 111, 10},
        // level 2
        RollCase{2, 10, 200, 5}, RollCase{2, 11, 70, 6}, RollCase{2, 11, 71, 8},
        RollCase{2, 11, 110, 8}, RollCase{2, 11, 111, 9},
        // level 3
        RollCase{3, 10, 120, 3}, RollCase{3, 11, 80, 3}, RollCase{3, 11, 81, 4},
        RollCase{3, 10, 100, 3}, RollCase{3, 11, 120, 4}, RollCase{3, 0, 121, 25},
        RollCase{3, 20, 121, 25}));

TEST_F(CpuTest, LevelOneTakesTheHeightTendencyOffHighBalls) {
    m.enemyLevel = 1;
    m.heightTendency = 5;
    m.flightSpeed = 12;
    ballAt(500, 100, 60);  // not higher than 60: kept
    s.randoms = {3};
    rollForBlock(m, io);
    EXPECT_EQ(4, m.cpuBlockRoll);

    s.now += 1001;
    ballAt(500, 100, 61);
    s.randoms = {0};
    rollForBlock(m, io);
    EXPECT_EQ(1 - 5, m.cpuBlockRoll);
}

TEST_F(CpuTest, LevelTwoReadsHeightAtEachRollWithoutAdjustingIt) {
    m.enemyLevel = 2;
    m.flightSpeed = 12;
    ballAt(500, 100, 120);
    for (int tendency : {2, 3, 0, 5}) {
        m.heightTendency = tendency;
        s.randoms = {4};
        rollForBlock(m, io);
        EXPECT_EQ(5, m.cpuBlockRoll);
        EXPECT_EQ(tendency >= 3, m.cpuReadsHeight);
        s.now += 1001;
    }
}

TEST_F(CpuTest, LevelThreeHasNoAdjustment) {
    m.enemyLevel = 3;
    m.heightTendency = 5;
    m.cpuReadsHeight = false;
    ballAt(500, 100, 130);
    s.randoms = {24};
    rollForBlock(m, io);
    EXPECT_EQ(25, m.cpuBlockRoll);
    EXPECT_FALSE(m.cpuReadsHeight);
}

TEST_F(CpuTest, RollsAtMostOncePerSecondAndOnlyNearTheCpu) {
    m.cpuBlockRoll = 9;
    m.lastBlockRoll = kT - 1000;
    ballAt(500, 100);
    rollForBlock(m, io);
    EXPECT_EQ(0, s.randomDraws);

    s.now = kT + 1;
    ballAt(500, 200);
    rollForBlock(m, io);
    EXPECT_EQ(0, s.randomDraws);
    EXPECT_EQ(9, m.cpuBlockRoll);

    ballAt(500, 199);
    rollForBlock(m, io);
    EXPECT_EQ(1, s.randomDraws);
    EXPECT_EQ(kT + 1, m.lastBlockRoll);
}

TEST_F(CpuTest, TrackingDrawsTheRollWhileTheBallFlies) {
    m.enemyLevel = 1;
    m.playerBallInFlight = true;
    m.frameStep = 10;
    ballAt(500, 150);
    s.randoms = {1};
    trackAndRoll(m, io);
    EXPECT_EQ(2, m.cpuBlockRoll);
    EXPECT_EQ(kT, m.lastBlockRoll);
}

// --- Block -------------------------------------------------------------------

TEST(CpuStart, RollOfZeroAtMatchStartBlocks) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.now = 5000;
    MatchState m;
    setUpMatchState(m, io, 1, 3, 6, 6, 6);
    EXPECT_EQ(0, m.cpuBlockRoll);
    m.playerBallInFlight = true;
    m.ballX = m.cpuX + 10;
    m.ballY = 70;
    tryBlock(m, io);
    EXPECT_FALSE(m.playerBallInFlight);
}

struct BoxCase {
    int dx;  // ballX - cpuX
    int ballY;
    int roll;
    bool blocked;
};

void PrintTo(const BoxCase& c, std::ostream* os) {
    *os << "dx " << c.dx << " ballY " << c.ballY << " roll " << c.roll;
}

struct BlockBox : CpuTest, ::testing::WithParamInterface<BoxCase> {};

TEST_P(BlockBox, BlocksOnlyStrictlyInsideWithALowRoll) {
    const BoxCase c = GetParam();
    m.cpuX = 300;
    m.playerBallInFlight = true;
    m.cpuBlockRoll = c.roll;
    ballAt(300 + c.dx, c.ballY);
    tryBlock(m, io);
    EXPECT_EQ(!c.blocked, m.playerBallInFlight);
    EXPECT_EQ(c.blocked, m.cpuRecovering);
    EXPECT_EQ(c.blocked, m.cpuCarriesBall);
    EXPECT_EQ(c.blocked, m.cpuServePending);
    EXPECT_EQ(c.blocked ? std::vector<int>{SOUND_CPU_BLOCK} : std::vector<int>{}, s.played);
}

INSTANTIATE_TEST_SUITE_P(Bounds, BlockBox,
                         ::testing::Values(BoxCase{-14, 70, 3, true}, BoxCase{-15, 70, 3, false},
                                           BoxCase{34, 70, 3, true}, BoxCase{35, 70, 3, false},
                                           BoxCase{10, 51, 3, true}, BoxCase{10, 50, 3, false},
                                           BoxCase{10, 94, 3, true}, BoxCase{10, 95, 3, false},
                                           BoxCase{10, 70, 4, false}, BoxCase{10, 70, 1, true},
                                           BoxCase{10, 70, -4, true}));

TEST_F(CpuTest, NoBlockWithoutAPlayerShot) {
    m.cpuX = 300;
    ballAt(310, 70);
    tryBlock(m, io);
    EXPECT_FALSE(m.cpuServePending);
    EXPECT_TRUE(s.played.empty());
}

TEST_F(CpuTest, BlockedBallIsAtTheCpuInTheFrameOfTheBlock) {
    m.cpuX = 300;
    m.frameStep = 10;
    m.playerBallInFlight = true;
    ballAt(320, 60, 40);
    tryBlock(m, io);
    walkBack(m, io);
    EXPECT_EQ(305, m.cpuX);
    EXPECT_EQ(315, m.ballX);
    EXPECT_EQ(80, m.ballY);
    EXPECT_EQ(80, m.shadowY);
}

// --- Walk back ---------------------------------------------------------------

TEST_F(CpuTest, CarriesTheBallToTheCentreAndPutsItDownThere) {
    m.cpuX = 700;
    m.cpuRecovering = m.cpuCarriesBall = m.cpuServePending = true;
    m.frameStep = 10;
    int frames = 0;
    while (m.cpuRecovering && frames < 1000) {
        walkBack(m, io);
        ++frames;
        if (m.cpuRecovering) {
            EXPECT_EQ(m.cpuX + 10, m.ballX);
        }
        EXPECT_EQ(80, m.ballY);
        EXPECT_EQ(80, m.shadowY);
        s.now += 20;
    }
    ASSERT_FALSE(m.cpuRecovering);
    EXPECT_FALSE(m.cpuCarriesBall);
    EXPECT_TRUE(m.cpuServePending);
    EXPECT_GE(m.cpuX + 10, 445);
    EXPECT_LE(m.cpuX + 10, 455);
    EXPECT_EQ(450, m.ballX);
    EXPECT_EQ(s.now - 20, m.cpuRecoverEnd);
}

TEST_F(CpuTest, WithoutTheBallItIsParkedFromTheFirstFrame) {
    m.cpuX = 200;
    m.cpuRecovering = true;
    m.frameStep = 10;
    ballAt(600, -510, 30);
    walkBack(m, io);
    EXPECT_EQ(205, m.cpuX);
    EXPECT_EQ(450, m.ballX);
    EXPECT_EQ(80, m.ballY);
    EXPECT_EQ(80, m.shadowY);
}

struct WalkCase {
    int cpuX, frameStep;
};

void PrintTo(const WalkCase& c, std::ostream* os) {
    *os << "cpuX " << c.cpuX << " frameStep " << c.frameStep;
}

struct WalkEnds : CpuTest, ::testing::WithParamInterface<WalkCase> {};

TEST_P(WalkEnds, AtAnyFrameStep) {
    m.cpuX = GetParam().cpuX;
    m.frameStep = GetParam().frameStep;
    m.cpuRecovering = true;
    int frames = 0;
    while (m.cpuRecovering && frames < 2000) {
        walkBack(m, io);
        ++frames;
    }
    EXPECT_FALSE(m.cpuRecovering);
    EXPECT_GE(m.cpuX, 435);
    EXPECT_LE(m.cpuX, 445);
}

INSTANTIATE_TEST_SUITE_P(Steps, WalkEnds,
                         ::testing::Values(WalkCase{100, 0}, WalkCase{900, 1}, WalkCase{100, 5},
                                           WalkCase{900, 30}, WalkCase{430, 40},
                                           WalkCase{446, 100}, WalkCase{440, 5}));

TEST_F(CpuTest, WalkBackDoesNothingWhenNotRecovering) {
    m.cpuX = 700;
    ballAt(600, 300, 20);
    walkBack(m, io);
    EXPECT_EQ(700, m.cpuX);
    EXPECT_EQ(600, m.ballX);
    EXPECT_EQ(320, m.shadowY);
}

// --- Serve -------------------------------------------------------------------

struct ServeCase {
    int level;
    bool readsSides, readsHeight;
    int powerLow, powerHigh, liftLow, liftHigh;
};

void PrintTo(const ServeCase& c, std::ostream* os) {
    *os << "level " << c.level << " sides " << c.readsSides << " height " << c.readsHeight;
}

struct ServeDraws : CpuTest, ::testing::WithParamInterface<ServeCase> {};

TEST_P(ServeDraws, PowerAndLiftByLevelThenCurveAndSide) {
    const ServeCase c = GetParam();
    m.enemyLevel = c.level;
    m.cpuReadsSides = c.readsSides;
    m.cpuReadsHeight = c.readsHeight;
    const int powerN = c.powerHigh - c.powerLow + 1;
    const int liftN = c.liftHigh - c.liftLow + 1;

    // Lowest draws, then highest, then the moduli wrapping back to the lowest.
    const std::vector<std::vector<int>> draws = {
        {0, 0, 0, 0}, {powerN - 1, liftN - 1, 4, 1}, {powerN, liftN, 5, 2}};
    const int expected[3][4] = {{c.powerLow, c.liftLow, 1, 1},
                                {c.powerHigh, c.liftHigh, 5, 2},
                                {c.powerLow, c.liftLow, 1, 1}};
    for (int i = 0; i < 3; ++i) {
        m.cpuServePending = true;
        m.cpuBallInFlight = false;
        s.randoms.assign(draws[i].begin(), draws[i].end());
        serveIfReady(m, io);
        EXPECT_EQ(expected[i][0], m.power);
        EXPECT_EQ(expected[i][1], m.lift);
        EXPECT_EQ(expected[i][2], m.curve);
        EXPECT_EQ(expected[i][3], m.curveSide);
        EXPECT_TRUE(s.randoms.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ServeDraws,
                         ::testing::Values(ServeCase{1, true, true, 5, 10, 1, 10},
                                           ServeCase{2, false, false, 5, 10, 1, 10},
                                           ServeCase{2, true, false, 15, 19, 1, 10},
                                           ServeCase{2, false, true, 15, 19, 1, 10},
                                           ServeCase{2, true, true, 15, 24, 1, 10},
                                           ServeCase{3, true, true, 5, 10, 15, 24}));

TEST_F(CpuTest, ServesOnlyMoreThanHalfASecondAfterTheWalkEnded) {
    m.cpuServePending = true;
    m.cpuRecovering = true;
    m.cpuRecoverEnd = kT - 2000;
    serveIfReady(m, io);
    EXPECT_FALSE(m.cpuBallInFlight);

    m.cpuRecovering = false;
    m.cpuRecoverEnd = kT - 500;
    serveIfReady(m, io);
    EXPECT_FALSE(m.cpuBallInFlight);
    EXPECT_EQ(0, s.randomDraws);

    s.now = kT + 1;
    ballAt(450, 80);
    serveIfReady(m, io);
    EXPECT_TRUE(m.cpuBallInFlight);
    EXPECT_FALSE(m.cpuServePending);
    EXPECT_EQ(kT + 1, m.shotStart);
    EXPECT_EQ(std::vector<int>{SOUND_SHOT}, s.played);
    EXPECT_EQ(450, m.ballX);  // the serve leaves from where the ball lies
    EXPECT_EQ(80, m.ballY);
    EXPECT_EQ(80, m.shadowY);

    serveIfReady(m, io);  // once only
    EXPECT_EQ(1u, s.played.size());
}

}  // namespace
