#include <gtest/gtest.h>

#include <vector>

#include "scripted_io.h"

namespace {

// The player's on-target shot used by several cases: bar power 8 with the
// default club (height 6, speed 6), lift 5, curve 7 to the right.
MatchState curvedShot() {
    MatchState m;
    m.playerBallInFlight = true;
    m.shotOnTarget = true;
    m.power = 8;
    m.lift = 5;
    m.curve = 7;
    m.curveSide = 1;
    m.shotStart = 1000;
    return m;
}

TEST(PlayerFlight, CurvedOverThreeFrames) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m = curvedShot();
    struct Step {
        int now, frameStep;
        int time, height, ballX, ballY, shadowY;
    };
    // speed 8 + 6 = 14, height growth (6 + 5 + 14) = 25 per second, curveStep 10.
    const Step steps[] = {
        {1100, 7, 100, 2, 507, 641, 651},     // 14 x 7 / 10 = 9, 25 x 100 / 1000 = 2
        {1250, 13, 250, 6, 520, 623, 653},    // 182 / 10 = 18, 6250 / 1000 = 6
        {2600, 9, 1000, 25, 529, 611, 736},   // held at 1000 ms
    };
    for (const Step& st : steps) {
        s.now = st.now;
        m.frameStep = st.frameStep;
        playerFlight(m, io);
        EXPECT_EQ(st.time, m.flightTime) << "at " << st.now;
        EXPECT_EQ(14, m.flightSpeed);
        EXPECT_EQ(st.height, m.flightHeight) << "at " << st.now;
        EXPECT_EQ(10, m.curveStep);
        EXPECT_EQ(st.ballX, m.ballX) << "at " << st.now;
        EXPECT_EQ(st.ballY, m.ballY) << "at " << st.now;
        EXPECT_EQ(st.shadowY, m.shadowY) << "at " << st.now;
    }
    EXPECT_TRUE(m.playerBallInFlight);
}

TEST(PlayerFlight, TimeCapByPower) {
    struct Case {
        int power, elapsed, time;
    };
    const Case cases[] = {{5, 500, 500},   {5, 501, 500},   {6, 501, 501},  {6, 1000, 1000},
                          {6, 1001, 1000}, {-3, 900, 500},  {11, 5000, 1000}};
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        MatchState m = curvedShot();
        m.power = c.power;
        s.now = m.shotStart + c.elapsed;
        playerFlight(m, io);
        EXPECT_EQ(c.time, m.flightTime) << "power " << c.power << " after " << c.elapsed;
    }
}

TEST(PlayerFlight, FlatUnlessLiftAboveOneAndSpeedAboveFive) {
    struct Case {
        int power, lift, height;
    };
    // 1000 ms into the flight with club (6, 6).
    const Case cases[] = {
        {8, 0, 1}, {8, 1, 1},
        {-1, 2, 1},    // speed 5
        {0, 2, 7},     // speed 6: (6 + 2 + 6) x 500 / 1000, a weak shot stops rising at 500 ms
        {10, 9, 31},
    };
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        MatchState m = curvedShot();
        m.power = c.power;
        m.lift = c.lift;
        m.frameStep = 10;
        s.now = m.shotStart + 2000;
        playerFlight(m, io);
        EXPECT_EQ(c.height, m.flightHeight) << "power " << c.power << " lift " << c.lift;
        EXPECT_EQ(m.ballY + 5 * c.height, m.shadowY);
    }
}

TEST(PlayerFlight, SidewaysByCurveSide) {
    struct Case {
        int side, curve, ballX;
    };
    // frameStep 10: the whole curveStep each frame.
    const Case cases[] = {{1, 7, 510}, {2, 7, 490}, {0, 7, 500}, {3, 7, 500}, {2, 0, 500},
                          {1, 1, 501}, {2, 13, 481}};
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        MatchState m = curvedShot();
        m.curveSide = c.side;
        m.curve = c.curve;
        m.frameStep = 10;
        s.now = 1100;
        playerFlight(m, io);
        EXPECT_EQ(c.ballX, m.ballX) << "side " << c.side << " curve " << c.curve;
    }
}

