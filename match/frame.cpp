#include "match/stages.h"

int runFrameStages(MatchState& m, const MatchIo& io) {
    openAim(m, io);                // 4
    catchAndWalkBack(m, io);       // 5
    aimStep(m, io);                // 6
    playerFlight(m, io);           // 7
    farEndHandOver(m);             // 8
    zoneTestsPlayerShot(m, io);    // 9
    countTendencies(m, io);        // 10
    serveIfReady(m, io);           // 11
    cpuFlight(m, io);              // 12
    zoneTestsCpuShot(m, io);       // 13
    nearEndReset(m);               // 14
    trackAndRoll(m, io);           // 15
    tryBlock(m, io);               // 16
    walkBack(m, io);               // 17
    messageTiming(m, io);          // 18
    return updateScoresAndWinner(m);  // 19
}
