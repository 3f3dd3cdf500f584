// The game's one line to the platform: every clock reading, input sample,
// random draw and sound of every screen goes through a GameIo. The real one
// (sdlGameIo) is a thin layer over SDL and the C library; tests hand the
// screens and match stages a scripted one instead.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdint>
#include <cstdio>

struct MatchState;

// A millisecond reading of GameIo::clock. 64 bits wide, so no reading ever
// wraps and every timer can take a plain difference of two readings.
using Clock = uint64_t;

struct GameIo {
    void* ctx;
    // Milliseconds of real time since the process started.
    Clock (*clock)(void* ctx);
    // Same contract as SDL_PollEvent: 1 and an event, or 0 when the queue is empty.
    int (*pollEvent)(void* ctx, SDL_Event* event);
    // The mouse button mask at this moment (SDL_BUTTON(1) left, SDL_BUTTON(3) right).
    uint8_t (*mouseButtons)(void* ctx);
    // Whether the key is held at this moment.
    bool (*keyDown)(void* ctx, SDLKey key);
    void (*delay)(void* ctx, uint32_t ms);
    void (*seedRandom)(void* ctx, unsigned seed);
    int (*random)(void* ctx);
    // Sounds all play on mixer channel 0. soundId names the sound for
    // scripted runs; chunk may be null there.
    bool (*channelBusy)(void* ctx);
    void (*playSound)(void* ctx, int soundId, Mix_Chunk* chunk);
    void (*haltChannel)(void* ctx);
    // Called after each match frame has been drawn; lets tests and replays
    // watch a whole match. The real platform ignores it.
    void (*frameDone)(void* ctx, const MatchState& m);
};

const GameIo& sdlGameIo();

// Menus and the match flip without vsync on most platforms; a pass shorter
// than this is stretched with a delay so every motion advances and the loop
// does not spin the processor.
constexpr int32_t kMinPassMs = 10;
void paceFrame(const GameIo& io, Clock passStart);

// The library's tick counter is 32 bits and wraps after 49.7 days; this
// carries it into the wide clock. Needs a reading at least once per wrap,
// which every screen's passes give many times over.
struct TickExtender {
    uint32_t last = 0;
    Clock high = 0;
};
Clock extendTicks(TickExtender& ext, uint32_t ticks);

// The one way the game gives up: the message on the stream given (start-up
// failures go to standard output, exactly as formatted), then exit status 1
// with the exit handlers run.
[[noreturn]] void fatalError(std::FILE* stream, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// The same once the failure has been written out.
[[noreturn]] void fatalExit();
