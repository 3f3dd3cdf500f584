// The CPU's shot, from where its walk back put the ball down.
#include "match/stages.h"

namespace {

constexpr Clock kServeDelayMs = 500;

int drawPower(const MatchState& m, const MatchIo& io) {
    if (m.enemyLevel == 2) {
        // Level 2 hits harder the more it has read of the player's game.
        const int reads = (m.cpuReadsSides ? 1 : 0) + (m.cpuReadsHeight ? 1 : 0);
        if (reads == 1) return io.random() % 5 + 15;
        if (reads == 2) return io.random() % 10 + 15;
    }
    return io.random() % 6 + 5;
}

int drawLift(const MatchState& m, const MatchIo& io) {
    if (m.enemyLevel == 3) return io.random() % 10 + 15;
    return io.random() % 10 + 1;
}

}  // namespace

void serveIfReady(MatchState& m, const MatchIo& io) {
    if (!m.cpuServePending || m.cpuRecovering) return;
    if (io.now() - m.cpuRecoverEnd <= kServeDelayMs) return;
    m.power = drawPower(m, io);
    m.lift = drawLift(m, io);
    m.curve = io.random() % 5 + 1;
    m.curveSide = io.random() % 2 + 1;
    io.play(SOUND_SHOT);
    m.cpuServePending = false;
    m.cpuBallInFlight = true;
    m.shotStart = io.now();
}
