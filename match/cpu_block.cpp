// The CPU stops the player's ball inside its block box when the roll in
// force allows it.
#include "match/stages.h"

namespace {

constexpr int kBlockingRoll = 3;

}  // namespace

void tryBlock(MatchState& m, const MatchIo& io) {
    const bool inBox = m.cpuX - 15 < m.ballX && m.ballX < m.cpuX + 35 &&
                       layout::kCpuY + 50 < m.ballY && m.ballY < layout::kCpuY + 95;
    if (!inBox || m.cpuBlockRoll > kBlockingRoll || !m.playerBallInFlight) return;
    io.play(SOUND_CPU_BLOCK);
    m.playerBallInFlight = false;
    m.cpuRecovering = true;
    m.cpuCarriesBall = true;
    m.cpuServePending = true;
}
