// The front-end screens. Each is one modal loop: it sets the video mode,
// loads what it shows, runs until left, frees what it loaded and returns 0.
// io defaults to the real platform; tests pass a scripted one.
#pragma once

#include "platform/i_system.h"

int runIntroScreen(int argc, char** argv, const GameIo& io = sdlGameIo());
int runOptionsScreen(int argc, char** argv, int& fieldKind, int& enemyLevel, int& clubHeight,
                     int& clubSpeed, int& clubPrecision, const GameIo& io = sdlGameIo());
int runCreditsScreen(int argc, char** argv, const GameIo& io = sdlGameIo());
