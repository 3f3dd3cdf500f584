// The walk back to the centre band 445..455, shared by the player's figure
// and the CPU's. The step is never 0 (short frames still make progress) and
// never carries the walker past the far edge of the band (long frames cannot
// swing over it), so every walk ends.
#pragma once

#include <algorithm>

constexpr int kCentreBandLow = 445;
constexpr int kCentreBandHigh = 455;

inline int walkBackStep(int frameStep) { return std::max(1, frameStep * 5 / 10); }

// Moves pos one step toward the band; returns true, without moving, when pos
// already lies in the band (the walk has ended).
inline bool walkTowardCentre(int& pos, int frameStep) {
    if (pos < kCentreBandLow) {
        pos = std::min(pos + walkBackStep(frameStep), kCentreBandHigh);
        return false;
    }
    if (pos > kCentreBandHigh) {
        pos = std::max(pos - walkBackStep(frameStep), kCentreBandLow);
        return false;
    }
    return true;
}
