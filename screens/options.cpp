#include "screens/screens.h"

// Filled in with the options screen; leaving at once restores the defaults.
int runOptionsScreen(int, char**, int& fieldKind, int& enemyLevel, int& clubHeight, int& clubSpeed,
                     int& clubPrecision, const GameIo&) {
    fieldKind = 1;
    enemyLevel = 1;
    clubHeight = clubSpeed = clubPrecision = 6;
    return 0;
}
