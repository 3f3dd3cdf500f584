#include "match/stages.h"

#include <cstdio>

void zoneTestsPlayerShot(MatchState&, const MatchIo&) {}
void zoneTestsCpuShot(MatchState&, const MatchIo&) {}
void messageTiming(MatchState&, const MatchIo&) {}
void formatScore(float score, char* out, int size) { std::snprintf(out, size, "%1.0f", static_cast<double>(score)); }
int updateScoresAndWinner(MatchState&) { return WINNER_NONE; }
