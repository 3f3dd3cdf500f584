#include "match/stages.h"

int blockRollRange(int, int, int) { return 6; }
void rollForBlock(MatchState&, const MatchIo&) {}
