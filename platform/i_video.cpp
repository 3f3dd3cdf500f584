#include "platform/i_video.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/assets.h"
#include "platform/data_checks.h"
#include "platform/data_files.h"
#include "platform/end_signals.h"
#include "platform/i_system.h"
#include "platform/renderer_choice.h"

namespace {

const VideoWatch* gWatch = nullptr;

// Names of the images and texts alive while a replay watches; the real game
// keeps none.
std::unordered_map<const SDL_Surface*, std::string>& imageNames() {
    static std::unordered_map<const SDL_Surface*, std::string> names;
    return names;
}

void nameImage(const SDL_Surface* image, const std::string& name) {
    if (gWatch && image) imageNames()[image] = name;
}

void renameImage(const SDL_Surface* from, const SDL_Surface* to) {
    if (!gWatch) return;
    auto it = imageNames().find(from);
    if (it == imageNames().end()) return;
    std::string name = it->second;
    imageNames().erase(it);
    imageNames()[to] = name;
}

void watchBlit(const SDL_Surface* image, int x, int y) {
    if (!gWatch || !image) return;
    auto it = imageNames().find(image);
    gWatch->blit(gWatch->ctx, it == imageNames().end() ? "?" : it->second.c_str(), image->w,
                 image->h, x, y);
}

}  // namespace

namespace {

// What the library falls back to when no display can be opened: the game
// would run as characters in the terminal (caca, aalib) or unseen
// (offscreen, dummy). Asked for by name, each is fine.
bool showsNoDisplay(const char* driver) {
    for (const char* fallback : {"caca", "aalib", "offscreen", "dummy"})
        if (std::strcmp(driver, fallback) == 0) return true;
    return false;
}

}  // namespace

void initVideo() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const bool chosen = asked && *asked;
    // libcaca takes over the terminal as soon as the library tries it; its
    // silent output keeps that attempt from writing there.
    if (!chosen) SDL_putenv(const_cast<char*>("CACA_DRIVER=null"));
    if (SDL_Init(SDL_INIT_VIDEO) == -1) fatalError(stdout, "Can't init SDL: \n%s", SDL_GetError());
    char driver[32] = "";
    if (!chosen && SDL_VideoDriverName(driver, sizeof driver) && showsNoDisplay(driver)) {
        SDL_Quit();
        const char* display = std::getenv("DISPLAY");
        const std::string where = display && *display
                                      ? std::string("the X server at DISPLAY=") + display +
                                            " does not answer"
                                      : std::string("DISPLAY is not set");
        fatalError(stdout,
                   "Can't init SDL: \nNo graphical display can be opened (%s). SDL_VIDEODRIVER "
                   "may name a video driver to use all the same.",
                   where.c_str());
    }
    std::atexit(quitSdlWithinGrace);
}

SDL_Surface* setGameVideoMode() {
    SDL_Surface* display =
        SDL_SetVideoMode(1024, 768, 32, SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN);
    if (!display) fatalError(stdout, "Can't set VideoMode: \n%s", SDL_GetError());
    return display;
}

SDL_Surface* currentDisplay() { return SDL_GetVideoSurface(); }

namespace {

// SDL_putenv, not setenv: the Windows C library has no setenv. The string
// stays in the environment, so it must live as long as the process.
void putenvDefault(const char* name, const char* assignment) {
    if (!std::getenv(name)) SDL_putenv(const_cast<char*>(assignment));
}

// sdl12-compat reports 1.2.50 and above; classic SDL 1.2 ended at 1.2.15.
// The page's SDL is neither, and reads no variables.
SdlKind linkedSdlKind() {
#ifdef __EMSCRIPTEN__
    return SdlKind::compat;
#else
    const SDL_version* version = SDL_Linked_Version();
    return version->patch >= 50 ? SdlKind::compat : SdlKind::classic;
#endif
}

}  // namespace

void setLibraryDefaults() {
    // Classic SDL refuses a WAV whose data is cut short, which ends the game
    // with the file's name; SDL2 would play the part that is there.
    putenvDefault("SDL_WAVE_TRUNCATION", "SDL_WAVE_TRUNCATION=strict");
    // SDL2's renderer: its own choice where OpenGL runs on a GPU, its
    // software renderer with nearest scaling elsewhere; classic SDL's mode
    // on a Wayland desktop (renderer_choice.h).
    const auto env = [](const char* name) -> const char* { return std::getenv(name); };
    for (const char* setting : rendererDefaults(lookAtGraphics(), env, linkedSdlKind()))
        SDL_putenv(const_cast<char*>(setting));
}

HiddenCursor hideSystemCursor() {
    // Data and mask all 0: every pixel of the cursor is transparent. But
    // Xwayland (23 and later) takes such a cursor for a hidden one and, as
    // the pointer stays confined to the full-screen window, locks it: a
    // mouse still moves the crosshair, an absolute pointer (a tablet, a
    // touch screen, a virtual machine's pointer) no longer does. Through
    // XWayland the cursor keeps one black pixel, at its hot spot.
    Uint8 data[16 * 16 / 8] = {}, mask[16 * 16 / 8] = {};
    if (waylandSession([](const char* name) -> const char* { return std::getenv(name); })) {
        char driver[16] = "";
        if (SDL_VideoDriverName(driver, sizeof driver) && std::strcmp(driver, "x11") == 0)
            data[0] = mask[0] = 0x80;
    }
    HiddenCursor hidden;
    hidden.previous = SDL_GetCursor();
    hidden.transparent = SDL_CreateCursor(data, mask, 16, 16, 0, 0);
    if (hidden.transparent) {
        SDL_SetCursor(hidden.transparent);
        SDL_ShowCursor(SDL_ENABLE);
    } else {
        // Better a pointer that some devices cannot move than an arrow
        // over the crosshair.
        SDL_ShowCursor(SDL_DISABLE);
    }
    return hidden;
}

