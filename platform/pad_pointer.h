// How a pad moves the pointer: the stick's dead zone and response curve,
// the d-pad's fixed speed, and the pointer's course over time in game
// pixels per second, so that it moves alike at every frame rate. No SDL
// call here.
#pragma once

#include <cstdint>

// A stick at rest reads up to a few thousand off centre; within this radius
// (of 32767) it is at rest. Close to the common 24% of game pad guidance.
constexpr int kPadDeadZone = 8000;
// At full deflection; the response grows with the square of the deflection
// past the dead zone, which leaves fine control near the centre.
constexpr double kPadStickMaxSpeed = 800.0;  // game pixels per second
constexpr double kPadDpadSpeed = 400.0;      // game pixels per second
// A pass longer than this (a screen loading, the machine stalled) moves the
// pointer no further than this would, so it never leaps.
constexpr int kPadLongestStepMs = 100;

struct PadVelocity {
    double x = 0, y = 0;  // game pixels per second
};

// The stick's velocity from its two axes (-32768..32767).
PadVelocity stickVelocity(int axisX, int axisY);

// dx, dy: the d-pad's direction, each -1, 0 or 1.
PadVelocity dpadVelocity(int dx, int dy);

// The pointer the pad moves, in game pixels with the fraction kept.
struct PadPointer {
    double x = 0, y = 0;
    bool timed = false;  // lastMs holds a reading
    uint64_t lastMs = 0;
};

// Moves the pointer by velocity over the time since the last step,
// clamped to the 1024 x 768 display. Returns whether the whole-pixel
// position changed.
bool stepPadPointer(PadPointer& p, PadVelocity v, uint64_t nowMs);

// Where a mouse event put the pointer: the pad goes on from there.
void placePadPointer(PadPointer& p, int x, int y);

inline int padPointerX(const PadPointer& p) { return static_cast<int>(p.x); }
inline int padPointerY(const PadPointer& p) { return static_cast<int>(p.y); }
