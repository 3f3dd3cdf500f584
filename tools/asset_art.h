// The pictures and sounds that velmora_make_assets writes into data/.
#pragma once

#include <string>

#include "asset_canvas.h"

// Where the game puts things (screen pixels, top-left corners), which the
// artwork has to line up with.
namespace layout {
constexpr int kScreenW = 1024, kScreenH = 768;
// Scoring lines, tested on the ball's centre: OUT left of 100 and right of
// 920; the end lines at y 40 (CPU's end) and 718 (player's end).
constexpr double kPitchLeft = 100, kPitchRight = 920, kPitchTop = 40, kPitchBottom = 718;
constexpr double kPitchMidX = (kPitchLeft + kPitchRight) / 2;
constexpr double kPitchMidY = (kPitchTop + kPitchBottom) / 2;
// The field patch drawn over the sliding bar cover.
constexpr int kPatchX = 750, kPatchY = 610;
constexpr int kPatchW = kScreenW - kPatchX, kPatchH = kScreenH - kPatchY;
// Target window, drawn at (250, 150); its regions in crosshair-centre
// screen coordinates (all bounds exclusive).
constexpr int kWindowX = 250, kWindowY = 150, kWindowW = 500, kWindowH = 458;
constexpr int kHalvesLeft = 335, kHalvesMid = 485, kHalvesRight = 685;
constexpr int kHalvesTop = 245, kHalvesBottom = 580;
constexpr int kBandLeft = 340, kBandRight = 640;
constexpr int kUpperBandTop = 180, kBandSplit = 380, kLowerBandBottom = 580;
// Power bar at (299, 609); its cover at (barCoverX, 611) with barCoverX
// running from 301 to at most 740. The cover hides the bar's inside from
// its left edge on (the field patch hides whatever passes x 750), and leaves
// the bar's 2-pixel frame showing above, below and at both ends.
constexpr int kBarX = 299, kBarY = 609, kBarW = 451, kBarH = 34, kBarFrame = 2;
constexpr int kBarEndCap = 4;  // the right end of the frame, x 746..749
// From x 301 the cover reaches x 745, the bar's last inside column.
constexpr int kCoverY = 611, kCoverW = kBarW - kBarFrame - kBarEndCap, kCoverH = 30;
constexpr int kPowerStepX = 300, kPowerStep = 40;  // power = (barCoverX - 300) / 40
// Figures: the CPU at (cpuX, 0), the player at (playerX, 570).
constexpr int kFigureW = 140, kCpuFigureH = 170, kPlayerFigureH = 196;
constexpr int kPlayerY = 570;
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
// Sprites whose centre is their top-left corner plus 25.
constexpr int kSpriteSize = 51;
}  // namespace layout

// The game ball, shaded, with its seam and outline, centred at (cx, cy).
void paintBall(cairo_t* cr, double cx, double cy, double r);

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

// Writes LadeOK, Schuss, BlockPl1, BlockPl2, PL1 and PL2 (.wav) into dir.
void writeSounds(const std::string& dir);
