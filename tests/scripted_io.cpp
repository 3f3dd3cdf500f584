#include "scripted_io.h"

namespace {

ScriptedIo& self(void* ctx) { return *static_cast<ScriptedIo*>(ctx); }

Clock scriptedClock(void* ctx) {
    ++self(ctx).clockReads;
    return self(ctx).now;
}

int scriptedPoll(void* ctx, SDL_Event* event) {
    ScriptedIo& s = self(ctx);
    if (!s.inPass) {
        s.inPass = true;
        if (s.beforePass) s.beforePass(s, s.passes);
        ++s.passes;
    }
    if (s.events.empty()) {
        if (s.libraryEvents && SDL_PollEvent(event)) return 1;
        s.inPass = false;
        return 0;
    }
    *event = s.events.front();
    s.events.pop_front();
    return 1;
}

uint8_t scriptedButtons(void* ctx) { return self(ctx).buttons; }

bool scriptedKey(void* ctx, SDLKey key) { return self(ctx).keys.count(key) != 0; }

void scriptedDelay(void* ctx, uint32_t ms) {
    self(ctx).delays.push_back(ms);
    self(ctx).now += ms;
}

void scriptedSeed(void* ctx, unsigned seed) {
    self(ctx).seeds.push_back(seed);
    self(ctx).generator = seed ? seed : 1;
}

int scriptedRandom(void* ctx) {
    ScriptedIo& s = self(ctx);
    ++s.randomDraws;
    if (!s.randoms.empty()) {
        int value = s.randoms.front();
        s.randoms.pop_front();
        return value;
    }
    // xorshift32: enough spread for simulated play, and the same every run.
    s.generator ^= s.generator << 13;
    s.generator ^= s.generator >> 17;
    s.generator ^= s.generator << 5;
    return static_cast<int>(s.generator & 0x7fffffff);
}

bool scriptedBusy(void* ctx) { return self(ctx).busy; }

void scriptedPlay(void* ctx, int soundId, Mix_Chunk*) {
    self(ctx).played.push_back(soundId);
    self(ctx).busy = true;
}

void scriptedHalt(void* ctx) {
    ++self(ctx).halts;
    self(ctx).busy = false;
}

void scriptedFrameDone(void* ctx, const MatchState& m) {
    ScriptedIo& s = self(ctx);
    ++s.frames;
    if (s.afterFrame) s.afterFrame(s, m);
}

}  // namespace

GameIo ScriptedIo::gameIo() {
    return GameIo{this,          scriptedClock, scriptedPoll, scriptedButtons,
                  scriptedKey,   scriptedDelay, scriptedSeed, scriptedRandom,
                  scriptedBusy,  scriptedPlay,  scriptedHalt, scriptedFrameDone};
}

void ScriptedIo::pushMotion(int x, int y) {
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    events.push_back(e);
}

void ScriptedIo::pushButton(bool down, int button, int x, int y) {
    SDL_Event e = {};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = static_cast<Uint8>(button);
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    events.push_back(e);
}

void ScriptedIo::pushQuit() {
    SDL_Event e = {};
    e.type = SDL_QUIT;
    events.push_back(e);
}
