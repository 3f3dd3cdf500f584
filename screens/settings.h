// The player's choices for the matches to come. One record lives in main()
// for the whole run; nothing is saved between runs.
#pragma once

#include <cstdint>

struct GameSettings {
    int32_t fieldKind = 1;      // 1 Standard, 2 Cel-Shading, 3 Street, 4 Lawn
    int32_t enemyLevel = 1;     // 1..3
    int32_t clubHeight = 6;
    int32_t clubSpeed = 6;
    int32_t clubPrecision = 6;
};

struct ClubValues {
    int32_t height, speed, precision;
};

// Clubs 1..4 as the options screen offers them; club 1 is the default.
constexpr ClubValues kClubs[4] = {{6, 6, 6}, {10, 5, 5}, {5, 10, 5}, {2, 5, 10}};
