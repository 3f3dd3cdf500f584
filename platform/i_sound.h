// The mixer: the device, the sounds and channel 0, on which every sound of
// the match plays.
#pragma once

#include <SDL_mixer.h>

// Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048); on failure "Can't set
// OpenAudio: \n" and the library's reason on standard output, exit 1.
void openAudio();

// A WAV through SDL_RWFromFile + Mix_LoadWAV_RW; a file that does not load
// ends the program (assetFailure).
Mix_Chunk* loadSound(const char* file);
// Frees a sound and clears the pointer; null is fine.
void freeSound(Mix_Chunk*& chunk);

// Channel 0: play once (a new sound cuts off the last), busy, halt.
void playSound(Mix_Chunk* chunk);
bool soundPlaying();
void haltSound();
