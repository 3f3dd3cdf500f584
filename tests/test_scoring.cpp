// Zone tests, point and sound gates, message and score-display timing,
// score texts and the win.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "scripted_io.h"

namespace {

constexpr int32_t kT = 100000;  // far from every stamp of a fresh match

struct ScoringTest : ::testing::Test {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    MatchState m;

    void SetUp() override { s.now = kT; }
    void centreAt(int x, int y) {
        m.ballCentreX = x;
        m.ballCentreY = y;
    }
};

// --- Zone bounds -----------------------------------------------------------

struct ZoneCase {
    int cx, cy;
    bool out;
    bool line;  // past the end line of the block's far end
};

void PrintTo(const ZoneCase& c, std::ostream* os) { *os << "(" << c.cx << ", " << c.cy << ")"; }

struct PlayerShotZones : ScoringTest, ::testing::WithParamInterface<ZoneCase> {};

TEST_P(PlayerShotZones, RaisesAndScoresOnlyStrictlyInside) {
    const ZoneCase c = GetParam();
    m.playerBallInFlight = true;
    centreAt(c.cx, c.cy);
    zoneTestsPlayerShot(m, io);
    EXPECT_EQ(c.out, m.outShown);
    EXPECT_EQ(c.line, m.pointLineShown);
    EXPECT_FLOAT_EQ(c.out ? 0.5f : 0.0f, m.cpuScore);
    EXPECT_FLOAT_EQ(c.line ? 1.0f : 0.0f, m.playerScore);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, PlayerShotZones,
    ::testing::Values(ZoneCase{99, 400, true, false}, ZoneCase{100, 400, false, false},
                      ZoneCase{920, 400, false, false}, ZoneCase{921, 400, true, false},
                      ZoneCase{50, 50, false, false}, ZoneCase{50, 51, true, false},
                      ZoneCase{950, 717, true, false}, ZoneCase{950, 718, false, false},
                      ZoneCase{500, 40, false, false}, ZoneCase{500, 39, false, true},
                      ZoneCase{100, 10, false, false}, ZoneCase{101, 10, false, true},
                      ZoneCase{919, 10, false, true}, ZoneCase{920, 10, false, false},
                      // corners belong to no zone
                      ZoneCase{50, 20, false, false}, ZoneCase{950, 20, false, false},
                      // the player's end line is the other block's
                      ZoneCase{500, 800, false, false}));

struct CpuShotZones : ScoringTest, ::testing::WithParamInterface<ZoneCase> {};

TEST_P(CpuShotZones, RaisesAndScoresOnlyStrictlyInside) {
    const ZoneCase c = GetParam();
    m.cpuBallInFlight = true;
    centreAt(c.cx, c.cy);
    zoneTestsCpuShot(m, io);
    EXPECT_EQ(c.out, m.outShown);
    EXPECT_EQ(c.line, m.pointLineShown);
    EXPECT_FLOAT_EQ(c.out ? 0.5f : 0.0f, m.playerScore);
    EXPECT_FLOAT_EQ(c.line ? 1.0f : 0.0f, m.cpuScore);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, CpuShotZones,
    ::testing::Values(ZoneCase{99, 400, true, false}, ZoneCase{100, 400, false, false},
                      ZoneCase{920, 400, false, false}, ZoneCase{921, 400, true, false},
                      ZoneCase{30, 50, false, false}, ZoneCase{990, 717, true, false},
                      ZoneCase{500, 718, false, false}, ZoneCase{500, 719, false, true},
                      ZoneCase{101, 719, false, true}, ZoneCase{100, 719, false, false},
                      ZoneCase{920, 719, false, false}, ZoneCase{950, 800, false, false},
                      ZoneCase{500, 39, false, false}));

// --- Whole events: message, sound, points, text ------------------------------

TEST_F(ScoringTest, PlayerShotOutAtTheLeftGivesTheCpuHalfAPoint) {
    m.playerBallInFlight = true;
    centreAt(99, 400);
    zoneTestsPlayerShot(m, io);
    EXPECT_TRUE(m.outShown);
    EXPECT_EQ(std::vector<int>{SOUND_CPU_SCORES}, s.played);
    EXPECT_EQ(kT, m.lastZoneSound);
    EXPECT_EQ(kT, m.lastPlayerShotScore);
    updateScoresAndWinner(m);
    EXPECT_STREQ("0.5", m.cpuScoreText);
    EXPECT_STREQ("0", m.playerScoreText);
}

TEST_F(ScoringTest, PlayerShotPastTheCpuEndGivesThePlayerAPoint) {
    m.playerBallInFlight = true;
    centreAt(500, 39);
    zoneTestsPlayerShot(m, io);
    EXPECT_TRUE(m.pointLineShown);
    EXPECT_EQ(std::vector<int>{SOUND_PLAYER_SCORES}, s.played);
    updateScoresAndWinner(m);
    EXPECT_STREQ("1", m.playerScoreText);
}

TEST_F(ScoringTest, CpuShotPastThePlayerEndGivesTheCpuAPoint) {
    m.cpuBallInFlight = true;
    centreAt(500, 719);
    zoneTestsPlayerShot(m, io);
    zoneTestsCpuShot(m, io);
    EXPECT_TRUE(m.pointLineShown);
    EXPECT_EQ(std::vector<int>{SOUND_CPU_SCORES}, s.played);
    EXPECT_FLOAT_EQ(1.0f, m.cpuScore);
    EXPECT_FLOAT_EQ(0.0f, m.playerScore);
}

TEST_F(ScoringTest, CpuShotOutIsHeardFromTheFirstBlockAndScoredByTheSecond) {
    m.cpuBallInFlight = true;
    centreAt(950, 300);
    zoneTestsPlayerShot(m, io);
    zoneTestsCpuShot(m, io);
    EXPECT_EQ(std::vector<int>{SOUND_CPU_SCORES}, s.played);
    EXPECT_FLOAT_EQ(0.5f, m.playerScore);
    EXPECT_FLOAT_EQ(0.0f, m.cpuScore);
    EXPECT_EQ(kT, m.lastCpuShotScore);
    EXPECT_EQ(0, m.lastPlayerShotScore);
}

TEST_F(ScoringTest, SecondBlockSoundsOnlyWhenTheGateOpensBetweenTheBlocks) {
    m.cpuBallInFlight = true;
    centreAt(950, 300);
    m.lastZoneSound = kT - 1000;  // exactly 1000 ms: still closed
    zoneTestsPlayerShot(m, io);
    EXPECT_TRUE(s.played.empty());
    s.now = kT + 1;
    zoneTestsCpuShot(m, io);
    EXPECT_EQ(std::vector<int>{SOUND_PLAYER_SCORES}, s.played);
    EXPECT_EQ(kT + 1, m.lastZoneSound);
}

TEST_F(ScoringTest, BallInAZoneWithNoShotInFlightRaisesButScoresNothing) {
    centreAt(99, 400);
    zoneTestsPlayerShot(m, io);
    zoneTestsCpuShot(m, io);
    EXPECT_TRUE(m.outShown);
    EXPECT_EQ(std::vector<int>{SOUND_CPU_SCORES}, s.played);
    EXPECT_FLOAT_EQ(0.0f, m.cpuScore);
    EXPECT_FLOAT_EQ(0.0f, m.playerScore);
}

// --- Gates -------------------------------------------------------------------

struct GateCase {
    int sinceLastPoint;
    int sinceLastSound;
    bool scores;
    bool sounds;
};

void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.sinceLastPoint << " ms since the point, " << c.sinceLastSound << " since the sound";
}

