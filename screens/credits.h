// The credits screen's names and its one click target.
#pragma once

#include "screens/menu_common.h"

// Latin-1, as the text renderer expects.
constexpr const char* kCreditsAuthor = "J\xf6rn Halvesen";
constexpr const char* kCreditsDesigner = "Ana\xefs Ferrand";

// "Back", strict on all four sides.
inline bool creditsBackHit(int hotX, int hotY) { return insideStrict(hotX, hotY, 10, 730, 100, 768); }
