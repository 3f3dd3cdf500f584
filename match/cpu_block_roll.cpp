// The block roll: 1..n by level, speed and height; 3 or less lets the CPU
// block. The rows of each table are tried in order and the last that holds
// sets n.
#include "match/stages.h"

namespace {

constexpr Clock kRollGapMs = 1000;
constexpr int kRollBelowY = 200;

}  // namespace

int blockRollRange(int enemyLevel, int flightSpeed, int ballHeight) {
    const bool fast = flightSpeed > 10;
    if (enemyLevel == 3) {
        int n = 3;
        if (fast && ballHeight > 80) n = 4;
        if (ballHeight > 120) n = 25;
        return n;
    }
    // Levels 1 and 2 grade the same way; level 2 rolls one lower in each grade.
    const bool level2 = enemyLevel == 2;
    int n = level2 ? 5 : 6;
    if (fast) n = level2 ? 6 : 7;
    if (fast && ballHeight > 70) n = level2 ? 8 : 9;
    if (fast && ballHeight > 110) n = level2 ? 9 : 10;
    return n;
}

void rollForBlock(MatchState& m, const MatchIo& io) {
    if (io.now() - m.lastBlockRoll <= kRollGapMs || m.ballY >= kRollBelowY) return;
    const int ballHeight = m.shadowY - m.ballY;
    m.cpuBlockRoll = io.random() % blockRollRange(m.enemyLevel, m.flightSpeed, ballHeight) + 1;
    if (m.enemyLevel == 2) {
        m.cpuReadsHeight = m.heightTendency >= 3;
    } else if (m.enemyLevel != 3 && ballHeight > 60) {
        // Level 1 expects high balls once it has seen some; it may go to 0
        // or below, and still blocks.
        m.cpuBlockRoll -= m.heightTendency;
    }
    m.lastBlockRoll = io.now();
}
