// Plays each of the game's six sounds through the browser build's mixer,
// by the game's own sound code (platform/i_sound), once the player has
// pressed a key: browsers start sound only after an input. Prints how long
// the channel stayed busy for each; browser.js checks that Web Audio really
// played them.
#include <SDL.h>

#include <cstdio>

#include "platform/data_files.h"
#include "platform/i_sound.h"

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    std::printf("press a key\n");
    std::fflush(stdout);
    for (bool pressed = false; !pressed; SDL_Delay(20)) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_KEYDOWN) pressed = true;
    }
    openAudio();
    static const DataFile kSounds[] = {DATA_CHARGE_SOUND,   DATA_SHOT_SOUND,          DATA_CPU_BLOCK_SOUND,
                                       DATA_CATCH_SOUND,    DATA_PLAYER_SCORES_SOUND, DATA_CPU_SCORES_SOUND};
    for (DataFile file : kSounds) {
        Mix_Chunk* chunk = loadSound(dataFile(file));
        const Uint32 start = SDL_GetTicks();
        playSound(chunk);
        while (soundPlaying()) SDL_Delay(5);
        std::printf("%s busy %u ms\n", dataFileName(file), SDL_GetTicks() - start);
        std::fflush(stdout);
        freeSound(chunk);
    }
    std::printf("done\n");
    return 0;
}