struct PlayerShotGates : ScoringTest, ::testing::WithParamInterface<GateCase> {};

TEST_P(PlayerShotGates, PointsAndSoundsEachNeedTheirOwnGate) {
    const GateCase c = GetParam();
    m.playerBallInFlight = true;
    m.lastPlayerShotScore = kT - c.sinceLastPoint;
    m.lastZoneSound = kT - c.sinceLastSound;
    centreAt(500, 20);
    zoneTestsPlayerShot(m, io);
    EXPECT_TRUE(m.pointLineShown);  // the message comes whatever the gates say
    EXPECT_FLOAT_EQ(c.scores ? 1.0f : 0.0f, m.playerScore);
    EXPECT_EQ(c.scores ? kT : kT - c.sinceLastPoint, m.lastPlayerShotScore);
    EXPECT_EQ(c.sounds ? std::vector<int>{SOUND_PLAYER_SCORES} : std::vector<int>{}, s.played);
}

INSTANTIATE_TEST_SUITE_P(Limits, PlayerShotGates,
                         ::testing::Values(GateCase{3000, 5000, false, true},
                                           GateCase{3001, 5000, true, true},
                                           GateCase{3001, 1000, true, false},
                                           GateCase{2000, 1001, false, true},
                                           GateCase{2000, 500, false, false}));

