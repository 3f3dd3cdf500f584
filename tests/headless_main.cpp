// Tests run headless: SDL's dummy video and audio drivers unless the caller
// chose others.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The path of the SDL 1.2 library this process loaded, from its memory map.
std::string loadedSdl() {
    std::FILE* maps = std::fopen("/proc/self/maps", "r");
    if (!maps) return "";
    char line[4096];
    std::string path;
    while (path.empty() && std::fgets(line, sizeof line, maps)) {
        const char* at = std::strstr(line, " /");
        if (at && std::strstr(at, "/libSDL-1.2.so")) {
            path = at + 1;
            path.erase(path.find_last_not_of("\n") + 1);
        }
    }
    std::fclose(maps);
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The test command runs the suite on classic SDL 1.2 and on sdl12-compat
    // and says which it expects; a run on the wrong one must not pass. (A
    // test program that needs no SDL call does not load it at all.)
    const std::string path = loadedSdl();
    if (const char* expected = std::getenv("VELMORA_EXPECT_SDL"); expected && !path.empty()) {
        const bool compat = path.find("/sdl12-compat/") != std::string::npos;
        if (compat != (std::strcmp(expected, "compat") == 0)) {
            std::fprintf(stderr, "expected the %s SDL 1.2, but loaded '%s'\n", expected,
                         path.c_str());
            return 1;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
