// Loading what the screens show and play. The game runs from a folder that
// holds data/; a file that is missing or does not load ends the program with
// its name on standard error, so nothing is ever drawn or played half-loaded.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <cstdio>

// One line per missing data file (app/data_files.def) on err, then how to rebuild the data. Returns how
// many are missing.
int reportMissingAssets(std::FILE* err);

// Writes "file: reason" to standard error and exits with status 1.
[[noreturn]] void assetFailure(const char* file, const char* reason);

// Sets the one display mode every screen uses; on failure writes "Can't set
// VideoMode: \n" and the library's reason to standard output and exits 1.
SDL_Surface* setGameVideoMode();

// Defaults for the SDL2 under SDL 1.2 on current distributions (sdl12-compat),
// which reads its hints from the environment; set before SDL_Init. A value
// already in the environment is left alone. Classic SDL 1.2 ignores them.
void setLibraryDefaults();

// The system pointer is hidden by a transparent cursor, not switched off:
// a switched-off cursor in a grabbed full-screen window puts SDL2-based
// SDL 1.2 (sdl12-compat) and SDL on Windows into relative mouse mode, where
// tablets, touch screens, remote desktops and XTEST motion stop moving the
// pointer at all. Each screen hides it once its mode is set and gives it
// back when it ends, so screens nest (a match inside the menu) and nothing
// is freed while it is the current cursor.
struct HiddenCursor {
    SDL_Cursor* previous = nullptr;
    SDL_Cursor* transparent = nullptr;  // null: fell back to SDL_ShowCursor
};
HiddenCursor hideSystemCursor();
void restoreSystemCursor(HiddenCursor& hidden);

struct ColourKey {
    Uint8 r, g, b;
};
constexpr ColourKey kWhiteKey = {255, 255, 255};

// A BMP through SDL_RWFromFile + SDL_LoadBMP_RW, colour-keyed when key is
// given (and half transparent when alpha is 0..254), then converted to the
// display's format once so that every blit is a plain copy.
SDL_Surface* loadImage(const char* file, const ColourKey* key = nullptr, int alpha = -1);
Mix_Chunk* loadSound(const char* file);
void initFonts();
TTF_Font* openFont(const char* file, int size);
SDL_Surface* renderText(TTF_Font* font, const char* text, SDL_Color colour);

// Blits the whole image with its top-left corner at (x, y).
void blitAt(SDL_Surface* image, SDL_Surface* display, int x, int y);
