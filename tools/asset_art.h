// The pictures and sounds that velmora_make_assets writes into data/.
#pragma once

#include <string>

#include "asset_ball.h"
#include "asset_canvas.h"
#include "match/layout.h"

// The game's fixed places (match/layout.h) and the sizes of the pictures
// drawn for them.
namespace layout {
constexpr double kPitchMidX = (kPitchLeft + kPitchRight) / 2.0;
constexpr double kPitchMidY = (kPitchTop + kPitchBottom) / 2.0;
// The window's picture ends with the frame under its hit area.
constexpr int kWindowW = 500, kWindowH = kHalvesBottom + 4 - kWindowY;
// The cover hides the bar's inside from its left edge on (the field patch
// hides whatever passes x 750), and leaves the bar's 2-pixel frame showing
// above, below and at both ends.
constexpr int kBarW = 451, kBarH = 34, kBarFrame = 2;
constexpr int kBarEndCap = 4;  // the right end of the frame, x 746..749
// From x 301 the cover reaches x 745, the bar's last inside column.
constexpr int kCoverY = kBarCoverY, kCoverW = kBarW - kBarFrame - kBarEndCap, kCoverH = 30;
// The field patch at (750, 610) only has to hide the cover where it slides
// past x 750, so it is no taller than the cover's rows: every aiming frame
// blits it, and a strip costs far less than the whole corner.
constexpr int kPatchW = kScreenW - kPatchX, kPatchH = kCoverY + kCoverH - kPatchY;
constexpr int kFigureW = 140, kCpuFigureH = 170, kPlayerFigureH = 196;
// Where the ink of the match's texts falls (colour 50, 100, 0, relative
// luminance about 0.1): "OUT" and "POINT LINE" at y 350 in size 50, the
// winner's line at (300, 500) and the scores "0" to "7.5" at (800, 100) and
// (800, 550) in size 100. To stand at 3:1 against it, a field must be light
// there (relative luminance 0.39 or more), so every look designs a light
// ground under these boxes. Inclusive pixel bounds.
struct Box {
    int x0, y0, x1, y1;
};
constexpr Box kMessageInk = {404, 361, 674, 396};
constexpr Box kWinnerInk = {305, 519, 871, 611};
constexpr Box kCpuScoreInk = {802, 121, 934, 191};
constexpr Box kPlayerScoreInk = {802, 571, 934, 641};
constexpr int kSpriteSize = 2 * kSpriteCentre + 1;
}  // namespace layout


// Fields: 1 standard, 2 cel-shaded, 3 street, 4 lawn; each 1024 x 768.
Image drawField(int kind);

Image drawCpuFigure();
Image drawPlayerFigure();
Image drawBall();
Image drawBallShadow();
Image drawCrosshair();
Image drawTargetWindow();
Image drawPowerBar();
Image drawBarCover();
Image drawMenuMarker();
Image drawTitle();
Image drawIntroCurtain();
Image drawIntroLasers();
Image drawCreditsLogo();

// Writes the six sounds of the match (platform/data_files.def) into dir.
void writeSounds(const std::string& dir);