TEST(PlayerFlight, StepsTruncateTowardZero) {
    // A speed below zero needs a club outside the menu's four, but the step
    // must still truncate toward zero: -2 x 7 / 10 is -1, not -2.
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m = curvedShot();
    m.clubSpeed = 1;
    m.power = -3;
    m.frameStep = 7;
    s.now = 1100;
    playerFlight(m, io);
    EXPECT_EQ(-2, m.flightSpeed);
    EXPECT_EQ(651, m.ballY);
}

TEST(PlayerFlight, StraightWhenOffTargetKeepsTheOldFlightValues) {
    struct Case {
        int frameStep, ballY;
    };
    const Case cases[] = {{0, 650}, {3, 650}, {4, 649}, {10, 647}, {17, 645}};
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        MatchState m = curvedShot();
        m.shotOnTarget = false;
        m.ballX = 431;
        m.frameStep = c.frameStep;
        m.flightSpeed = 17;
        m.flightHeight = 4;
        m.flightTime = 250;
        m.curveStep = 3;
        s.now = 1900;
        playerFlight(m, io);
        EXPECT_EQ(c.ballY, m.ballY) << "frameStep " << c.frameStep;
        EXPECT_EQ(m.ballY, m.shadowY);
        EXPECT_EQ(500, m.ballX);
        EXPECT_EQ(17, m.flightSpeed);
        EXPECT_EQ(4, m.flightHeight);
        EXPECT_EQ(250, m.flightTime);
        EXPECT_EQ(3, m.curveStep);
    }
}

TEST(PlayerFlight, NothingMovesWithoutAShotInFlight) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m = curvedShot();
    m.playerBallInFlight = false;
    m.frameStep = 10;
    s.now = 1500;
    playerFlight(m, io);
    EXPECT_EQ(500, m.ballX);
    EXPECT_EQ(650, m.ballY);
    EXPECT_EQ(0, s.clockReads);
}

TEST(CpuFlight, DownTheFieldWithTheCpuClub) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    // The player's club differs, so using it by mistake shows.
    m.clubSpeed = 6;
    m.clubHeight = 2;
    m.cpuClubSpeed = 7;
    m.cpuClubHeight = 9;
    m.cpuBallInFlight = true;
    m.power = 5;
    m.lift = 3;
    m.curve = 4;
    m.curveSide = 2;
    m.shotStart = 2000;
    m.ballX = 450;
    m.ballY = 80;
    struct Step {
        int now, frameStep;
        int time, height, ballX, ballY, shadowY;
    };
    // speed 5 + 7 = 12, growth (9 + 3 + 12) = 24, curveStep 6 to the left.
    const Step steps[] = {
        {2300, 9, 300, 7, 445, 90, 125},     // 108 / 10 = 10, 7200 / 1000 = 7, 54 / 10 = 5
        {2900, 11, 500, 12, 439, 103, 163},  // power 5 holds the time at 500
    };
    for (const Step& st : steps) {
        s.now = st.now;
        m.frameStep = st.frameStep;
        cpuFlight(m, io);
        EXPECT_EQ(st.time, m.flightTime) << "at " << st.now;
        EXPECT_EQ(12, m.flightSpeed);
        EXPECT_EQ(st.height, m.flightHeight) << "at " << st.now;
        EXPECT_EQ(6, m.curveStep);
        EXPECT_EQ(st.ballX, m.ballX) << "at " << st.now;
        EXPECT_EQ(st.ballY, m.ballY) << "at " << st.now;
        EXPECT_EQ(st.shadowY, m.shadowY) << "at " << st.now;
    }

    m.lift = 1;  // the CPU's lowest lift keeps the ball flat
    cpuFlight(m, io);
    EXPECT_EQ(1, m.flightHeight);
    m.cpuBallInFlight = false;
    const int y = m.ballY;
    cpuFlight(m, io);
    EXPECT_EQ(y, m.ballY);
}

// Catch window around the figure at playerX 400 (the pointer), y 570.
struct CatchCase {
    int centreX, centreY;
    bool caught;
};

class CatchWindow : public ::testing::TestWithParam<CatchCase> {};

