// The player's aim: the right button opens the overlay, the left button
// charges the bar while the crosshair drifts, letting go (or running the
// cover past the bar's end) releases the shot, and the target window turns
// the crosshair's place into lift, curve and an on-target verdict.
#include "match/stages.h"

namespace {

constexpr uint8_t kLeftButton = 1;   // SDL_BUTTON(1)
constexpr uint8_t kRightButton = 4;  // SDL_BUTTON(3)

using namespace layout;

// Places the crosshair away from the pointer by the drift offsets, in the
// direction drawn when charging began.
void placeCrosshair(MatchState& m, int dX, int dY) {
    // Sign of the x and y drift for directions 1..8 (y grows downwards).
    static const int kSignX[8] = {1, -1, 1, -1, 1, -1, 0, 0};
    static const int kSignY[8] = {1, -1, -1, 1, 0, 0, 1, -1};
    const int d = m.driftDirection;
    if (d < 1 || d > 8) {
        m.crosshairX = m.pointerX;
        m.crosshairY = m.pointerY;
        return;
    }
    m.crosshairX = m.pointerX + kSignX[d - 1] * dX;
    m.crosshairY = m.pointerY + kSignY[d - 1] * dY;
}

}  // namespace

void openAim(MatchState& m, const MatchIo& io) {
    if ((io.buttons() & kRightButton) && m.readyToAim) {
        m.aiming = true;
        m.readyToAim = false;
    }
}

void aimStep(MatchState& m, const MatchIo& io) {
    if (!m.aiming) return;

    m.released = false;
    m.charging = false;
    m.ballX = kRestBallX;
    m.ballY = kRestBallY;
    m.shadowY = kRestBallY;

    // Until the left button is first held everything starts afresh each
    // frame, so the drift direction in force is the one of the first
    // charging frame.
    if (!m.chargeStarted) {
        m.aimDriftX = 0;
        m.aimDriftY = 0;
        m.power = 0;
        m.lift = 0;
        m.curve = 0;
        m.barCoverX = kBarCoverStartX;
        m.driftDirection = io.random() % 8 + 1;
    }

    if (io.buttons() & kLeftButton) {
        m.charging = true;
        m.chargeStarted = true;
        m.barCoverX += m.frameStep * 4 / 10;
        // The offsets before this frame's growth: the first charging frame
        // puts the crosshair on the pointer.
        placeCrosshair(m, m.aimDriftX, m.aimDriftY);
        const int growth = m.aimDriftRate * m.frameStep / 10;
        m.aimDriftX += growth;
        m.aimDriftY += growth;
    }

    if (m.chargeStarted && (!m.charging || m.barCoverX > kBarCoverEndX)) {
        m.released = true;
        m.charging = false;
        m.power = (m.barCoverX - kPowerStepX) / kPowerStep;
    }

    if (!m.chargeStarted) {
        m.crosshairX = m.pointerX;
        m.crosshairY = m.pointerY;
    }

    // The charge sound waits for whatever else plays on the channel and
    // restarts whenever it ends; any frame without the button silences it.
    if (m.charging) {
        if (!io.channelBusy()) io.play(SOUND_CHARGE);
    } else {
        io.halt();
    }

    if (m.released) {
        evaluateTargetWindow(m);
        io.play(SOUND_SHOT);
        m.playerBallInFlight = true;
        m.shotStart = io.now();
        m.aiming = false;
        m.chargeStarted = false;
    }
}

void evaluateTargetWindow(MatchState& m) {
    // Curve by column of the window's left half, outer edge first.
    static const int kLeftHalfCurve[10] = {10, 9, 8, 7, 6, 5, 2, 3, 2, 1};
    const int cx = m.crosshairCentreX;
    const int cy = m.crosshairCentreY;

    // Lift bands: the lower band lofts the ball, the upper one costs power.
    const bool inBands = cx > kBandLeft && cx < kBandRight;
    if (inBands && cy > kBandSplit && cy < kLowerBandBottom) {
        m.lift = (cy - kBandSplit) / kLiftRowH;
    } else if (inBands && cy > kUpperBandTop && cy < kBandSplit) {
        m.lift = 0;
        m.power -= 3;
    }

    // Curve halves: they alone decide whether the shot is on target.
    const bool inHalvesRows = cy > kHalvesTop && cy < kHalvesBottom;
    if (cx > kHalvesLeft && cx < kHalvesMid && inHalvesRows) {
        m.shotOnTarget = true;
        m.curveSide = 1;
        m.curve = kLeftHalfCurve[(cx - kHalvesLeft) / kCurveColumnW];
    } else if (cx > kHalvesMid && cx < kHalvesRight && inHalvesRows) {
        m.shotOnTarget = true;
        m.curveSide = 2;
        m.curve = (cx - kHalvesMid) / kCurveColumnW;
    } else {
        m.shotOnTarget = false;
    }
}
