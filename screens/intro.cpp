#include "screens/screens.h"

// Filled in with the title sequence.
int runIntroScreen(int, char**, const GameIo&) { return 0; }
