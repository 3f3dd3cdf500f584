#include "match/stages.h"

void walkBack(MatchState&, const MatchIo&) {}