TEST_F(ScoringTest, EachBlockHasItsOwnPointGate) {
    // A point from the player's shot a moment ago does not hold back the
    // CPU's, and the reverse.
    m.lastPlayerShotScore = kT - 10;
    m.cpuBallInFlight = true;
    centreAt(500, 719);
    zoneTestsCpuShot(m, io);
    EXPECT_FLOAT_EQ(1.0f, m.cpuScore);

    ASSERT_EQ(kT, m.lastCpuShotScore);
    m.lastPlayerShotScore = 0;
    m.cpuBallInFlight = false;
    m.playerBallInFlight = true;
    centreAt(500, 20);
    zoneTestsPlayerShot(m, io);
    EXPECT_FLOAT_EQ(1.0f, m.playerScore);
}

TEST_F(ScoringTest, OneShotScoresOnlyOnceWhileItCrossesBothZones) {
    // A player's ball that curves out and then on past the end line.
    m.playerBallInFlight = true;
    centreAt(950, 300);
    zoneTestsPlayerShot(m, io);
    s.now = kT + 1500;
    centreAt(900, 30);
    zoneTestsPlayerShot(m, io);
    EXPECT_FLOAT_EQ(0.5f, m.cpuScore);
    EXPECT_FLOAT_EQ(0.0f, m.playerScore);
    EXPECT_TRUE(m.outShown);
    EXPECT_TRUE(m.pointLineShown);
    EXPECT_EQ((std::vector<int>{SOUND_CPU_SCORES, SOUND_PLAYER_SCORES}), s.played);
}

// --- Messages taken down far beyond the field ----------------------------

struct ClearCase {
    int cx, cy;
    bool outStays, lineStaysFirstBlock, lineStaysSecondBlock;
};

void PrintTo(const ClearCase& c, std::ostream* os) { *os << "(" << c.cx << ", " << c.cy << ")"; }

struct MessageClearing : ScoringTest, ::testing::WithParamInterface<ClearCase> {};

TEST_P(MessageClearing, EachBlockTakesDownItsOwnMessages) {
    const ClearCase c = GetParam();
    centreAt(c.cx, c.cy);
    m.outShown = m.pointLineShown = true;
    zoneTestsPlayerShot(m, io);
    EXPECT_EQ(c.outStays, m.outShown);
    EXPECT_EQ(c.lineStaysFirstBlock, m.pointLineShown);

    m.outShown = m.pointLineShown = true;
    zoneTestsCpuShot(m, io);
    EXPECT_EQ(c.outStays, m.outShown);
    EXPECT_EQ(c.lineStaysSecondBlock, m.pointLineShown);
}

INSTANTIATE_TEST_SUITE_P(Limits, MessageClearing,
                         ::testing::Values(ClearCase{-200, -300, true, false, true},
                                           ClearCase{-201, -300, false, false, true},
                                           ClearCase{1220, 1300, true, true, false},
                                           ClearCase{1221, 1300, false, true, false},
                                           ClearCase{500, -260, true, true, true},
                                           ClearCase{500, 1280, true, true, true},
                                           ClearCase{500, 1281, true, true, false}));

// --- Message period and score display ------------------------------------

TEST_F(ScoringTest, MessageStaysForItsWholePeriodAndNoLonger) {
    m.outShown = true;
    messageTiming(m, io);
    EXPECT_EQ(kT, m.messageStart);
    EXPECT_FALSE(m.messageArmed);
    EXPECT_TRUE(m.showScores);

    // Raising it again during the period does not lengthen it.
    s.now = kT + 2000;
    m.pointLineShown = true;
    messageTiming(m, io);
    EXPECT_EQ(kT, m.messageStart);

    s.now = kT + 3000;
    messageTiming(m, io);
    EXPECT_TRUE(m.outShown);
    EXPECT_TRUE(m.pointLineShown);

    s.now = kT + 3001;
    messageTiming(m, io);
    EXPECT_FALSE(m.outShown);
    EXPECT_FALSE(m.pointLineShown);
    EXPECT_TRUE(m.messageArmed);
    EXPECT_TRUE(m.showScores);  // the last message frame was just now
}

TEST_F(ScoringTest, MessageStillRaisedAfterItsPeriodStartsANewOne) {
    m.outShown = true;
    messageTiming(m, io);
    s.now = kT + 3001;
    messageTiming(m, io);
    m.outShown = true;  // the zone test raised it again
    s.now = kT + 3011;
    messageTiming(m, io);
    EXPECT_EQ(kT + 3011, m.messageStart);
    EXPECT_TRUE(m.outShown);
}

