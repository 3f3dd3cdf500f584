// The stages of a match frame. Each works on the one MatchState and reaches
// the platform only through MatchIo, so every rule can be run and checked
// without a screen. The frame loop (match_loop.cpp) calls them in order.
#pragma once

#include "platform/i_system.h"
#include "match/match_state.h"

struct MatchIo {
    const GameIo* io;
    Mix_Chunk* const* sounds;  // SOUND_COUNT chunks, or null when nothing is loaded

    Clock now() const { return io->clock(io->ctx); }
    int random() const { return io->random(io->ctx); }
    uint8_t buttons() const { return io->mouseButtons(io->ctx); }
    bool channelBusy() const { return io->channelBusy(io->ctx); }
    void play(MatchSound s) const { io->playSound(io->ctx, s, sounds ? sounds[s] : nullptr); }
    void halt() const { io->haltChannel(io->ctx); }
};

// setup.cpp
int aimDriftRateFor(int clubPrecision);
// Seeds the generator from the clock, gives every field its initial value
// and draws the CPU's club (the first two draws after seeding).
void setUpMatchState(MatchState& m, const MatchIo& io, int fieldKind, int enemyLevel,
                     int clubHeight, int clubSpeed, int clubPrecision);
// Draw-stage bookkeeping before the blits: ball centre from this frame's
// position, crosshair centre from the rectangle the last blit left, then
// the rectangle refreshed from crosshairX/Y.
void refreshDrawPositions(MatchState& m);

// aim.cpp: stage 4 and stage 6.
void openAim(MatchState& m, const MatchIo& io);
void aimStep(MatchState& m, const MatchIo& io);
// Lift, power penalty, curve, side and on-target verdict from the crosshair
// centre (crosshairCentreX/Y) at the release.
void evaluateTargetWindow(MatchState& m);

// flight.cpp: stages 5, 7, 8, 12 and 14.
void catchAndWalkBack(MatchState& m, const MatchIo& io);
void playerFlight(MatchState& m, const MatchIo& io);
void farEndHandOver(MatchState& m);
void cpuFlight(MatchState& m, const MatchIo& io);
void nearEndReset(MatchState& m);

// scoring.cpp: stages 9, 13, 18 and 19.
void zoneTestsPlayerShot(MatchState& m, const MatchIo& io);
void zoneTestsCpuShot(MatchState& m, const MatchIo& io);
void messageTiming(MatchState& m, const MatchIo& io);
// "%1.1f" for half points, "%1.0f" for whole ones.
void formatScore(float score, char* out, int size);
enum Winner { WINNER_NONE = 0, WINNER_CPU = 1, WINNER_PLAYER = 2 };
// Formats both score texts and sets matchOver when a side has 7 or more.
// Returns the winners (a mask of Winner values, CPU first) whose text the
// frame loop shows for 2000 ms before drawing the frame.
int updateScoresAndWinner(MatchState& m);

// cpu_tendencies.cpp: stage 10.
void countTendencies(MatchState& m, const MatchIo& io);
// cpu_serve.cpp: stage 11.
void serveIfReady(MatchState& m, const MatchIo& io);
// cpu_tracking.cpp: stage 15 (following the ball, then cpu_block_roll.cpp's roll).
void trackAndRoll(MatchState& m, const MatchIo& io);
// cpu_block_roll.cpp: the block roll drawn by trackAndRoll.
int blockRollRange(int enemyLevel, int flightSpeed, int ballHeight);
void rollForBlock(MatchState& m, const MatchIo& io);
// cpu_block.cpp: stage 16.
void tryBlock(MatchState& m, const MatchIo& io);
// cpu_walk_back.cpp: stage 17.
void walkBack(MatchState& m, const MatchIo& io);

// frame.cpp: stages 4 to 19 in their fixed order; returns the winner mask.
int runFrameStages(MatchState& m, const MatchIo& io);
