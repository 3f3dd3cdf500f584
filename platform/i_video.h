// The display: video start-up and mode, the system cursor, images, texts,
// blits and flips. Every screen draws through these, so the library calls
// and their order live in one place, and a replay can watch what is drawn.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

// SDL_Init for video; on failure "Can't init SDL: \n" and the library's
// reason on standard output, exit 1. Registers SDL_Quit to run at exit
// (within a grace: end_signals.h).
void initVideo();

// Sets the one display mode every screen uses; on failure writes "Can't set
// VideoMode: \n" and the library's reason to standard output and exits 1.
SDL_Surface* setGameVideoMode();

// The display surface as the library holds it now (a screen just left may
// have set the mode again).
SDL_Surface* currentDisplay();

// Defaults for the SDL2 under SDL 1.2 on current distributions (sdl12-compat),
// which reads its hints from the environment; set before SDL_Init. A value
// already in the environment is left alone. Classic SDL 1.2 ignores them.
// The renderer is chosen by what the system shows (renderer_choice.h).
void setLibraryDefaults();

// The system pointer is hidden by a transparent cursor, not switched off:
// a switched-off cursor in a grabbed full-screen window puts SDL2-based
// SDL 1.2 (sdl12-compat) and SDL on Windows into relative mouse mode, where
// tablets, touch screens, remote desktops and XTEST motion stop moving the
// pointer at all (through XWayland the cursor keeps one black pixel, for
// the same reason: see the .cpp). Each screen hides it once its mode is set and gives it
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
// display's format once so that every blit is a plain copy. A file that does
// not load ends the program (assetFailure).
SDL_Surface* loadImage(const char* file, const ColourKey* key = nullptr, int alpha = -1);
// Frees an image or text and clears the pointer; null is fine.
void freeImage(SDL_Surface*& image);

void initFonts();
TTF_Font* openFont(const char* file, int size);
void closeFont(TTF_Font* font);
SDL_Surface* renderText(TTF_Font* font, const char* text, SDL_Color colour);
// The renderer's text images are 8-bit surfaces that blit through their
// palette. In the display's format, with the key run-length encoded, a blit
// is a copy of their opaque runs; the pixels drawn are the same.
void textToDisplayFormat(SDL_Surface*& text);

void fillDisplay(SDL_Surface* display, Uint8 r, Uint8 g, Uint8 b);
// Blits the whole image with its top-left corner at (x, y).
void blitAt(SDL_Surface* image, SDL_Surface* display, int x, int y);
// The same at a rectangle the caller keeps, which afterwards holds what
// classic SDL 1.2's blit leaves there (classicBlitRect), on every library.
void blitAtRect(SDL_Surface* image, SDL_Surface* display, SDL_Rect* where);
// The rectangle classic SDL 1.2's blit leaves behind when a whole image of
// w x h is drawn at where's corner within clip: a corner beyond the clip's
// left or top edge moves onto that edge, even when nothing of the image is
// left to draw, and w and h become the drawn size (0 x 0 when nothing is
// drawn). The right and bottom edges only shorten the size. SDL2-based
// SDL 1.2 (sdl12-compat 1.2.68 and later) leaves a rectangle that is wholly
// outside where it was, so a rule that reads a rectangle back takes it
// from here, not from the library.
SDL_Rect classicBlitRect(SDL_Rect where, int w, int h, const SDL_Rect& clip);
void flipDisplay(SDL_Surface* display);

// A still screen rests: the fills and blits of a pass on the game's display
// (the one setGameVideoMode gave) are kept until its flip, and a pass that
// would show the same picture as the one last shown draws and presents
// nothing. What a pass draws is only known by the images (each load or text
// is a new one), so the same list of fills and blits of the same images at
// the same places makes the same picture when it starts by covering the
// whole display. Other surfaces are drawn at once. Off: every pass draws and
// presents, as a benchmark of the drawing needs; the page presents only what
// changed by itself and paces on its flips, so there it is off.
void restStillPictures(bool on);
// Pictures handed to the library (flips) since the program started.
unsigned long picturesPresented();
// The system asked for the window to be drawn again (exposed, restored,
// resized, the focus back): the next flip presents whatever it holds.
void noteDisplayEvent(const SDL_Event& event);

// What a replay sees of the drawing: each fill, blit (by the image's file
// or text, its size and where it lands) and flip, in order. Null stops it.
struct VideoWatch {
    void* ctx;
    void (*fill)(void* ctx, Uint8 r, Uint8 g, Uint8 b);
    void (*blit)(void* ctx, const char* image, int w, int h, int x, int y);
    void (*flip)(void* ctx);
};
void watchVideo(const VideoWatch* watch);
