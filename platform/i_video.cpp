#include "platform/i_video.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

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

// The page's display never rests: it hands the canvas only the pixels that
// changed, and paces on its flips. (Known when compiling, so the page's
// download is spared the code.)
#ifdef __EMSCRIPTEN__
constexpr bool kMayRest = false;
#else
constexpr bool kMayRest = true;
#endif

// Every image and text the game made gets a serial number of its own, so
// that an image freed and another made at the same address are told apart.
// An image not made here has none (0), and a pass that draws it is never
// taken for the same as another.
std::unordered_map<const SDL_Surface*, uint64_t>& imageSerials() {
    static std::unordered_map<const SDL_Surface*, uint64_t> serials;
    return serials;
}

void numberImage(const SDL_Surface* image) {
    static uint64_t next = 0;
    if (kMayRest && image) imageSerials()[image] = ++next;
}

uint64_t serialOf(const SDL_Surface* image) {
    auto it = imageSerials().find(image);
    return it == imageSerials().end() ? 0 : it->second;
}

// One fill (image null, colour in serial) or blit of a pass.
struct DrawCall {
    SDL_Surface* image;
    uint64_t serial;
    int x, y;
    bool operator==(const DrawCall& o) const {
        return image == o.image && serial == o.serial && x == o.x && y == o.y &&
               (image == nullptr || serial != 0);
    }
};

struct Rest {
    bool on = kMayRest;
    SDL_Surface* display = nullptr;  // the game's, as setGameVideoMode gave it
    std::vector<DrawCall> pending;   // this pass's calls, not drawn yet
    std::vector<DrawCall> shown;     // the calls of the picture last presented
    // The pass so far started by covering the whole display, so its picture
    // is its calls alone, whatever was on show before.
    bool pendingCovers = false;
    // Set when the picture on show is not what `shown` alone draws (it was
    // drawn over the one before), or the system asked for the window again.
    bool mustPresent = true;
    unsigned long presented = 0;
};

Rest& rest() {
    static Rest r;
    return r;
}

bool deferredOn(const SDL_Surface* display) {
    const Rest& r = rest();
    return kMayRest && r.on && display == r.display && display == SDL_GetVideoSurface();
}

void drawCall(SDL_Surface* display, const DrawCall& c) {
    if (!c.image) {
        SDL_FillRect(display, nullptr, static_cast<Uint32>(c.serial));
        return;
    }
    SDL_Rect where = {static_cast<Sint16>(c.x), static_cast<Sint16>(c.y), 0, 0};
    SDL_BlitSurface(c.image, nullptr, display, &where);
}

// Draws what is kept for this pass now (an image in it is about to go);
// the pass then no longer describes its picture alone.
void drawPending() {
    Rest& r = rest();
    if (r.display == SDL_GetVideoSurface())
        for (const DrawCall& c : r.pending) drawCall(r.display, c);
    r.pending.clear();
    r.pendingCovers = false;
}

void keepCall(SDL_Surface* display, const DrawCall& c) {
    Rest& r = rest();
    // A call that leaves nothing of what was drawn before it: what came
    // before in the pass need not be drawn.
    bool covers = c.image == nullptr;
    if (c.image && !(c.image->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)))
        covers = c.x <= 0 && c.y <= 0 && c.x + c.image->w >= display->w &&
                 c.y + c.image->h >= display->h;
    if (covers) {
        r.pending.clear();
        r.pendingCovers = true;
    }
    // A screen that never flips must not gather calls without end.
    if (r.pending.size() >= 4096) drawPending();
    r.pending.push_back(c);
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
    // The mode's surface holds nothing of the last picture.
    Rest& r = rest();
    r.display = display;
    r.pending.clear();
    r.pendingCovers = false;
    r.shown.clear();
    r.mustPresent = true;
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
    numberImage(image);
    return image;
}

void freeImage(SDL_Surface*& image) {
    if (!image) return;
    if (gWatch) imageNames().erase(image);
    for (const DrawCall& c : rest().pending)
        if (c.image == image) {
            drawPending();
            break;
        }
    if (kMayRest) imageSerials().erase(image);
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
    numberImage(image);
    return image;
}

void textToDisplayFormat(SDL_Surface*& text) {
    // The renderer keys a text on palette index 0, its background (SDL_ttf's
    // Solid texts and platform/sdl_ttf alike); set again for run-length blits.
    SDL_SetColorKey(text, SDL_SRCCOLORKEY | SDL_RLEACCEL, 0);
    SDL_Surface* converted = SDL_DisplayFormat(text);
    if (!converted) return;
    renameImage(text, converted);
    if (kMayRest) imageSerials().erase(text);
    numberImage(converted);
    SDL_FreeSurface(text);
    text = converted;
}

void fillDisplay(SDL_Surface* display, Uint8 r, Uint8 g, Uint8 b) {
    if (gWatch) gWatch->fill(gWatch->ctx, r, g, b);
    const Uint32 colour = SDL_MapRGB(display->format, r, g, b);
    if (deferredOn(display))
        keepCall(display, DrawCall{nullptr, colour, 0, 0});
    else
        SDL_FillRect(display, nullptr, colour);
}

void blitAt(SDL_Surface* image, SDL_Surface* display, int x, int y) {
    watchBlit(image, x, y);
    if (deferredOn(display)) {
        if (image) keepCall(display, DrawCall{image, serialOf(image), x, y});
        return;
    }
    SDL_Rect where = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(image, nullptr, display, &where);
}

void blitAtRect(SDL_Surface* image, SDL_Surface* display, SDL_Rect* where) {
    watchBlit(image, where->x, where->y);
    // The library writes into a copy: what it leaves there differs between
    // SDL 1.2 implementations.
    if (deferredOn(display))
        keepCall(display, DrawCall{image, serialOf(image), where->x, where->y});
    else {
        SDL_Rect drawn = *where;
        SDL_BlitSurface(image, nullptr, display, &drawn);
    }
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
    Rest& r = rest();
    if (deferredOn(display)) {
        const bool same = !r.mustPresent && r.pendingCovers && r.pending == r.shown;
        if (same) {
            r.pending.clear();
            r.pendingCovers = false;
            return;
        }
        for (const DrawCall& c : r.pending) drawCall(display, c);
        r.shown.swap(r.pending);
        r.pending.clear();
        // A pass that drew over the last picture leaves one that its calls
        // do not describe alone.
        r.mustPresent = !r.pendingCovers;
        r.pendingCovers = false;
    }
    SDL_Flip(display);
    ++r.presented;
}

void restStillPictures(bool on) {
    drawPending();
    Rest& r = rest();
    r.on = on;
    r.shown.clear();
    r.mustPresent = true;
}

unsigned long picturesPresented() { return rest().presented; }

void noteDisplayEvent(const SDL_Event& event) {
    if (kMayRest && (event.type == SDL_VIDEOEXPOSE || event.type == SDL_VIDEORESIZE ||
                     (event.type == SDL_ACTIVEEVENT && event.active.gain)))
        rest().mustPresent = true;
}

void watchVideo(const VideoWatch* watch) {
    gWatch = watch;
    if (!watch) imageNames().clear();
}
