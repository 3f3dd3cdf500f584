#include "match/stages.h"

void serveIfReady(MatchState&, const MatchIo&) {}
