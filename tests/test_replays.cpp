// Every demo under tests/demos/ replayed through the real screens and the
// real match must give the trace checked in beside it. When a change of the
// rules is meant, regenerate the traces (see the README) and review the diff.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/i_pad.h"
#include "replay.h"
#include "sdl_video_env.h"

namespace {

::testing::Environment* const kSdl = ::testing::AddGlobalTestEnvironment(new SdlVideo);

const std::string kDemoDir = VELMORA_DEMO_DIR;

std::vector<std::string> demoNames() {
    std::vector<std::string> names;
    if (DIR* dir = opendir(kDemoDir.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string file = entry->d_name;
            if (file.size() > 5 && file.compare(file.size() - 5, 5, ".demo") == 0)
                names.push_back(file.substr(0, file.size() - 5));
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Replay : ::testing::TestWithParam<std::string> {};

TEST_P(Replay, GivesTheCheckedInTrace) {
    const std::string base = kDemoDir + "/" + GetParam();
    Demo demo;
    const std::string error = parseDemo(readFile(base + ".demo"), demo);
    ASSERT_EQ("", error) << base << ".demo";
    const std::string trace = replayDemo(demo);
    if (std::getenv("VELMORA_REGENERATE_DEMOS")) {
        std::ofstream(base + ".trace") << trace;
        std::cout << "wrote " << base << ".trace\n";
        return;
    }
    const std::string expected = readFile(base + ".trace");
    ASSERT_FALSE(expected.empty()) << "no trace for " << base << ".demo; regenerate the traces";
    EXPECT_EQ("", firstDifference(expected, trace)) << base << ".trace";
}

INSTANTIATE_TEST_SUITE_P(Demos, Replay, ::testing::ValuesIn(demoNames()),
                         [](const ::testing::TestParamInfo<std::string>& name) {
                             std::string id = name.param;
                             std::replace(id.begin(), id.end(), '-', '_');
                             return id;
                         });

// The replay's own parser: a typo in a demo must not pass as an empty run.
TEST(DemoFiles, BadLinesAreRefused) {
    for (const char* text : {"run match 1 2\n", "run nothing\n", "@5 jump\n", "@x quit\n",
                             "@3 key space down\n", "clock soon\n", "motion 1 2\n"}) {
        Demo demo;
        EXPECT_NE("", parseDemo(text, demo)) << text;
    }
    Demo demo;
    ASSERT_EQ("", parseDemo("# c\nrun match 2 3 10 5 5\nclock 7\nwork 12\n@4 buttons 4\n@4 key q down\n", demo));
    Demo again;
    ASSERT_EQ("", parseDemo(formatDemo(demo), again));
    EXPECT_EQ(formatDemo(demo), formatDemo(again));
    EXPECT_EQ(3, again.settings[1]);
    EXPECT_EQ(2u, again.actions[4].size());
}

}  // namespace

// A pad that lies idle, its sticks trembling inside the dead zone and its
// triggers at rest, leaves every mouse demo exactly as recorded.
TEST(Replay, AnIdlePadChangesNothing) {
    for (const std::string& name : demoNames()) {
        const std::string base = kDemoDir + "/" + name;
        Demo demo;
        ASSERT_EQ("", parseDemo(readFile(base + ".demo"), demo)) << base;
        PadLayer pads;
        pads.useLibrary = false;  // the events below are the only pad
        const std::string trace = replayDemo(demo, nullptr, false, [&pads](ScriptedIo& s) -> const GameIo& {
            auto demoPass = s.beforePass;
            s.beforePass = [demoPass](ScriptedIo& io, int pass) {
                demoPass(io, pass);
                for (Uint8 which = 0; which < 2; ++which) {
                    SDL_Event e{};
                    e.type = SDL_JOYAXISMOTION;
                    e.jaxis.which = which;
                    e.jaxis.axis = static_cast<Uint8>(pass % 2);
                    e.jaxis.value = static_cast<Sint16>((pass % 13 - 6) * 900);  // |x|,|y| <= 5400
                    io.events.push_back(e);
                    e.jaxis.axis = 2;  // a trigger at rest
                    e.jaxis.value = -32768;
                    io.events.push_back(e);
                    e = SDL_Event{};
                    e.type = SDL_JOYHATMOTION;
                    e.jhat.which = which;
                    e.jhat.value = SDL_HAT_CENTERED;
                    io.events.push_back(e);
                }
            };
            attachPads(pads, s.io_);
            return pads.io;
        });
        EXPECT_EQ("", firstDifference(readFile(base + ".trace"), trace)) << base << ".trace";
    }
}
