// The CPU walks back to the centre, with the ball after a block, and puts
// the ball down at (450, 80) for its serve.
#include "match/stages.h"
#include "match/walk.h"

namespace {

constexpr int kParkedBallX = 450;
constexpr int kCpuBallY = 80;

}  // namespace

void walkBack(MatchState& m, const MatchIo& io) {
    if (!m.cpuRecovering) return;
    // The figure's hand, cpuX + 10, is what has to reach the centre band.
    int hand = m.cpuX + 10;
    const bool arrived = walkTowardCentre(hand, m.frameStep);
    m.cpuX = hand - 10;
    if (arrived) {
        m.cpuRecovering = false;
        m.cpuCarriesBall = false;
        m.cpuRecoverEnd = io.now();
    }
    m.ballX = m.cpuCarriesBall ? m.cpuX + 10 : kParkedBallX;
    m.ballY = kCpuBallY;
    m.shadowY = kCpuBallY;
}
