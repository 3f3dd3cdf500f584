// The Linux game's picture of a match frame in flight, for the browser
// tests: the field, the two figures, the ball's half-transparent shadow and
// the ball, loaded and drawn by the game's own platform code on classic SDL
// 1.2 (dummy display), in the order the match draws them, at the places the
// test found in the browser's picture.
//   velmora_compose FIELD CPU_X PLAYER_X BALL_X BALL_Y SHADOW_Y OUT.bmp
// Run from the folder that holds data/.
#include <cstdio>
#include <cstdlib>

#include "match/layout.h"
#include "platform/data_files.h"
#include "platform/i_video.h"

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: velmora_compose FIELD CPU_X PLAYER_X BALL_X BALL_Y SHADOW_Y OUT.bmp\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    int v[6];
    for (int i = 0; i < 6; ++i) v[i] = std::atoi(argv[i + 1]);
    if (v[0] < 1 || v[0] > 4) return 2;
    initVideo();
    SDL_Surface* display = setGameVideoMode();
    restStillPictures(false);  // drawn at once: the picture is saved, never flipped
    SDL_Surface* field = loadImage(dataFile(kFieldFiles[v[0] - 1][0]));
    SDL_Surface* cpu = loadImage(dataFile(DATA_CPU_FIGURE), &kWhiteKey);
    SDL_Surface* player = loadImage(dataFile(DATA_PLAYER_FIGURE), &kWhiteKey);
    SDL_Surface* ball = loadImage(dataFile(DATA_BALL), &kWhiteKey);
    SDL_Surface* shadow = loadImage(dataFile(DATA_BALL_SHADOW), &kWhiteKey, 128);
    blitAt(field, display, 0, 0);
    blitAt(cpu, display, v[1], layout::kCpuY);
    blitAt(player, display, v[2], layout::kPlayerY);
    blitAt(shadow, display, v[3], v[5]);
    blitAt(ball, display, v[3], v[4]);
    if (SDL_SaveBMP(display, argv[7]) != 0) {
        std::fprintf(stderr, "velmora_compose: %s\n", SDL_GetError());
        return 1;
    }
    return 0;
}
