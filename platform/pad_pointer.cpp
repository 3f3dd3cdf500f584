#include "platform/pad_pointer.h"

#include <algorithm>
#include <cmath>

PadVelocity stickVelocity(int axisX, int axisY) {
    const double x = axisX, y = axisY;
    const double length = std::sqrt(x * x + y * y);
    if (length <= kPadDeadZone) return {};
    // Past the dead zone the deflection starts again from 0, so the
    // slowest speed is reached just outside it; the corners of a square
    // gate count as full deflection.
    const double past = std::min(1.0, (length - kPadDeadZone) / (32767.0 - kPadDeadZone));
    const double speed = kPadStickMaxSpeed * past * past;
    return {x / length * speed, y / length * speed};
}

PadVelocity dpadVelocity(int dx, int dy) {
    if (dx == 0 && dy == 0) return {};
    // Diagonals no faster than straight lines.
    const double scale = kPadDpadSpeed / std::sqrt(static_cast<double>(dx * dx + dy * dy));
    return {dx * scale, dy * scale};
}

bool stepPadPointer(PadPointer& p, PadVelocity v, uint64_t nowMs) {
    const uint64_t since = p.timed && nowMs > p.lastMs ? nowMs - p.lastMs : 0;
    p.lastMs = nowMs;
    p.timed = true;
    if (v.x == 0 && v.y == 0) return false;
    const double seconds = static_cast<double>(std::min<uint64_t>(since, kPadLongestStepMs)) / 1000.0;
    const int oldX = padPointerX(p), oldY = padPointerY(p);
    // Just under the last pixel, so that the whole-pixel position stays
    // inside 0..1023 and 0..767.
    p.x = std::clamp(p.x + v.x * seconds, 0.0, 1023.999);
    p.y = std::clamp(p.y + v.y * seconds, 0.0, 767.999);
    return padPointerX(p) != oldX || padPointerY(p) != oldY;
}

void placePadPointer(PadPointer& p, int x, int y) {
    p.x = std::clamp(x, 0, 1023);
    p.y = std::clamp(y, 0, 767);
}
