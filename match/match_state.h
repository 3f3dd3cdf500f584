// Everything one match knows. It lives for one call of runMatch; the stages
// of the frame talk to each other only through these fields.
#pragma once

#include <SDL.h>
#include <cstdint>

using Clock = int32_t;  // a millisecond reading of GameIo::clock

// Fixed places on the 1024 x 768 field (top-left corners of their images).
constexpr int kCpuY = 0;
constexpr int kPlayerY = 570;
constexpr int kWindowX = 250, kWindowY = 150;
constexpr int kBarX = 299, kBarY = 609;
constexpr int kBarCoverY = 611;
constexpr int kPatchX = 750, kPatchY = 610;
constexpr int kOutTextX = 450, kOutTextY = 350;
constexpr int kPointLineTextX = 400, kPointLineTextY = 350;
constexpr int kWonTextX = 300, kWonTextY = 500;
constexpr int kCpuScoreX = 800, kCpuScoreY = 100;
constexpr int kPlayerScoreX = 800, kPlayerScoreY = 550;

// Sounds of the match, in the order set-up loads them.
enum MatchSound {
    SOUND_CHARGE,      // data/LadeOK.wav
    SOUND_SHOT,        // data/Schuss.wav
    SOUND_CPU_BLOCK,   // data/BlockPl1.wav
    SOUND_CATCH,       // data/BlockPl2.wav
    SOUND_PL1,         // data/PL1.wav
    SOUND_PL2,         // data/PL2.wav
    SOUND_COUNT
};

struct MatchState {
    // The match's arguments, fixed for the match.
    int fieldKind = 1;
    int enemyLevel = 1;
    int clubHeight = 6;
    int clubSpeed = 6;
    int clubPrecision = 6;

    // Frame loop.
    bool matchOver = false;
    Clock frameStart = 0;
    int frameStep = 0;
    int pointerX = 0, pointerY = 0;
    int ballCentreX = 525, ballCentreY = 675;
    SDL_Rect crosshairRect = {270, 220, 0, 0};
    int crosshairCentreX = 295, crosshairCentreY = 245;
    int aimDriftRate = 2;
    int cpuClubSpeed = 5;
    int cpuClubHeight = 5;

    // Aim, charge and release.
    bool aiming = false;
    bool readyToAim = true;
    bool charging = false;
    bool chargeStarted = false;
    bool released = false;
    bool shotOnTarget = false;
    int aimDriftX = 0, aimDriftY = 0;
    int driftDirection = 1;
    int power = 0, lift = 0, curve = 0;
    int curveSide = 0;
    int crosshairX = 270, crosshairY = 220;
    int barCoverX = 301;

    // Flight and rally.
    bool playerBallInFlight = false;
    bool cpuBallInFlight = false;
    bool playerReturning = false;
    bool playerCarriesBall = false;
    int playerX = 450;
    int ballX = 500, ballY = 650;
    int shadowY = 650;
    int flightSpeed = 0;
    int flightHeight = 0, flightTime = 0, curveStep = 0;
    Clock shotStart = 0;

    // CPU opponent.
    int cpuX = 450;
    int cpuBlockRoll = 0;
    bool cpuRecovering = false, cpuCarriesBall = false, cpuServePending = false;
    Clock cpuRecoverEnd = 0;
    int rightShots = 0, leftShots = 0, centreShots = 0, heightTendency = 0;
    Clock lastSideCount = 0, lastHeightCount = 0, lastBlockRoll = 0;
    bool cpuReadsSides = false, cpuReadsHeight = false;

    // Scoring and messages.
    float cpuScore = 0.0f, playerScore = 0.0f;
    Clock lastPlayerShotScore = 0, lastCpuShotScore = 0, lastZoneSound = 0;
    Clock lastMessageTime = 0, messageStart = 0;
    bool outShown = false, pointLineShown = false, showScores = false;
    bool messageArmed = true;
    // The score texts as stage 19 last formatted them; the drawing side
    // renders a new image only when one of them changes.
    char cpuScoreText[16] = "0";
    char playerScoreText[16] = "0";
};
