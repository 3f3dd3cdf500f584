// The ball between the two sides: the player's shot up the field, the
// CPU's shot down it, the player's catch and walk back, and the two ends of
// the field that pass the ball on or reset the rally.
#include "match/stages.h"
#include "match/walk.h"

namespace {

using layout::kRestBallX;
using layout::kRestBallY;
using layout::kPlayerY;
constexpr int kFarEndY = -500;    // beyond it the CPU gets the ball
constexpr int kNearEndY = 1300;   // beyond it the rally starts afresh
constexpr int kStraightRate = 3;  // an off-target ball rolls slowly

// Milliseconds since the shot, held at 500 for weak shots and 1000 for the
// others: the ball climbs until then and keeps its height afterwards.
int cappedFlightTime(const MatchState& m, Clock now) {
    int t = static_cast<int>(now - m.shotStart);
    if (m.power <= 5 && t > 500) t = 500;
    if (m.power >= 6 && t > 1000) t = 1000;
    return t;
}

// The curved flight shared by both sides; direction is -1 up, +1 down.
void curvedFlight(MatchState& m, Clock now, int clubSpeed, int clubHeight, int direction) {
    m.flightTime = cappedFlightTime(m, now);
    m.flightSpeed = m.power + clubSpeed;
    if (m.lift > 1 && m.flightSpeed > 5) {
        m.flightHeight = (clubHeight + m.lift + m.flightSpeed) * m.flightTime / 1000;
    } else {
        m.flightHeight = 1;
    }
    m.curveStep = m.curve * 3 / 2;
    m.ballY += direction * (m.flightSpeed * m.frameStep / 10);
    // The height shows only as the shadow's distance below the ball.
    m.shadowY = m.ballY + 5 * m.flightHeight;
    if (m.curveSide == 1) {
        m.ballX += m.curveStep * m.frameStep / 10;
    } else if (m.curveSide == 2) {
        m.ballX -= m.curveStep * m.frameStep / 10;
    }
}

}  // namespace

void catchAndWalkBack(MatchState& m, const MatchIo& io) {
    if (m.cpuBallInFlight || m.cpuServePending) {
        m.playerX = m.pointerX;
        const bool hit = m.playerX + 60 < m.ballCentreX && m.ballCentreX < m.playerX + 80 &&
                         kPlayerY + 60 < m.ballCentreY && m.ballCentreY < kPlayerY + 95;
        if (hit) {
            io.play(SOUND_CATCH);
            m.cpuBallInFlight = false;
            m.ballY = kRestBallY;
            m.shadowY = kRestBallY;
            m.playerReturning = true;
            m.playerCarriesBall = true;
        }
    }

    if (m.playerReturning) {
        if (walkTowardCentre(m.playerX, m.frameStep)) {
            m.playerReturning = false;
            m.playerCarriesBall = false;
            m.readyToAim = true;
        }
        m.ballX = m.playerCarriesBall ? m.playerX + 50 : kRestBallX;
        m.ballY = kRestBallY;
        m.shadowY = kRestBallY;
    }
}

void playerFlight(MatchState& m, const MatchIo& io) {
    if (!m.playerBallInFlight) return;
    if (m.shotOnTarget) {
        curvedFlight(m, io.now(), m.clubSpeed, m.clubHeight, -1);
        return;
    }
    // Off target the ball rolls straight up the middle on the ground; the
    // flight values of the last curved shot stay as they were.
    m.ballY -= m.frameStep * kStraightRate / 10;
    m.shadowY = m.ballY;
    m.ballX = kRestBallX;
}

void farEndHandOver(MatchState& m) {
    if (m.ballY < kFarEndY) {
        m.playerBallInFlight = false;
        m.cpuRecovering = true;
        m.cpuServePending = true;
    }
}

void cpuFlight(MatchState& m, const MatchIo& io) {
    if (!m.cpuBallInFlight) return;
    curvedFlight(m, io.now(), m.cpuClubSpeed, m.cpuClubHeight, +1);
}

void nearEndReset(MatchState& m) {
    if (m.ballY <= kNearEndY) return;
    m.cpuBallInFlight = false;
    m.power = 0;
    m.flightSpeed = 0;
    m.lift = 0;
    m.flightHeight = 0;
    m.curveStep = 0;
    m.curve = 0;
    m.curveSide = 0;
    m.ballX = kRestBallX;
    m.ballY = kRestBallY;
    m.shadowY = kRestBallY;
    m.playerReturning = true;
    m.playerBallInFlight = false;
    // The player walks back from where the pointer left the figure.
}