void restoreSystemCursor(HiddenCursor& hidden) {
    if (!hidden.transparent) return;
    // The screen that called this one still wants it hidden: give back its
    // cursor before ours stops being current.
    if (hidden.previous) SDL_SetCursor(hidden.previous);
    // Without a cursor to go back to ours stays current; the library frees
    // its current cursor when it shuts down.
    if (SDL_GetCursor() != hidden.transparent) SDL_FreeCursor(hidden.transparent);
    hidden.transparent = nullptr;
}

SDL_Surface* loadImage(const char* file, const ColourKey* key, int alpha) {
    // Again at the load: the file may have been replaced since start-up.
    checkDataFileOrExit(file);
    SDL_RWops* source = SDL_RWFromFile(file, "rb");
    if (!source) assetFailure(file, SDL_GetError());
    SDL_Surface* image = SDL_LoadBMP_RW(source, 1);
    if (!image) assetFailure(file, SDL_GetError());
    if (key)
        SDL_SetColorKey(image, SDL_SRCCOLORKEY | SDL_RLEACCEL,
                        SDL_MapRGB(image->format, key->r, key->g, key->b));
    if (alpha >= 0) SDL_SetAlpha(image, SDL_SRCALPHA | SDL_RLEACCEL, static_cast<Uint8>(alpha));
    if (SDL_GetVideoSurface()) {
        // The key and alpha travel with the conversion.
        SDL_Surface* converted = SDL_DisplayFormat(image);
        if (converted) {
            SDL_FreeSurface(image);
            image = converted;
        }
    }
    nameImage(image, file);
    return image;
}

void freeImage(SDL_Surface*& image) {
    if (!image) return;
    if (gWatch) imageNames().erase(image);
    SDL_FreeSurface(image);
    image = nullptr;
}

void initFonts() {
    if (!TTF_WasInit() && TTF_Init() == -1) assetFailure(dataFile(DATA_FONT), TTF_GetError());
}

TTF_Font* openFont(const char* file, int size) {
    if (const char* damaged = fontTablesOutsideFile(file)) assetFailure(file, damaged);
    TTF_Font* font = TTF_OpenFont(file, size);
    if (!font) assetFailure(file, TTF_GetError());
    return font;
}

void closeFont(TTF_Font* font) { TTF_CloseFont(font); }

SDL_Surface* renderText(TTF_Font* font, const char* text, SDL_Color colour) {
    SDL_Surface* image = TTF_RenderText_Solid(font, text, colour);
    if (!image) assetFailure(dataFile(DATA_FONT), TTF_GetError());
    nameImage(image, std::string("\"") + text + "\"");
    return image;
}

void textToDisplayFormat(SDL_Surface*& text) {
    // The renderer keys a text on palette index 0, its background (SDL_ttf's
    // Solid texts and platform/sdl_ttf alike); set again for run-length blits.
    SDL_SetColorKey(text, SDL_SRCCOLORKEY | SDL_RLEACCEL, 0);
    SDL_Surface* converted = SDL_DisplayFormat(text);
    if (!converted) return;
    renameImage(text, converted);
    SDL_FreeSurface(text);
    text = converted;
}

void fillDisplay(SDL_Surface* display, Uint8 r, Uint8 g, Uint8 b) {
    if (gWatch) gWatch->fill(gWatch->ctx, r, g, b);
    SDL_FillRect(display, nullptr, SDL_MapRGB(display->format, r, g, b));
}

void blitAt(SDL_Surface* image, SDL_Surface* display, int x, int y) {
    watchBlit(image, x, y);
    SDL_Rect where = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(image, nullptr, display, &where);
}

void blitAtRect(SDL_Surface* image, SDL_Surface* display, SDL_Rect* where) {
    watchBlit(image, where->x, where->y);
    // The library writes into a copy: what it leaves there differs between
    // SDL 1.2 implementations.
    SDL_Rect drawn = *where;
    SDL_BlitSurface(image, nullptr, display, &drawn);
    *where = classicBlitRect(*where, image->w, image->h, display->clip_rect);
}

SDL_Rect classicBlitRect(SDL_Rect where, int w, int h, const SDL_Rect& clip) {
    int x = where.x, y = where.y;
    if (clip.x > x) {
        w -= clip.x - x;
        x = clip.x;
    }
    w -= std::max(0, x + w - (clip.x + clip.w));
    if (clip.y > y) {
        h -= clip.y - y;
        y = clip.y;
    }
    h -= std::max(0, y + h - (clip.y + clip.h));
    const bool drawn = w > 0 && h > 0;
    return SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y),
                    static_cast<Uint16>(drawn ? w : 0), static_cast<Uint16>(drawn ? h : 0)};
}

void flipDisplay(SDL_Surface* display) {
    if (gWatch) gWatch->flip(gWatch->ctx);
    SDL_Flip(display);
}

void watchVideo(const VideoWatch* watch) {
    gWatch = watch;
    if (!watch) imageNames().clear();
}
