// Bad input: every screen fed seeded random input for thousands of passes.
// Each pass brings random SDL events (mouse motion and buttons anywhere in
// the 16-bit coordinate range, keys, events of every other type, now and
// then a closed window), random mouse button masks and held keys (Escape,
// Return and Q among them, at low rates) and a clock that moves 0 to 200 ms.
// No screen may crash (or, in the sanitizer build, trip a sanitizer), and
// every run must end by the screen's own exits: after kPassLimit passes the
// driver closes the window at every pass, and the screen must then leave
// within a few passes.
//
// Longer or other runs: VELMORA_FUZZ_SCALE multiplies the passes per screen,
// VELMORA_FUZZ_SEED shifts every seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/main_menu.h"
#include "match/match.h"
#include "screens/screens.h"
#include "scripted_io.h"
#include "sdl_video_env.h"

namespace {

constexpr int kPassLimit = 1500;  // random passes in one run before the driver insists
constexpr int kGracePasses = 10;  // nested screens each leave on the first closed window

// How often the inputs that leave a screen come up, per pass.
struct Rates {
    double left = 0.15;      // left button held
    double escape = 0.004;   // Escape held
    double enter = 0.004;    // Return held
    double quitKey = 0.002;  // Q held
    double closed = 0.0005;  // an SDL_QUIT event
    // Cursor places over the screen's click targets; a tenth of the mouse
    // events land near one of them.
    std::vector<std::pair<int, int>> spots;
};

struct Fuzzer {
    std::mt19937 rng;
    Rates rates;

    Fuzzer(unsigned seed, Rates r) : rng(seed), rates(r) {}

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }

    // Anywhere in the 16-bit range, on or just off the display, or near one
    // of the screen's targets.
    void place(Uint16& x, Uint16& y) {
        if (!rates.spots.empty() && chance(0.1)) {
            const auto& spot = rates.spots[uniform(0, static_cast<int>(rates.spots.size()) - 1)];
            x = static_cast<Uint16>(spot.first + uniform(-40, 40));
            y = static_cast<Uint16>(spot.second + uniform(-40, 40));
        } else if (chance(0.5)) {
            x = static_cast<Uint16>(uniform(0, 65535));
            y = static_cast<Uint16>(uniform(0, 65535));
        } else {
            x = static_cast<Uint16>(uniform(0, 1100));
            y = static_cast<Uint16>(uniform(0, 1100));
        }
    }

    SDL_Event randomEvent() {
        SDL_Event e;
        // Every byte random first: a screen must read only what the event's
        // type defines.
        auto* bytes = reinterpret_cast<unsigned char*>(&e);
        for (size_t i = 0; i < sizeof e; ++i) bytes[i] = static_cast<unsigned char>(uniform(0, 255));
        const int kind = uniform(0, 99);
        if (kind < 40) {
            e.type = SDL_MOUSEMOTION;
            place(e.motion.x, e.motion.y);
        } else if (kind < 75) {
            e.type = chance(0.5) ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.button = static_cast<Uint8>(uniform(0, 7));
            place(e.button.x, e.button.y);
        } else if (kind < 90) {
            e.type = chance(0.5) ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.keysym.sym = static_cast<SDLKey>(uniform(0, SDLK_LAST - 1));
        } else {
            // Any other type but SDL_QUIT, which comes at its own rate.
            do {
                e.type = static_cast<Uint8>(uniform(0, SDL_NUMEVENTS - 1));
            } while (e.type == SDL_QUIT);
        }
        return e;
    }

    void pass(ScriptedIo& io) {
        io.now += uniform(0, 200);
        io.delays.clear();
        io.played.clear();
        for (int n = uniform(0, 4); n > 0; --n) io.events.push_back(randomEvent());
        if (chance(rates.closed)) io.pushQuit();

        uint8_t buttons = 0;
        if (chance(rates.left)) buttons |= SDL_BUTTON(1);
        for (int b = 2; b <= 8; ++b)
            if (chance(b == 3 ? 0.3 : 0.1)) buttons |= static_cast<uint8_t>(1u << (b - 1));
        io.buttons = buttons;

        io.keys.clear();
        if (chance(rates.escape)) io.keys.insert(SDLK_ESCAPE);
        if (chance(rates.enter)) io.keys.insert(SDLK_RETURN);
        if (chance(rates.quitKey)) io.keys.insert(SDLK_q);
        for (SDLKey other : {SDLK_SPACE, SDLK_a, SDLK_UP, SDLK_LEFT, SDLK_F4, SDLK_LALT})
            if (chance(0.05)) io.keys.insert(other);
        // Now and then a random channel state, as if a sound had ended.
        if (chance(0.05)) io.busy = !io.busy;
    }
};

