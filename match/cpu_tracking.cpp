// The CPU follows the player's ball sideways, with an extra step towards a
// side the player favours, then draws its block roll.
#include "match/stages.h"

namespace {

// Moves toward the ball by step while cpuX + 20 stays inside (left, right);
// the bounds are tested before the move, so one step may end beyond them.
void stepTowardBall(MatchState& m, int step, int leftBound, int rightBound) {
    if (m.cpuX + 10 < m.ballX && m.cpuX + 20 < rightBound) m.cpuX += step;
    if (m.cpuX + 10 > m.ballX && m.cpuX + 20 > leftBound) m.cpuX -= step;
}

}  // namespace

void trackAndRoll(MatchState& m, const MatchIo& io) {
    if (!m.playerBallInFlight) return;
    const int step = m.frameStep * 7 / 10;
    const int fastStep = m.frameStep * 10 / 10;
    stepTowardBall(m, step, 130, 880);

    // Level 3 trusts a single count; the others want two.
    const int favoured = m.enemyLevel == 3 ? 1 : 2;
    if (m.rightShots >= favoured && m.ballX > 600) stepTowardBall(m, fastStep, 120, 900);
    if (m.leftShots >= favoured && m.ballX < 360) stepTowardBall(m, fastStep, 120, 900);

    if (m.enemyLevel == 2) {
        m.cpuReadsSides = m.rightShots >= 2 || m.leftShots >= 2 || m.centreShots >= 3;
    }
    rollForBlock(m, io);
}
