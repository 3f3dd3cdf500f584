// Where and how high balls reach the CPU's end. The counters steer the
// extra tracking step, the level 2 serve and the level 1 roll.
#include "match/stages.h"

namespace {

constexpr Clock kCountGapMs = 1000;
constexpr int kMaxHeightTendency = 5;

bool sideGateOpen(const MatchState& m, const MatchIo& io) {
    return io.now() - m.lastSideCount > kCountGapMs;
}

bool heightGateOpen(const MatchState& m, const MatchIo& io) {
    return io.now() - m.lastHeightCount > kCountGapMs;
}

}  // namespace

void countTendencies(MatchState& m, const MatchIo& io) {
    // Only while the CPU's own shot is not travelling; any other ball in a
    // zone counts, the one the CPU carries or waits with included.
    if (m.cpuBallInFlight) return;
    const int x = m.ballX;
    const int y = m.ballY;
    const int ballHeight = m.shadowY - m.ballY;
    const bool sideRow = 40 < y && y < 150;
    const bool heightRow = 100 < y && y < 150;

    // The three side zones share one gate.
    if (sideRow && 680 < x && x < 890 && sideGateOpen(m, io)) {
        ++m.rightShots;
        if (m.leftShots > 0) --m.leftShots;
        m.lastSideCount = io.now();
    }
    if (sideRow && 130 < x && x < 340 && sideGateOpen(m, io)) {
        ++m.leftShots;
        if (m.rightShots > 0) --m.rightShots;
        m.lastSideCount = io.now();
    }
    if (sideRow && 430 < x && x < 600 && sideGateOpen(m, io)) {
        ++m.centreShots;
        m.lastSideCount = io.now();
    }

    // So do the two height tests; the gate closes even when the tendency
    // is already at its bound.
    if (heightRow && ballHeight < 40 && heightGateOpen(m, io)) {
        if (m.heightTendency > 0) --m.heightTendency;
        m.lastHeightCount = io.now();
    }
    if (heightRow && ballHeight > 60 && heightGateOpen(m, io)) {
        if (m.heightTendency < kMaxHeightTendency) ++m.heightTendency;
        m.lastHeightCount = io.now();
    }
}