TEST_F(ScoringTest, ScoresShowUntilMoreThanASecondAfterTheLastMessage) {
    m.pointLineShown = true;
    messageTiming(m, io);
    EXPECT_TRUE(m.showScores);
    EXPECT_EQ(kT, m.lastMessageTime);

    m.pointLineShown = false;
    s.now = kT + 999;
    messageTiming(m, io);
    EXPECT_TRUE(m.showScores);
    s.now = kT + 1000;
    messageTiming(m, io);
    EXPECT_TRUE(m.showScores);
    s.now = kT + 1001;
    messageTiming(m, io);
    EXPECT_FALSE(m.showScores);
}

TEST_F(ScoringTest, AtExactlyOneSecondTheScoreDisplayKeepsItsValue) {
    for (bool shown : {false, true}) {
        m.showScores = shown;
        m.lastMessageTime = kT - 1000;
        messageTiming(m, io);
        EXPECT_EQ(shown, m.showScores);
    }
}

// --- Score texts and the win -------------------------------------------------

struct FormatCase {
    float score;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.score; }

struct ScoreFormat : ::testing::TestWithParam<FormatCase> {};

TEST_P(ScoreFormat, HalfPointsKeepTheirDecimal) {
    char text[16];
    formatScore(GetParam().score, text, static_cast<int>(sizeof text));
    EXPECT_STREQ(GetParam().text, text);
}

INSTANTIATE_TEST_SUITE_P(Values, ScoreFormat,
                         ::testing::Values(FormatCase{0.0f, "0"}, FormatCase{0.5f, "0.5"},
                                           FormatCase{1.0f, "1"}, FormatCase{3.5f, "3.5"},
                                           FormatCase{6.5f, "6.5"}, FormatCase{7.0f, "7"},
                                           // the winning frame's 6.5 + 1 must not read "8"
                                           FormatCase{7.5f, "7.5"}, FormatCase{8.0f, "8"}));

struct WinCase {
    float cpu, player;
    int winners;
};

void PrintTo(const WinCase& c, std::ostream* os) { *os << c.cpu << " to " << c.player; }

struct Winning : ::testing::TestWithParam<WinCase> {};

TEST_P(Winning, SevenOrMoreEndsTheMatch) {
    const WinCase c = GetParam();
    MatchState m;
    m.cpuScore = c.cpu;
    m.playerScore = c.player;
    EXPECT_EQ(c.winners, updateScoresAndWinner(m));
    EXPECT_EQ(c.winners != WINNER_NONE, m.matchOver);
}

INSTANTIATE_TEST_SUITE_P(Scores, Winning,
                         ::testing::Values(WinCase{6.5f, 6.5f, WINNER_NONE},
                                           WinCase{7.0f, 3.0f, WINNER_CPU},
                                           WinCase{7.5f, 6.5f, WINNER_CPU},
                                           WinCase{2.0f, 7.0f, WINNER_PLAYER},
                                           WinCase{7.0f, 7.0f, WINNER_CPU | WINNER_PLAYER}));

TEST(ScoreTexts, FollowTheScoresEveryFrame) {
    MatchState m;
    m.cpuScore = 6.5f;
    m.playerScore = 2.0f;
    updateScoresAndWinner(m);
    EXPECT_STREQ("6.5", m.cpuScoreText);
    EXPECT_STREQ("2", m.playerScoreText);
    m.cpuScore = 7.0f;
    updateScoresAndWinner(m);
    EXPECT_STREQ("7", m.cpuScoreText);
}

TEST(ScoreTexts, AWinningCpuPointIsSeenThroughTheFrameStages) {
    // The CPU's ball goes past the player's end at 6.5 to 0: the frame that
    // scores it also ends the match, with the winner reported to the loop.
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.now = kT;
    MatchState m;
    m.cpuScore = 6.5f;
    m.cpuBallInFlight = true;
    m.ballX = 475;
    m.ballY = 700;
    m.shadowY = 700;
    m.ballCentreX = 500;
    m.ballCentreY = 725;
    m.power = 5;
    m.shotStart = kT - 100;
    const int winners = runFrameStages(m, io);
    EXPECT_EQ(WINNER_CPU, winners);
    EXPECT_TRUE(m.matchOver);
    EXPECT_TRUE(m.pointLineShown);
    EXPECT_TRUE(m.showScores);
    EXPECT_STREQ("7.5", m.cpuScoreText);
}

}  // namespace
