// Which SDL 1.2 this process runs on, for the test programs and the
// benchmarks: the test command runs them on each SDL 1.2 the system has and
// says which one it expects. A library folder can be a link to another
// library (Debian 13's sdl12-compat/ folder holds a link to the system's
// one), so the folder a process was pointed at proves nothing: the library
// tells its kind by its version, and the memory map names the file that
// was really loaded.
#pragma once

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

// The real file of the loaded SDL 1.2 (the kernel resolves links in the
// memory map), or "" when none is loaded.
inline std::string loadedSdlFile() {
    std::FILE* maps = std::fopen("/proc/self/maps", "r");
    if (!maps) return "";
    char line[4096];
    std::string path;
    while (path.empty() && std::fgets(line, sizeof line, maps)) {
        const char* at = std::strstr(line, " /");
        if (at && std::strstr(at, "/libSDL-1.2.so")) {
            path = at + 1;
            path.erase(path.find_last_not_of('\n') + 1);
        }
    }
    std::fclose(maps);
    return path;
}

// "classic" or "sdl12-compat": sdl12-compat, SDL 1.2 over SDL2, reports
// 1.2.50 and above; classic SDL ended at 1.2.15.
inline const char* loadedSdlKind() {
    const SDL_version* v = SDL_Linked_Version();
    return v->major == 1 && v->minor == 2 && v->patch >= 50 ? "sdl12-compat" : "classic";
}

// "KIND VERSION FILE", the line scripts/sdl-libraries.sh reads.
inline std::string loadedSdlDescription() {
    const SDL_version* v = SDL_Linked_Version();
    char version[32];
    std::snprintf(version, sizeof version, "%d.%d.%d", v->major, v->minor, v->patch);
    const std::string file = loadedSdlFile();
    return std::string(loadedSdlKind()) + " " + version + " " + (file.empty() ? "?" : file);
}
