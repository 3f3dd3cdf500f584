#include "match/stages.h"

int aimDriftRateFor(int clubPrecision) {
    // 10 - precision, except that precision 6 drifts at 2; values outside
    // 0..10 pass unchanged.
    static const int kRates[11] = {10, 9, 8, 7, 6, 5, 2, 3, 2, 1, 0};
    if (clubPrecision < 0 || clubPrecision > 10) return clubPrecision;
    return kRates[clubPrecision];
}

void setUpMatchState(MatchState& m, const MatchIo& io, int fieldKind, int enemyLevel,
                     int clubHeight, int clubSpeed, int clubPrecision) {
    io.io->seedRandom(io.io->ctx, static_cast<unsigned>(io.now()));
    m = MatchState{};
    m.cpuClubSpeed = io.random() % 5 + 5;
    m.cpuClubHeight = io.random() % 5 + 5;
    m.fieldKind = fieldKind;
    m.enemyLevel = enemyLevel;
    m.clubHeight = clubHeight;
    m.clubSpeed = clubSpeed;
    m.clubPrecision = clubPrecision;
    m.aimDriftRate = aimDriftRateFor(clubPrecision);
}

void refreshDrawPositions(MatchState& m) {
    m.ballCentreX = m.ballX + 25;
    m.ballCentreY = m.ballY + 25;
    m.crosshairCentreX = m.crosshairRect.x + 25;
    m.crosshairCentreY = m.crosshairRect.y + 25;
    m.crosshairRect.x = static_cast<Sint16>(m.crosshairX);
    m.crosshairRect.y = static_cast<Sint16>(m.crosshairY);
}
