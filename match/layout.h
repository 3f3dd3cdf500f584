// Fixed places on the 1024 x 768 display: where the match draws its images
// and texts, and where its lines and the target window's regions lie. The
// game, the art generator (whose pictures must line up with them) and the
// tests all read them from here. Positions are top-left corners of images.
#pragma once

namespace layout {

constexpr int kScreenW = 1024, kScreenH = 768;

// Sprites (ball, crosshair) are 51 x 51; their centre is the top-left
// corner plus this.
constexpr int kSpriteCentre = 25;

// Figures: the CPU at (cpuX, 0), the player at (playerX, 570); both start
// at x 450.
constexpr int kCpuY = 0;
constexpr int kPlayerY = 570;
constexpr int kFigureStartX = 450;

// The ball at rest in the player's hands, and where aiming holds it.
constexpr int kRestBallX = 500, kRestBallY = 650;

// Target window and the crosshair's first place over it.
constexpr int kWindowX = 250, kWindowY = 150;
constexpr int kCrosshairStartX = 270, kCrosshairStartY = 220;
// The window's regions in crosshair-centre coordinates (all bounds
// exclusive): two lift bands, one above the other, and two curve halves.
constexpr int kBandLeft = 340, kBandRight = 640;
constexpr int kUpperBandTop = 180, kBandSplit = 380, kLowerBandBottom = 580;
constexpr int kHalvesLeft = 335, kHalvesMid = 485, kHalvesRight = 685;
constexpr int kHalvesTop = 245, kHalvesBottom = 580;
constexpr int kCurveColumnW = 15;  // one step of curve per column
constexpr int kLiftRowH = 20;      // one step of lift per row of the lower band

// Power bar, its sliding cover and the field patch that hides the cover
// beyond x 750.
constexpr int kBarX = 299, kBarY = 609;
constexpr int kBarCoverStartX = 301, kBarCoverY = 611;
constexpr int kBarCoverEndX = 720;  // a cover past it releases the shot
constexpr int kPowerStepX = 300, kPowerStep = 40;  // power = (barCoverX - 300) / 40
constexpr int kPatchX = 750, kPatchY = 610;

// Scoring lines, tested on the ball's centre: OUT left of 100 and right of
// 920 between y 50 and 718; the end lines at y 40 (CPU's end) and 718
// (player's end).
constexpr int kPitchLeft = 100, kPitchRight = 920;
constexpr int kPitchTop = 40, kPitchBottom = 718;
constexpr int kOutZoneTop = 50;

// Texts of the match.
constexpr int kOutTextX = 450, kOutTextY = 350;
constexpr int kPointLineTextX = 400, kPointLineTextY = 350;
constexpr int kWonTextX = 300, kWonTextY = 500;
constexpr int kCpuScoreX = 800, kCpuScoreY = 100;
constexpr int kPlayerScoreX = 800, kPlayerScoreY = 550;

}  // namespace layout
