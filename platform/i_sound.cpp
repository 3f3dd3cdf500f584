#include "platform/i_sound.h"

#include <cstdio>

#include "platform/assets.h"
#include "platform/data_checks.h"
#include "platform/i_system.h"

void openAudio() {
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) == -1)
        fatalError(stdout, "Can't set OpenAudio: \n%s", SDL_GetError());
}

Mix_Chunk* loadSound(const char* file) {
    checkDataFileOrExit(file);
    SDL_RWops* source = SDL_RWFromFile(file, "rb");
    if (!source) assetFailure(file, SDL_GetError());
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
    if (!chunk) assetFailure(file, Mix_GetError());
    return chunk;
}

void freeSound(Mix_Chunk*& chunk) {
    if (chunk) Mix_FreeChunk(chunk);
    chunk = nullptr;
}

void playSound(Mix_Chunk* chunk) {
    if (chunk) Mix_PlayChannelTimed(0, chunk, 0, -1);
}

bool soundPlaying() { return Mix_Playing(0) != 0; }

void haltSound() { Mix_HaltChannel(0); }
