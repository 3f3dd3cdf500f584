// What the game costs on a real display: the real program (gameMain on the
// real platform, real clock, real pacing) in an X server, with only the
// player's hands scripted. It passes the title, stays in the main menu with
// the pointer moving, then with it still, then starts a match, opens the aim
// and stays there, and leaves. For each of these it prints the passes per
// second and the share of one core that the whole process (every thread of
// every library) used. bench/live.sh runs it under Xvfb on each SDL 1.2
// library.
//
//   velmora_live_bench [SECONDS] [every]   (per screen, default 4; every:
//                                           present every pass, as before a
//                                           still picture rested)
//   velmora_live_bench sdl         "kind version file" of the SDL 1.2 it loads
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/i_system.h"
#include "platform/i_video.h"
#include "app/main_menu.h"
#include "tests/loaded_sdl.h"

namespace {

double seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

enum Phase { TITLE, MENU, STILL_MENU, TO_MATCH, MATCH, LEAVE_MATCH, QUIT };

// One measured stretch of a screen: passes and CPU time from its start.
struct Stretch {
    int passes = 0;
    double wallStart = 0, cpuStart = 0, wall = 0, cpu = 0;
    bool started = false, done = false;

    // Called once a pass; true once the stretch has its length.
    bool pass(double warmUp, double length, double phaseStart) {
        const double now = seconds(CLOCK_MONOTONIC);
        if (done) return true;
        if (!started) {
            if (now - phaseStart < warmUp) return false;
            started = true;
            wallStart = now;
            cpuStart = seconds(CLOCK_PROCESS_CPUTIME_ID);
            return false;
        }
        ++passes;
        if (now - wallStart < length) return false;
        wall = now - wallStart;
        cpu = seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
        done = true;
        return true;
    }

    void print(const char* name) const {
        if (!done) {
            std::printf("%-6s not measured\n", name);
            return;
        }
        std::printf("%-6s %6.1f passes/s   CPU %5.1f %% of a core   (%d passes in %.2f s)\n", name,
                    passes / wall, 100.0 * cpu / wall, passes, wall);
    }
};

struct LiveRun {
    const GameIo* real = nullptr;
    Phase phase = TITLE;
    double phaseStart = 0;
    double length = 4;
    int motion = 0;
    int matchFrames = 0;
    Stretch menu, stillMenu, match;

    void enter(Phase p) {
        phase = p;
        phaseStart = seconds(CLOCK_MONOTONIC);
    }
};

LiveRun* run(void* ctx) { return static_cast<LiveRun*>(ctx); }

constexpr double kWarmUp = 0.5;

Clock liveClock(void* ctx) { return run(ctx)->real->clock(run(ctx)->real->ctx); }

// Real events first (a closed window still counts), then one scripted move a
// pass: the pointer wanders over no menu label, or over the target window;
// in the still menu it stays put.
int livePoll(void* ctx, SDL_Event* event) {
    LiveRun& r = *run(ctx);
    if (r.real->pollEvent(r.real->ctx, event)) return 1;
    if (r.phase == STILL_MENU) return 0;
    if (r.motion++ % 2) return 0;
    std::memset(event, 0, sizeof *event);
    event->type = SDL_MOUSEMOTION;
    int x = 100 + r.motion % 200, y = 600;
    if (r.phase == TO_MATCH) x = 425, y = 300;  // "Start"
    if (r.phase == MATCH) x = 300 + r.motion % 200, y = 250 + r.motion % 80;
    event->motion.x = static_cast<Uint16>(x);
    event->motion.y = static_cast<Uint16>(y);
    return 1;
}

uint8_t liveButtons(void* ctx) {
    LiveRun& r = *run(ctx);
    if (r.phase == TO_MATCH && r.motion > 4) return SDL_BUTTON(1);
    // A few frames of the right button open the aim, whose overlay then
    // stays up.
    if (r.phase == MATCH && r.matchFrames > 2 && r.matchFrames < 8) return SDL_BUTTON(3);
    return 0;
}

// The menu asks for Q once a pass and the match for Escape once a frame, so
// these also mark whose pass it is.
bool liveKey(void* ctx, SDLKey key) {
    LiveRun& r = *run(ctx);
    switch (key) {
        case SDLK_RETURN:
            if (r.phase == TITLE) r.enter(MENU);
            return true;
        case SDLK_q:
            if (r.phase == MENU && r.menu.pass(kWarmUp, r.length, r.phaseStart)) r.enter(STILL_MENU);
            if (r.phase == STILL_MENU && r.stillMenu.pass(kWarmUp, r.length, r.phaseStart)) {
                r.motion = 0;
                r.enter(TO_MATCH);
            }
            if (r.phase == LEAVE_MATCH) r.enter(QUIT);
            return r.phase == QUIT;
        case SDLK_ESCAPE:
            return r.phase == LEAVE_MATCH;
        default: return false;
    }
}

void liveDelay(void* ctx, uint32_t ms) { run(ctx)->real->delay(run(ctx)->real->ctx, ms); }
void liveSeed(void* ctx, unsigned seed) { run(ctx)->real->seedRandom(run(ctx)->real->ctx, seed); }
int liveRandom(void* ctx) { return run(ctx)->real->random(run(ctx)->real->ctx); }
bool liveBusy(void* ctx) { return run(ctx)->real->channelBusy(run(ctx)->real->ctx); }
void livePlay(void* ctx, int id, Mix_Chunk* chunk) {
    run(ctx)->real->playSound(run(ctx)->real->ctx, id, chunk);
}
void liveHalt(void* ctx) { run(ctx)->real->haltChannel(run(ctx)->real->ctx); }

void liveFrame(void* ctx, const MatchState&) {
    LiveRun& r = *run(ctx);
    if (r.phase == TO_MATCH) r.enter(MATCH);
    ++r.matchFrames;
    if (r.phase == MATCH && r.match.pass(kWarmUp, r.length, r.phaseStart)) r.enter(LEAVE_MATCH);
}

}  // namespace

int main(int argc, char** argv) {
    // Sound is not what is measured, and a machine without a sound card
    // runs it too.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (argc == 2 && std::strcmp(argv[1], "sdl") == 0) {
        std::printf("%s\n", loadedSdlDescription().c_str());
        return 0;
    }
    LiveRun r;
    r.real = &sdlGameIo();
    if (argc > 1) r.length = std::atof(argv[1]);
    if (r.length <= 0) r.length = 4;
    if (argc > 2 && std::strcmp(argv[2], "every") == 0) restStillPictures(false);
    const GameIo io = {&r,       liveClock, livePoll,  liveButtons, liveKey,  liveDelay,
                       liveSeed, liveRandom, liveBusy, livePlay,    liveHalt, liveFrame};
    gameMain(0, nullptr, io);

    std::printf("SDL 1.2: %s\n", loadedSdlDescription().c_str());
    r.menu.print("menu");
    r.stillMenu.print("still");
    r.match.print("match");
    return r.menu.done && r.stillMenu.done && r.match.done ? 0 : 1;
}
