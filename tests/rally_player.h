// A scripted player for whole matches through runMatch: from each drawn
// frame it decides the buttons and the pointer for the next one, the way a
// person at the mouse would: it opens the aim, steers the crosshair against
// its drift over a chosen point of the target window, charges and lets go,
// and stands in the path of the CPU's shots to catch them (or, when told to
// miss, away from it). Pointer moves reach the match as motion events.
#pragma once

#include <algorithm>
#include <random>

#include "scripted_io.h"

struct RallyPlayer {
    std::mt19937 rng;
    bool catchesCpuShots = true;
    int aimX = 0, aimY = 0;  // the crosshair centre aimed at
    int chargeFrames = 0;
    int charged = 0;
    int catchError = 0;
    bool sawCpuShot = false;

    explicit RallyPlayer(unsigned seed) : rng(seed) {}

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    void chooseShot() {
        const int kind = uniform(0, 19);
        if (kind < 15) {  // lofted, over the lower band
            aimX = uniform(345, 675);
            aimY = uniform(400, 570);
        } else if (kind < 18) {  // flat, over the upper band
            aimX = uniform(345, 675);
            aimY = uniform(250, 370);
        } else {  // beside the window: off target
            aimX = uniform(150, 320);
            aimY = uniform(200, 650);
        }
        if (aimX == 485) aimX = 486;
        chargeFrames = uniform(80, 209);
        charged = 0;
    }

    // What the player does for the coming frame: the buttons held, and
    // where the pointer goes (the mouse stays on the display, as SDL
    // reports it).
    struct Move {
        uint8_t buttons = 0;
        bool moves = false;
        int x = 0, y = 0;
    };

    // Decides from the state a frame has drawn.
    Move decide(const MatchState& m) {
        static const int kDriftSignX[8] = {1, -1, 1, -1, 1, -1, 0, 0};
        static const int kDriftSignY[8] = {1, -1, -1, 1, 0, 0, 1, -1};
        const bool cpuHasBall = m.cpuBallInFlight || m.cpuServePending;
        if (m.cpuBallInFlight && !sawCpuShot) catchError = uniform(-12, 12);
        sawCpuShot = m.cpuBallInFlight;

        Move move;
        auto pointTo = [&move](int x, int y) {
            move.moves = true;
            move.x = std::clamp(x, 0, 1023);
            move.y = std::clamp(y, 0, 767);
        };
        if (cpuHasBall) {
            // The figure's hands, playerX + 70, meet the ball, or miss it
            // by a figure's width.
            const int miss = catchesCpuShots ? 0 : (m.ballCentreX < 500 ? 200 : -200);
            pointTo(m.ballCentreX - 70 + catchError + miss, 600);
        } else if (m.readyToAim) {
            move.buttons = SDL_BUTTON(3);
            chooseShot();
        } else if (m.aiming) {
            int dx = 0, dy = 0;
            if (m.chargeStarted && m.driftDirection >= 1 && m.driftDirection <= 8) {
                dx = kDriftSignX[m.driftDirection - 1] * m.aimDriftX;
                dy = kDriftSignY[m.driftDirection - 1] * m.aimDriftY;
            }
            pointTo(aimX - 25 - dx, aimY - 25 - dy);
            if (charged < chargeFrames) {
                move.buttons = SDL_BUTTON(1);
                ++charged;
            }
        }
        return move;
    }

    // Plays the decision through the platform, as mouse motion events.
    void act(const MatchState& m, ScriptedIo& s) {
        const Move move = decide(m);
        s.buttons = move.buttons;
        if (move.moves) s.pushMotion(move.x, move.y);
    }
};
