// Zone tests, messages, score texts and the win. Every zone is judged on the
// ball's centre as it was drawn last frame; every bound is strict.
#include <cmath>
#include <cstdio>

#include "match/stages.h"

namespace {

constexpr Clock kZoneSoundGapMs = 1000;
constexpr Clock kPointGapMs = 3000;
constexpr Clock kScoresAfterMessageMs = 1000;
constexpr Clock kMessagePeriodMs = 3000;
constexpr float kWinningScore = 7.0f;

using namespace layout;

bool inOutZone(int cx, int cy) {
    const bool besideField = kOutZoneTop < cy && cy < kPitchBottom;
    return (cx < kPitchLeft && besideField) || (cx > kPitchRight && besideField);
}

bool betweenSideLines(int cx) { return kPitchLeft < cx && cx < kPitchRight; }

// Raises nothing itself: plays the zone's sound through the gate both blocks
// share, and gives the points through the block's own gate, only while the
// block's side has its shot in flight.
void zoneEvent(MatchState& m, const MatchIo& io, MatchSound sound, bool shotInFlight,
               Clock& lastScore, float& scorer, float points) {
    if (io.now() - m.lastZoneSound > kZoneSoundGapMs) {
        io.play(sound);
        m.lastZoneSound = io.now();
    }
    if (io.now() - lastScore > kPointGapMs && shotInFlight) {
        scorer += points;
        lastScore = io.now();
    }
}

void clearOutFarBeyondSides(MatchState& m) {
    if (m.ballCentreX < -200 || m.ballCentreX > 1220) m.outShown = false;
}

bool messageUp(const MatchState& m) { return m.outShown || m.pointLineShown; }

}  // namespace

void zoneTestsPlayerShot(MatchState& m, const MatchIo& io) {
    if (inOutZone(m.ballCentreX, m.ballCentreY)) {
        m.outShown = true;
        zoneEvent(m, io, SOUND_CPU_SCORES, m.playerBallInFlight, m.lastPlayerShotScore, m.cpuScore,
                  0.5f);
    }
    clearOutFarBeyondSides(m);
    if (m.ballCentreY < kPitchTop && betweenSideLines(m.ballCentreX)) {
        m.pointLineShown = true;
        zoneEvent(m, io, SOUND_PLAYER_SCORES, m.playerBallInFlight, m.lastPlayerShotScore,
                  m.playerScore, 1.0f);
    }
    if (m.ballCentreY < -260) m.pointLineShown = false;
}

void zoneTestsCpuShot(MatchState& m, const MatchIo& io) {
    if (inOutZone(m.ballCentreX, m.ballCentreY)) {
        m.outShown = true;
        zoneEvent(m, io, SOUND_PLAYER_SCORES, m.cpuBallInFlight, m.lastCpuShotScore, m.playerScore,
                  0.5f);
    }
    clearOutFarBeyondSides(m);
    if (m.ballCentreY > kPitchBottom && betweenSideLines(m.ballCentreX)) {
        m.pointLineShown = true;
        zoneEvent(m, io, SOUND_CPU_SCORES, m.cpuBallInFlight, m.lastCpuShotScore, m.cpuScore, 1.0f);
    }
    if (m.ballCentreY > 1280) m.pointLineShown = false;
}

void messageTiming(MatchState& m, const MatchIo& io) {
    if (messageUp(m)) m.lastMessageTime = io.now();
    // At exactly the limit the scores keep whatever they showed.
    if (io.now() - m.lastMessageTime < kScoresAfterMessageMs) m.showScores = true;
    if (io.now() - m.lastMessageTime > kScoresAfterMessageMs) m.showScores = false;
    if (m.messageArmed && messageUp(m)) {
        m.messageStart = io.now();
        m.messageArmed = false;
    }
    if (io.now() - m.messageStart > kMessagePeriodMs) {
        m.pointLineShown = false;
        m.outShown = false;
        m.messageArmed = true;
    }
}

void formatScore(float score, char* out, int size) {
    // Scores move in steps of 0.5. Every half point keeps its decimal, the
    // 7.5 of a winning frame included: with "%1.0f" it would read "8".
    const double value = score;
    const bool halfPoint = value - std::floor(value) == 0.5;
    std::snprintf(out, static_cast<size_t>(size), halfPoint ? "%1.1f" : "%1.0f", value);
}

int updateScoresAndWinner(MatchState& m) {
    formatScore(m.cpuScore, m.cpuScoreText, static_cast<int>(sizeof m.cpuScoreText));
    formatScore(m.playerScore, m.playerScoreText, static_cast<int>(sizeof m.playerScoreText));
    int winners = WINNER_NONE;
    if (m.cpuScore >= kWinningScore) {
        m.matchOver = true;
        winners |= WINNER_CPU;
    }
    if (m.playerScore >= kWinningScore) {
        m.matchOver = true;
        winners |= WINNER_PLAYER;
    }
    return winners;
}
