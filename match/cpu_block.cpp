#include "match/stages.h"

void tryBlock(MatchState&, const MatchIo&) {}
