// velmora_replay: records demos of whole matches with the scripted player,
// and prints the trace of any demo.
//   velmora_replay record OUT.demo LEVEL SEED [FIELD] [escape|quit PASS]
//   velmora_replay trace DEMO [--every-frame]
// Run from the build folder, which holds data/.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "rally_player.h"
#include "replay.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: velmora_replay record OUT.demo LEVEL SEED [FIELD] [escape|quit PASS]\n"
                 "       velmora_replay trace DEMO [--every-frame]\n");
    return 2;
}

// Plays the rally player's decisions into the demo as the input of the next
// pass. It also holds the right button while it walks back with the ball,
// as an eager player does, and now and then the frames run slower.
struct Recorder {
    RallyPlayer player;
    int buttons = 0;
    int lastX = -1, lastY = -1;
    int lastWork = -1;
    explicit Recorder(unsigned seed) : player(seed) {}

    void operator()(ScriptedIo& s, const MatchState& m, Demo& demo) {
        const int pass = s.passes;
        RallyPlayer::Move move = player.decide(m);
        if (move.buttons == 0 && m.playerReturning && !m.cpuBallInFlight && !m.cpuServePending)
            move.buttons = 4;
        if (move.buttons != buttons) {
            demo.actions[pass].push_back("buttons " + std::to_string(move.buttons));
            buttons = move.buttons;
        }
        if (move.moves && (move.x != lastX || move.y != lastY)) {
            demo.actions[pass].push_back("motion " + std::to_string(move.x) + " " +
                                         std::to_string(move.y));
            lastX = move.x;
            lastY = move.y;
        }
        // Spans of 20, 24 and 30 ms passes: frameStep 10, 12 and 15.
        const int work = pass / 700 % 3 == 0 ? 20 : pass / 700 % 3 == 1 ? 24 : 30;
        if (work != lastWork) {
            demo.actions[pass].push_back("work " + std::to_string(work));
            lastWork = work;
        }
    }
};

std::string readFile(const char* path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (argc < 3) return usage();
    const std::string command = argv[1];
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);  // the audio thread ends before the libraries unload
    if (command == "trace") {
        Demo demo;
        const std::string error = parseDemo(readFile(argv[2]), demo);
        if (!error.empty()) {
            std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
            return 1;
        }
        std::cout << replayDemo(demo, nullptr, argc > 3 && std::string(argv[3]) == "--every-frame");
        return 0;
    }
    if (command != "record" || argc < 5) return usage();
    const int level = std::atoi(argv[3]);
    const unsigned seed = static_cast<unsigned>(std::atoi(argv[4]));
    Demo demo;
    demo.run = "match";
    demo.settings[1] = level;
    if (argc > 5) demo.settings[0] = std::atoi(argv[5]);
    demo.clock = 4000 + static_cast<int32_t>(seed) * 37;
    demo.work = 20;
    demo.comment = "# Recorded: velmora_replay record " + std::string(argv[2]);
    for (int i = 3; i < argc; ++i) demo.comment += std::string(" ") + argv[i];
    demo.comment += "\n";
    if (argc > 7) demo.actions[std::atoi(argv[7])].push_back(
        std::string(argv[6]) == "escape" ? "key escape down" : "quit");
    Recorder recorder(seed);
    replayDemo(demo, [&recorder](ScriptedIo& s, const MatchState& m, Demo& d) { recorder(s, m, d); });
    std::ofstream(argv[2]) << formatDemo(demo);
    return 0;
}
