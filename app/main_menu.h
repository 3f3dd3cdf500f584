// Start-up and the main menu.
#pragma once

#include "platform/i_system.h"

enum MenuLabel { MENU_NONE, MENU_START, MENU_OPTIONS, MENU_QUIT };

// The label whose strict hit box holds the click point, if any.
MenuLabel menuLabelAt(int hotX, int hotY);

// The whole program after the asset check: libraries, intro, main menu.
// Returns 0 when the menu is left; failures exit the process with status 1.
int gameMain(int argc, char** argv, const GameIo& io);
