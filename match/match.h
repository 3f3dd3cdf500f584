// One match, from set-up to a win, Escape or a closed window.
#pragma once

#include "platform/i_system.h"

int runMatch(int argc, char** argv, int fieldKind, int enemyLevel, int clubHeight, int clubSpeed,
             int clubPrecision, const GameIo& io = sdlGameIo());

// The same match one frame at a time, for the benchmark (bench/): the set-up
// runMatch does, one pass of its frame loop per runMatchFrame (events,
// stages, drawing, flip, pacing, frameDone), and its teardown. runMatch is
// exactly open, runMatchFrame until matchOver, close. The state may be set
// between frames.
struct MatchState;
struct MatchFrames;
MatchFrames* openMatchFrames(int fieldKind, int enemyLevel, int clubHeight, int clubSpeed,
                             int clubPrecision, const GameIo& io);
MatchState& matchFramesState(MatchFrames* frames);
void runMatchFrame(MatchFrames* frames);
void closeMatchFrames(MatchFrames* frames);