TEST_P(CatchWindow, StrictBounds) {
    const CatchCase c = GetParam();
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    m.readyToAim = false;
    m.cpuBallInFlight = true;
    m.pointerX = 400;
    m.playerX = 900;
    m.frameStep = 10;
    m.ballX = c.centreX - 25;
    m.ballY = c.centreY - 25;
    m.shadowY = m.ballY + 40;
    m.ballCentreX = c.centreX;
    m.ballCentreY = c.centreY;
    catchAndWalkBack(m, io);
    EXPECT_EQ(c.caught, !m.cpuBallInFlight);
    EXPECT_EQ(c.caught, m.playerReturning);
    if (c.caught) {
        EXPECT_EQ(std::vector<int>{SOUND_CATCH}, s.played);
        // The first step of the walk back happens in the same frame and the
        // ball moves with the figure at once.
        EXPECT_EQ(405, m.playerX);
        EXPECT_TRUE(m.playerCarriesBall);
        EXPECT_EQ(455, m.ballX);
        EXPECT_EQ(650, m.ballY);
        EXPECT_EQ(650, m.shadowY);
    } else {
        EXPECT_TRUE(s.played.empty());
        EXPECT_EQ(400, m.playerX);  // the figure follows the pointer
        EXPECT_EQ(c.centreY - 25, m.ballY);
        EXPECT_EQ(c.centreX - 25, m.ballX);
    }
    EXPECT_FALSE(m.readyToAim);
}

INSTANTIATE_TEST_SUITE_P(Bounds, CatchWindow,
                         ::testing::Values(CatchCase{460, 650, false}, CatchCase{461, 650, true},
                                           CatchCase{479, 650, true}, CatchCase{480, 650, false},
                                           CatchCase{470, 630, false}, CatchCase{470, 631, true},
                                           CatchCase{470, 664, true}, CatchCase{470, 665, false}));

TEST(Catch, FigureFollowsThePointerOnlyWhileTheCpuHasTheBall) {
    struct Case {
        bool inFlight, servePending;
        int playerX;
    };
    const Case cases[] = {{true, false, 1010}, {false, true, 1010}, {false, false, 450}};
    for (const Case& c : cases) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        MatchState m;
        m.cpuBallInFlight = c.inFlight;
        m.cpuServePending = c.servePending;
        m.pointerX = 1010;  // unclamped, off the field's right edge
        m.ballX = 450;
        m.ballY = 80;
        m.ballCentreX = 475;
        m.ballCentreY = 105;
        catchAndWalkBack(m, io);
        EXPECT_EQ(c.playerX, m.playerX);
        EXPECT_EQ(c.servePending, m.cpuServePending);
        EXPECT_EQ(450, m.ballX);
        EXPECT_EQ(80, m.ballY);
    }
}

TEST(Catch, InTheCentreEndsTheWalkInTheSameFrame) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    m.readyToAim = false;
    m.cpuBallInFlight = true;
    m.pointerX = 450;
    m.ballCentreX = 520;
    m.ballCentreY = 640;
    m.frameStep = 10;
    catchAndWalkBack(m, io);
    EXPECT_EQ(std::vector<int>{SOUND_CATCH}, s.played);
    EXPECT_FALSE(m.playerReturning);
    EXPECT_FALSE(m.playerCarriesBall);
    EXPECT_TRUE(m.readyToAim);
    EXPECT_EQ(450, m.playerX);
    EXPECT_EQ(500, m.ballX);
    EXPECT_EQ(650, m.ballY);
}

// The walk back ends, in the band, for every frame step from 0 to 60 and
// from anywhere the pointer can leave the figure.
class WalkBack : public ::testing::TestWithParam<int> {};

