// A platform for tests: the clock, input, random draws and sounds are all
// set by the test, and everything the game asks of them is recorded.
#pragma once

#include <deque>
#include <functional>
#include <set>
#include <vector>

#include "platform/i_system.h"
#include "match/stages.h"

struct ScriptedIo {
    ScriptedIo() = default;
    ScriptedIo(const ScriptedIo&) = delete;
    ScriptedIo& operator=(const ScriptedIo&) = delete;

    Clock now = 0;                   // the clock; delay() advances it
    std::deque<SDL_Event> events;    // handed out by pollEvent
    bool libraryEvents = false;      // then SDL's own queue (the pad tests)
    uint8_t buttons = 0;             // mouse button mask
    std::set<int> keys;              // keys held
    std::deque<int> randoms;         // raw rand() results, used first
    uint32_t generator = 1;          // then a fixed generator, reseeded by seedRandom
    bool busy = false;               // channel 0 playing
    std::vector<int> played;         // sound ids, in order
    int halts = 0;
    int clockReads = 0;
    int randomDraws = 0;
    std::vector<unsigned> seeds;
    std::vector<uint32_t> delays;
    // Called at the first pollEvent of each pass of a loop, with the pass
    // number (0 for the first); a test drives a whole screen from here.
    std::function<void(ScriptedIo&, int)> beforePass;
    int passes = 0;
    // Called after each match frame is drawn.
    std::function<void(ScriptedIo&, const MatchState&)> afterFrame;
    int frames = 0;
    bool inPass = false;

    GameIo gameIo();
    MatchIo matchIo() { return MatchIo{&io_, nullptr}; }

    void pushMotion(int x, int y);
    void pushButton(bool down, int button, int x, int y);
    void pushQuit();

    GameIo io_ = gameIo();
};

using PassScript = std::function<void(ScriptedIo&, int)>;

// The one runner of the screen tests: runs a screen (any call that takes
// the platform) with script called at the start of each pass, and closes
// the window once passLimit passes have gone by, so that a failing test
// never hangs. Returns what the screen returned.
template <typename Screen>
int runScripted(ScriptedIo& s, int passLimit, PassScript script, Screen screen) {
    s.beforePass = [script, passLimit](ScriptedIo& io, int pass) {
        if (pass > passLimit) io.pushQuit();
        if (script) script(io, pass);
    };
    return screen(static_cast<const GameIo&>(s.io_));
}
