// One match, from set-up to a win, Escape or a closed window.
#pragma once

#include "app/i_system.h"

int runMatch(int argc, char** argv, int fieldKind, int enemyLevel, int clubHeight, int clubSpeed,
             int clubPrecision, const GameIo& io = sdlGameIo());
