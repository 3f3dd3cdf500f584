#include "match/stages.h"

void openAim(MatchState&, const MatchIo&) {}
void aimStep(MatchState&, const MatchIo&) {}
void evaluateTargetWindow(MatchState&) {}
