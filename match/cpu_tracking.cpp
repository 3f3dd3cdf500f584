#include "match/stages.h"

void trackAndRoll(MatchState&, const MatchIo&) {}
