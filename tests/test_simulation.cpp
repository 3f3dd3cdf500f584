// Whole matches, headless: the real runMatch driven frame by frame with
// a scripted player who aims, charges, releases and tries to catch the
// CPU's shots. Every match must end with a winner, and no state may leave
// its range on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

#include "match/match.h"
#include "rally_player.h"
#include "scripted_io.h"

namespace {

// Frames of 30 ms (frameStep 15) keep a whole match within a few thousand
// drawn frames.
constexpr int kFrameMs = 30;
constexpr int kMatchesPerLevel = 3;
constexpr long kFrameLimit = 200000;  // well over an hour of play

struct Violation {
    long frame = -1;
    std::string what;
};

void checkRanges(const MatchState& m, long frame, float lastCpu, float lastPlayer, Violation& v) {
    if (v.frame >= 0) return;
    std::ostringstream why;
    if (m.heightTendency < 0 || m.heightTendency > 5) why << "heightTendency " << m.heightTendency;
    if (m.rightShots < 0 || m.leftShots < 0 || m.centreShots < 0) {
        why << "counters " << m.rightShots << "/" << m.leftShots << "/" << m.centreShots;
    }
    if (m.cpuX < 80 || m.cpuX > 910) why << "cpuX " << m.cpuX;
    if (m.playerBallInFlight && m.cpuBallInFlight) why << "both balls in flight";
    if (m.cpuScore < lastCpu || m.playerScore < lastPlayer) why << "a score went down";
    if (std::fmod(m.cpuScore * 2.0f, 1.0f) != 0.0f || std::fmod(m.playerScore * 2.0f, 1.0f) != 0.0f) {
        why << "score not in half points";
    }
    if (!why.str().empty()) {
        v.frame = frame;
        v.what = why.str();
    }
}

struct MatchResult {
    float cpu = 0, player = 0;
    int winners = WINNER_NONE;
    long frames = 0;
    int blocks = 0;
    long cpuServes = 0;
    // Points by how they came: [player's shot past the line, player's shot
    // out, CPU's shot past the line, CPU's shot out].
    int points[4] = {};
    Violation violation;
};

// One whole match through runMatch with the scripted player; the checks
// run on each frame as drawn.
MatchResult playMatch(int level, unsigned seed) {
    ScriptedIo s;
    s.now = 4000 + static_cast<int32_t>(seed) * 37;  // the clock seeds the match
    RallyPlayer player(seed);
    MatchResult r;
    float cpuBefore = 0, playerBefore = 0;
    bool playerShotBefore = false, cpuShotBefore = false;
    s.beforePass = [&r](ScriptedIo& io, int) {
        io.now += kFrameMs;
        if (r.frames >= kFrameLimit) io.pushQuit();
    };
    s.afterFrame = [&](ScriptedIo& io, const MatchState& m) {
        ++r.frames;
        if (playerShotBefore && !m.playerBallInFlight && m.cpuCarriesBall) ++r.blocks;
        if (!cpuShotBefore && m.cpuBallInFlight) ++r.cpuServes;
        if (m.playerScore - playerBefore == 1.0f) ++r.points[0];
        if (m.cpuScore - cpuBefore == 0.5f) ++r.points[1];
        if (m.cpuScore - cpuBefore == 1.0f) ++r.points[2];
        if (m.playerScore - playerBefore == 0.5f) ++r.points[3];
        checkRanges(m, r.frames, cpuBefore, playerBefore, r.violation);
        cpuBefore = m.cpuScore;
        playerBefore = m.playerScore;
        playerShotBefore = m.playerBallInFlight;
        cpuShotBefore = m.cpuBallInFlight;
        r.cpu = m.cpuScore;
        r.player = m.playerScore;
        player.act(m, io);
    };
    runMatch(0, nullptr, 1, level, 6, 6, 6, s.io_);
    // Each winner's text stays up for 2000 ms, the CPU's first.
    int held = 0;
    for (uint32_t ms : s.delays) held += ms == 2000;
    if (held == 2) r.winners = WINNER_CPU | WINNER_PLAYER;
    if (held == 1) r.winners = r.cpu >= r.player ? WINNER_CPU : WINNER_PLAYER;
    return r;
}

struct WholeMatches : ::testing::TestWithParam<int> {};

TEST_P(WholeMatches, EndWithOneSideAtSevenAndEveryStateInRange) {
    const int level = GetParam();
    int cpuWins = 0, playerWins = 0;
    long totalFrames = 0, shortest = kFrameLimit, longest = 0;
    long blocks = 0, serves = 0;
    double loserPoints = 0;
    long points[4] = {};
    for (int i = 0; i < kMatchesPerLevel; ++i) {
        const unsigned seed = static_cast<unsigned>(level * 1000 + i + 1);
        const MatchResult r = playMatch(level, seed);
        SCOPED_TRACE("seed " + std::to_string(seed));
        ASSERT_LT(r.frames, kFrameLimit) << "the match did not end";
        EXPECT_EQ(-1, r.violation.frame) << r.violation.what << " at frame " << r.violation.frame;
        const float high = std::max(r.cpu, r.player), low = std::min(r.cpu, r.player);
        EXPECT_GE(high, 7.0f);
        EXPECT_LE(high, 7.5f);
        EXPECT_TRUE(low < 7.0f || low == high) << r.cpu << " to " << r.player;
        // The loop was told exactly who won.
        const int expected =
            (r.cpu >= 7.0f ? WINNER_CPU : 0) | (r.player >= 7.0f ? WINNER_PLAYER : 0);
        EXPECT_EQ(expected, r.winners);

        (r.winners & WINNER_CPU ? cpuWins : playerWins) += 1;
        totalFrames += r.frames;
        shortest = std::min(shortest, r.frames);
        longest = std::max(longest, r.frames);
        blocks += r.blocks;
        serves += r.cpuServes;
        loserPoints += low;
        for (int k = 0; k < 4; ++k) points[k] += r.points[k];
    }
    // Both sides must be able to win some matches against this player at
    // level 1; otherwise a rule that favours one side has gone wrong.
    if (level == 1) {
        EXPECT_GT(cpuWins, 0);
        EXPECT_GT(playerWins, 0);
    }

    const long mean = totalFrames / kMatchesPerLevel;
    std::cout << "level " << level << ": " << kMatchesPerLevel << " matches, CPU won "
              << cpuWins << ", player won " << playerWins << "; frames per match mean " << mean
              << " (" << mean * kFrameMs / 1000 << " s), shortest " << shortest << ", longest "
              << longest << "; per match " << static_cast<double>(blocks) / kMatchesPerLevel
              << " blocks, " << static_cast<double>(serves) / kMatchesPerLevel
              << " CPU serves; loser's mean score " << loserPoints / kMatchesPerLevel
              << "; points: player's shots past the line " << points[0] << ", out " << points[1]
              << ", CPU's shots past the line " << points[2] << ", out " << points[3] << "\n";
    RecordProperty("cpu_wins", cpuWins);
    RecordProperty("player_wins", playerWins);
    RecordProperty("mean_frames", static_cast<int>(mean));
    RecordProperty("shortest_frames", static_cast<int>(shortest));
    RecordProperty("longest_frames", static_cast<int>(longest));
}

INSTANTIATE_TEST_SUITE_P(Levels, WholeMatches, ::testing::Values(1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& level) {
                             return "Level" + std::to_string(level.param);
                         });

}  // namespace
