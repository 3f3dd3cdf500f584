#include "screens/screens.h"

// Filled in with the credits screen.
int runCreditsScreen(int, char**, const GameIo&) { return 0; }