long fromEnvironment(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

struct FuzzResult {
    int runs = 0;
    long passes = 0;
    int leftOnTheirOwn = 0;  // runs that ended before the driver insisted
    double seconds = 0;
};

// Runs screen() again and again, each run with a fresh scripted platform and
// its own seed, until minPasses passes have been played in all.
template <typename Screen>
FuzzResult fuzz(const char* name, unsigned seed, Rates rates, long minPasses, Screen screen) {
    FuzzResult r;
    minPasses *= std::max(1L, fromEnvironment("VELMORA_FUZZ_SCALE", 1));
    seed += static_cast<unsigned>(fromEnvironment("VELMORA_FUZZ_SEED", 0));
    const auto start = std::chrono::steady_clock::now();
    while (r.passes < minPasses) {
        ScriptedIo io;
        io.now = 1000;
        Fuzzer fuzzer(seed + static_cast<unsigned>(r.runs), rates);
        io.beforePass = [&fuzzer](ScriptedIo& s, int pass) {
            if (pass < kPassLimit) {
                fuzzer.pass(s);
            } else {
                // Close the window at every pass until the screen has left.
                s.now += 10;
                s.keys.clear();
                s.buttons = 0;
                s.pushQuit();
            }
        };
        EXPECT_EQ(0, screen(io)) << name << " run " << r.runs;
        EXPECT_LE(io.passes, kPassLimit + kGracePasses)
            << name << " run " << r.runs << " (seed " << seed + r.runs
            << ") did not leave after the window was closed";
        if (io.passes <= kPassLimit) ++r.leftOnTheirOwn;
        r.passes += io.passes;
        ++r.runs;
        if (::testing::Test::HasFailure()) break;
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << name << ": " << r.passes << " passes in " << r.runs << " runs ("
              << r.leftOnTheirOwn << " left by a random exit), " << r.seconds << " s\n";
    ::testing::Test::RecordProperty("passes", static_cast<int>(r.passes));
    ::testing::Test::RecordProperty("runs", r.runs);
    return r;
}

using Fuzz = SdlVideoTest;

}  // namespace

TEST_F(Fuzz, IntroScreen) {
    Rates rates;
    rates.left = 0.01;  // a click or Return skips the title
    const FuzzResult r = fuzz("intro", 1000, rates, 3000, [](ScriptedIo& io) {
        return runIntroScreen(0, nullptr, io.io_);
    });
    EXPECT_GT(r.leftOnTheirOwn, 0);
}

TEST_F(Fuzz, OptionsScreen) {
    Rates rates;
    rates.left = 0.05;  // clicks choose, open the credits, and go back
    // The choices, Back and Credits (click point = cursor + 25).
    rates.spots = {{325, 60},  {350, 130}, {325, 200}, {325, 270}, {330, 400},
                   {430, 400}, {530, 400}, {270, 500}, {370, 500}, {470, 500},
                   {570, 500}, {30, 725},  {935, 725}};
    int fieldKind = 1, enemyLevel = 1, clubHeight = 6, clubSpeed = 6, clubPrecision = 6;
    const FuzzResult r = fuzz("options", 2000, rates, 5000, [&](ScriptedIo& io) {
        const int result = runOptionsScreen(0, nullptr, fieldKind, enemyLevel, clubHeight,
                                            clubSpeed, clubPrecision, io.io_);
        // Whatever was clicked, the settings are ones the screen offers.
        EXPECT_TRUE(fieldKind >= 1 && fieldKind <= 4) << fieldKind;
        EXPECT_TRUE(enemyLevel >= 1 && enemyLevel <= 3) << enemyLevel;
        EXPECT_TRUE(clubSpeed == 5 || clubSpeed == 6 || clubSpeed == 10) << clubSpeed;
        return result;
    });
    EXPECT_GT(r.leftOnTheirOwn, 0);
}

TEST_F(Fuzz, CreditsScreen) {
    Rates rates;
    rates.spots = {{30, 725}};  // Back
    const FuzzResult r = fuzz("credits", 3000, rates, 3000, [](ScriptedIo& io) {
        return runCreditsScreen(0, nullptr, io.io_);
    });
    EXPECT_GT(r.leftOnTheirOwn, 0);
}

TEST_F(Fuzz, Match) {
    Rates rates;
    rates.escape = 0.001;
    int aimedFrames = 0, shots = 0, cpuShots = 0;
    const FuzzResult r = fuzz("match", 4000, rates, 6000, [&](ScriptedIo& io) {
        bool flying = false, cpuFlying = false;
        io.afterFrame = [&](ScriptedIo&, const MatchState& m) {
            // The rules keep their ranges whatever the input.
            EXPECT_TRUE(m.cpuScore >= 0 && m.cpuScore <= 7.5f) << m.cpuScore;
            EXPECT_TRUE(m.playerScore >= 0 && m.playerScore <= 7.5f) << m.playerScore;
            EXPECT_FALSE(m.playerBallInFlight && m.cpuBallInFlight);
            aimedFrames += m.aiming ? 1 : 0;
            shots += m.playerBallInFlight && !flying ? 1 : 0;
            cpuShots += m.cpuBallInFlight && !cpuFlying ? 1 : 0;
            flying = m.playerBallInFlight;
            cpuFlying = m.cpuBallInFlight;
        };
        return runMatch(0, nullptr, 1 + static_cast<int>(io.now % 4), 1 + static_cast<int>(io.now % 3), 6, 6,
                        6, io.io_);
    });
    std::cout << "match: " << aimedFrames << " frames aiming, " << shots << " shots, " << cpuShots
              << " CPU shots\n";
    EXPECT_GT(r.leftOnTheirOwn, 0);
    EXPECT_GT(shots, 0) << "random input shoots now and then";
}

TEST_F(Fuzz, MainMenu) {
    Rates rates;
    rates.left = 0.05;  // Start, Options and Quit all get clicked now and then
    rates.spots = {{425, 300}, {450, 370}, {425, 440}};  // Start, Options, Quit
    long matchFrames = 0;
    const FuzzResult r = fuzz("main menu", 5000, rates, 6000, [&](ScriptedIo& io) {
        const int result = gameMain(0, nullptr, io.io_);
        matchFrames += io.frames;
        return result;
    });
    std::cout << "main menu: " << matchFrames << " of the passes were match frames\n";
    EXPECT_GT(r.leftOnTheirOwn, 0);
    EXPECT_GT(matchFrames, 0) << "Start was clicked";
}
