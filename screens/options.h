// The options screen's layout and rules, apart from its SDL loop: what it
// writes, where it draws, which click point picks what, and the defaults it
// restores for rows the player has not touched during a visit.
#pragma once

#include <SDL.h>

struct OptionsText {
    const char* text;
    int fontSize;
    int x, y;  // top-left corner
};

// Rendered and drawn in this order. The runs of spaces place the digits of
// "Enemy:" and "Club:" over their click targets and the club table's numbers
// under the club digits.
constexpr int kOptionsTextCount = 12;
constexpr OptionsText kOptionsTexts[kOptionsTextCount] = {
    {"Field:", 50, 100, 30},
    {"Standard", 30, 300, 60},
    {"Cel-Shading", 30, 300, 130},
    {"Street", 30, 300, 200},
    {"Lawn", 30, 300, 270},
    {"Enemy:     1     2     3", 50, 100, 400},
    {"Club:     1     2     3     4", 50, 100, 500},
    {"Height:          6        10         5          2", 30, 120, 560},
    {"Speed:         6         5         10          5", 30, 120, 600},
    {"Precision:     6        5         5          10", 30, 120, 640},
    {"Back", 30, 10, 730},
    {"Credits", 30, 900, 730},
};

enum OptionsAction { OPTIONS_FIELD, OPTIONS_ENEMY, OPTIONS_CLUB, OPTIONS_BACK, OPTIONS_CREDITS };

struct OptionsTarget {
    int left, top, right, bottom;  // strict bounds on the click point
    OptionsAction action;
    int value;                     // field kind, enemy level or club number
    Sint16 markerX, markerY;       // where the row's marker goes
};

// Tested in this order; they do not overlap.
constexpr int kOptionsTargetCount = 13;
constexpr OptionsTarget kOptionsTargets[kOptionsTargetCount] = {
    {300, 60, 400, 110, OPTIONS_FIELD, 1, 250, 50},
    {300, 130, 450, 180, OPTIONS_FIELD, 2, 250, 120},
    {300, 200, 400, 250, OPTIONS_FIELD, 3, 250, 190},
    {300, 270, 400, 320, OPTIONS_FIELD, 4, 250, 260},
    {340, 400, 370, 450, OPTIONS_ENEMY, 1, 290, 400},
    {440, 400, 470, 450, OPTIONS_ENEMY, 2, 390, 400},
    {540, 400, 570, 450, OPTIONS_ENEMY, 3, 490, 400},
    {270, 500, 320, 550, OPTIONS_CLUB, 1, 240, 500},
    {370, 500, 420, 550, OPTIONS_CLUB, 2, 340, 500},
    {470, 500, 520, 550, OPTIONS_CLUB, 3, 440, 500},
    {570, 500, 620, 550, OPTIONS_CLUB, 4, 540, 500},
    {10, 730, 100, 768, OPTIONS_BACK, 0, 0, 0},
    {900, 730, 1024, 768, OPTIONS_CREDITS, 0, 0, 0},
};

// Index into kOptionsTargets of the first target holding the click point,
// or -1.
int optionsTargetAt(int hotX, int hotY);

struct MarkerPos {
    Sint16 x, y;
};

// Just outside the display: a marker there shows nothing and marks its row
// as not chosen in this visit.
constexpr MarkerPos kHiddenMarker = {1024, 768};

struct OptionsMarkers {
    MarkerPos field = kHiddenMarker;
    MarkerPos enemy = kHiddenMarker;
    MarkerPos club = kHiddenMarker;
};

// The caller's five settings, written in place.
struct SettingsRefs {
    int& fieldKind;
    int& enemyLevel;
    int& clubHeight;
    int& clubSpeed;
    int& clubPrecision;
};

// A click on a choice: writes its value(s) and moves its row's marker.
// Back and Credits change nothing here.
void applyOptionsChoice(const OptionsTarget& target, OptionsMarkers& markers,
                        const SettingsRefs& settings);

// Every row without a choice in this visit goes back to its default, so the
// screen never returns a value the player did not pick this time.
void forceUnchosenDefaults(const OptionsMarkers& markers, const SettingsRefs& settings);
