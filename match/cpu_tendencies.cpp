#include "match/stages.h"

void countTendencies(MatchState&, const MatchIo&) {}
