#include "match/stages.h"

void catchAndWalkBack(MatchState&, const MatchIo&) {}
void playerFlight(MatchState&, const MatchIo&) {}
void farEndHandOver(MatchState&) {}
void cpuFlight(MatchState&, const MatchIo&) {}
void nearEndReset(MatchState&) {}