TEST_P(WalkBack, EndsInTheBandCarryingTheBallUntilThen) {
    const int frameStep = GetParam();
    const int step = frameStep * 5 / 10 < 1 ? 1 : frameStep * 5 / 10;
    for (int start : {0, 200, 440, 444, 445, 455, 456, 700, 1023}) {
        ScriptedIo s;
        MatchIo io = s.matchIo();
        MatchState m;
        m.readyToAim = false;
        m.playerX = start;
        m.playerReturning = true;
        m.playerCarriesBall = true;
        m.frameStep = frameStep;
        const int distance = start < 445 ? 445 - start : (start > 455 ? start - 455 : 0);
        const int expectedFrames = (distance + step - 1) / step + 1;
        int frames = 0;
        while (m.playerReturning && frames < 2000) {
            const int before = m.playerX;
            catchAndWalkBack(m, io);
            ++frames;
            if (m.playerReturning) {
                EXPECT_EQ(m.playerX + 50, m.ballX);
                // Always toward the band, never across it.
                if (before < 445) { EXPECT_TRUE(m.playerX > before && m.playerX <= 455); }
                if (before > 455) { EXPECT_TRUE(m.playerX < before && m.playerX >= 445); }
            }
        }
        EXPECT_EQ(expectedFrames, frames) << "from " << start << " at frameStep " << frameStep;
        EXPECT_GE(m.playerX, 445);
        EXPECT_LE(m.playerX, 455);
        EXPECT_TRUE(m.readyToAim);
        EXPECT_FALSE(m.playerCarriesBall);
        EXPECT_EQ(500, m.ballX);
        EXPECT_EQ(650, m.ballY);
        EXPECT_EQ(650, m.shadowY);
    }
}

INSTANTIATE_TEST_SUITE_P(FrameSteps, WalkBack, ::testing::Range(0, 61));

TEST(WalkBackAfterReset, LeavesTheBallInTheMiddle) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;
    m.readyToAim = false;
    m.playerX = 800;
    m.playerReturning = true;
    m.frameStep = 10;
    catchAndWalkBack(m, io);
    EXPECT_EQ(795, m.playerX);
    EXPECT_EQ(500, m.ballX);
    EXPECT_EQ(650, m.ballY);
    EXPECT_EQ(650, m.shadowY);
}

TEST(FarEnd, BeyondMinus500TheCpuGetsTheBall) {
    for (int y : {-500, -501, -900}) {
        MatchState m;
        m.playerBallInFlight = true;
        m.ballX = 530;
        m.ballY = y;
        farEndHandOver(m);
        const bool over = y < -500;
        EXPECT_EQ(!over, m.playerBallInFlight) << y;
        EXPECT_EQ(over, m.cpuRecovering) << y;
        EXPECT_EQ(over, m.cpuServePending) << y;
        EXPECT_FALSE(m.cpuCarriesBall);
        EXPECT_EQ(530, m.ballX);
        EXPECT_EQ(y, m.ballY);
    }
}

TEST(NearEnd, Beyond1300ThePlayWalksBackEmptyHanded) {
    for (int y : {1300, 1301}) {
        MatchState m;
        m.readyToAim = false;
        m.cpuBallInFlight = true;
        m.playerBallInFlight = true;
        m.power = 9;
        m.flightSpeed = 16;
        m.lift = 4;
        m.flightHeight = 7;
        m.curveStep = 3;
        m.curve = 2;
        m.curveSide = 1;
        m.flightTime = 640;
        m.ballX = 610;
        m.ballY = y;
        m.shadowY = y + 35;
        m.playerX = 900;
        nearEndReset(m);
        if (y == 1300) {
            EXPECT_TRUE(m.cpuBallInFlight);
            EXPECT_EQ(16, m.flightSpeed);
            EXPECT_EQ(610, m.ballX);
            EXPECT_FALSE(m.playerReturning);
            continue;
        }
        EXPECT_FALSE(m.cpuBallInFlight);
        EXPECT_FALSE(m.playerBallInFlight);
        EXPECT_TRUE(m.playerReturning);
        EXPECT_FALSE(m.playerCarriesBall);
        EXPECT_FALSE(m.readyToAim);
        EXPECT_EQ(0, m.power);
        EXPECT_EQ(0, m.flightSpeed);
        EXPECT_EQ(0, m.lift);
        EXPECT_EQ(0, m.flightHeight);
        EXPECT_EQ(0, m.curveStep);
        EXPECT_EQ(0, m.curve);
        EXPECT_EQ(0, m.curveSide);
        EXPECT_EQ(640, m.flightTime);
        EXPECT_EQ(500, m.ballX);
        EXPECT_EQ(650, m.ballY);
        EXPECT_EQ(650, m.shadowY);
        EXPECT_EQ(900, m.playerX);
    }
}

}  // namespace
