// Everything one match knows. It lives for one call of runMatch; the stages
// of the frame talk to each other only through these fields.
#pragma once

#include <SDL.h>
#include <cstdint>

#include "platform/i_system.h"
#include "match/layout.h"

// Sounds of the match, in the order set-up loads them.
enum MatchSound {
    SOUND_CHARGE,      // data/LadeOK.wav
    SOUND_SHOT,        // data/Schuss.wav
    SOUND_CPU_BLOCK,   // data/BlockPl1.wav
    SOUND_CATCH,       // data/BlockPl2.wav
    SOUND_PLAYER_SCORES,  // data/PL1.wav: the player's point line, the CPU's ball out
    SOUND_CPU_SCORES,     // data/PL2.wav: the CPU's point line, the player's ball out
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
    // Half the previous frame's length in ms (0 in the first frame); every
    // motion moves frameStep * rate / 10 per frame.
    int frameStep = 0;
    int pointerX = 0, pointerY = 0;
    int ballCentreX = layout::kRestBallX + layout::kSpriteCentre;
    int ballCentreY = layout::kRestBallY + layout::kSpriteCentre;
    SDL_Rect crosshairRect = {layout::kCrosshairStartX, layout::kCrosshairStartY, 0, 0};
    int crosshairCentreX = layout::kCrosshairStartX + layout::kSpriteCentre;
    int crosshairCentreY = layout::kCrosshairStartY + layout::kSpriteCentre;
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
    int crosshairX = layout::kCrosshairStartX, crosshairY = layout::kCrosshairStartY;
    int barCoverX = layout::kBarCoverStartX;

    // Flight and rally.
    bool playerBallInFlight = false;
    bool cpuBallInFlight = false;
    bool playerReturning = false;
    bool playerCarriesBall = false;
    int playerX = layout::kFigureStartX;
    int ballX = layout::kRestBallX, ballY = layout::kRestBallY;
    int shadowY = layout::kRestBallY;
    int flightSpeed = 0;
    int flightHeight = 0, flightTime = 0, curveStep = 0;
    Clock shotStart = 0;

    // CPU opponent.
    int cpuX = layout::kFigureStartX;
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
