// The browser build's SDL 1.2 (platform/web) against classic SDL 1.2: this
// program is built twice, for Linux on the real library and for node on
// the web platform files, and the two must print the very same lines. Each
// line is a case the game meets: blits keyed, half-transparent or converted
// from 8 and 24 bits, cut at every edge of the display (the rectangle
// written back, the source shifted), fills, the game's own pictures loaded,
// and the error texts of files that do not load.
// Run from the folder that holds data/.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/data_files.h"

namespace {

SDL_Surface* gDisplay = nullptr;

// FNV-1a over the display's pixels (the same 32-bit format on both).
unsigned long digest(SDL_Surface* s) {
    SDL_LockSurface(s);
    uint32_t h = 2166136261u;
    for (int y = 0; y < s->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < s->w * s->format->BytesPerPixel; ++x) h = (h ^ row[x]) * 16777619u;
    }
    SDL_UnlockSurface(s);
    return h;
}

void report(const char* what, const SDL_Rect& r) {
    std::printf("%s: rect %d %d %d %d, display %08lx\n", what, static_cast<int>(r.x), static_cast<int>(r.y),
                static_cast<int>(r.w), static_cast<int>(r.h), digest(gDisplay));
}

// A 51 x 51 sprite in 24 bits like the game's BMPs: a ring of shades on
// white, so keys, blends and edges all show.
SDL_Surface* sprite24() {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 51, 51, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    for (int y = 0; y < 51; ++y)
        for (int x = 0; x < 51; ++x) {
            Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
            const int d = (x - 25) * (x - 25) + (y - 25) * (y - 25);
            const bool ring = d < 625 && d > 100;
            p[0] = ring ? static_cast<Uint8>(x * 5) : 255;        // blue
            p[1] = ring ? static_cast<Uint8>(y * 5 + 1) : 255;    // green
            p[2] = ring ? static_cast<Uint8>(x * y % 251) : 255;  // red
        }
    return s;
}

void background() {
    SDL_FillRect(gDisplay, nullptr, SDL_MapRGB(gDisplay->format, 0, 50, 100));
    // A gradient, so that blends meet every value.
    for (int i = 0; i < 256; ++i) {
        SDL_Rect band = {static_cast<Sint16>(i * 4), 0, 4, 768};
        SDL_FillRect(gDisplay, &band, SDL_MapRGB(gDisplay->format, static_cast<Uint8>(i),
                                                 static_cast<Uint8>(255 - i), static_cast<Uint8>(i * 7)));
    }
}

const int kPlaces[][2] = {{100, 200}, {-20, 300}, {400, -30}, {-40, -45}, {1000, 500},
                          {700, 740}, {1010, 760}, {-60, 10}, {30, 800}};

void blits(const char* name, SDL_Surface* image) {
    for (const auto& at : kPlaces) {
        background();
        SDL_Rect where = {static_cast<Sint16>(at[0]), static_cast<Sint16>(at[1]), 0, 0};
        const int rc = SDL_BlitSurface(image, nullptr, gDisplay, &where);
        char what[80];
        std::snprintf(what, sizeof what, "%s at %d,%d (%d)", name, at[0], at[1], rc);
        report(what, where);
    }
    // A source rectangle that starts outside the image.
    background();
    SDL_Rect part = {-10, 5, 40, 80};
    SDL_Rect where = {300, 300, 0, 0};
    SDL_BlitSurface(image, &part, gDisplay, &where);
    char what[80];
    std::snprintf(what, sizeof what, "%s part -10,5 40x80", name);
    report(what, where);
}

void loadError(const char* what, const char* path) {
    SDL_ClearError();
    SDL_Surface* image = SDL_LoadBMP_RW(SDL_RWFromFile(path, "rb"), 1);
    std::printf("%s: %s, \"%s\"\n", what, image ? "loaded" : "refused", image ? "" : SDL_GetError());
    if (image) SDL_FreeSurface(image);
}

void writeFile(const char* path, const void* data, size_t size) {
    std::FILE* f = std::fopen(path, "wb");
    if (f) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const char* scratch = argc > 1 ? argv[1] : ".";
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    gDisplay = SDL_SetVideoMode(1024, 768, 32, SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN);
    if (!gDisplay) return 1;
    std::printf("display %d bits, masks %08lx %08lx %08lx\n", gDisplay->format->BitsPerPixel,
                static_cast<unsigned long>(gDisplay->format->Rmask),
                static_cast<unsigned long>(gDisplay->format->Gmask),
                static_cast<unsigned long>(gDisplay->format->Bmask));

    // Sprites as the game loads them: keyed (and half transparent), with
    // run-length blits, converted to the display's format.
    SDL_Surface* raw = sprite24();
    SDL_SetColorKey(raw, SDL_SRCCOLORKEY | SDL_RLEACCEL, SDL_MapRGB(raw->format, 255, 255, 255));
    blits("24-bit keyed, unconverted", raw);
    SDL_Surface* keyed = SDL_DisplayFormat(raw);
    blits("keyed", keyed);
    for (int alpha : {128, 77, 200}) {
        SDL_SetAlpha(raw, SDL_SRCALPHA | SDL_RLEACCEL, static_cast<Uint8>(alpha));
        SDL_Surface* blended = SDL_DisplayFormat(raw);
        char name[40];
        std::snprintf(name, sizeof name, "keyed, alpha %d", alpha);
        blits(name, blended);
        SDL_FreeSurface(blended);
    }
    SDL_FreeSurface(keyed);
    SDL_FreeSurface(raw);

    // A text as the renderer makes it: 8 bits, index 0 the keyed
    // background, index 1 the colour.
    SDL_Surface* text = SDL_CreateRGBSurface(SDL_SWSURFACE, 37, 23, 8, 0, 0, 0, 0);
    SDL_Color colours[2] = {{155, 155, 175, 0}, {100, 100, 80, 0}};
    SDL_SetColors(text, colours, 0, 2);
    for (int y = 0; y < text->h; ++y)
        for (int x = 0; x < text->w; ++x)
            static_cast<Uint8*>(text->pixels)[y * text->pitch + x] = static_cast<Uint8>((x * 3 + y) % 5 == 0);
    SDL_SetColorKey(text, SDL_SRCCOLORKEY | SDL_RLEACCEL, 0);
    blits("8-bit text, unconverted", text);
    SDL_Surface* converted = SDL_DisplayFormat(text);
    blits("8-bit text", converted);
    SDL_FreeSurface(converted);
    SDL_FreeSurface(text);

    // Fills cut by the display, the rectangle written back.
    for (const auto& at : kPlaces) {
        background();
        SDL_Rect area = {static_cast<Sint16>(at[0]), static_cast<Sint16>(at[1]), 90, 70};
        SDL_FillRect(gDisplay, &area, SDL_MapRGB(gDisplay->format, 250, 200, 200));
        char what[60];
        std::snprintf(what, sizeof what, "fill at %d,%d", at[0], at[1]);
        report(what, area);
    }

    // Every picture of the game, loaded and converted as the game does.
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        const char* path = kDataFiles[i];
        if (!std::strstr(path, ".bmp")) continue;
        SDL_Surface* image = SDL_LoadBMP_RW(SDL_RWFromFile(path, "rb"), 1);
        if (!image) {
            std::printf("%s: %s\n", path, SDL_GetError());
            continue;
        }
        SDL_Surface* shown = SDL_DisplayFormat(image);
        background();
        SDL_Rect where = {0, 0, 0, 0};
        SDL_BlitSurface(shown, nullptr, gDisplay, &where);
        std::printf("%s: %dx%d, %d bits, ", path, image->w, image->h, image->format->BitsPerPixel);
        report("drawn", where);
        SDL_FreeSurface(shown);
        SDL_FreeSurface(image);
    }

    // Files that do not load, and what SDL says of them.
    char path[512];
    std::snprintf(path, sizeof path, "%s/missing.bmp", scratch);
    loadError("missing", path);
    std::snprintf(path, sizeof path, "%s/text.bmp", scratch);
    writeFile(path, "not a picture at all\n", 21);
    loadError("not a BMP", path);
    unsigned char header[54] = {'B', 'M'};
    header[14] = 40;
    header[18] = 4;          // 4 x 0
    std::snprintf(path, sizeof path, "%s/flat.bmp", scratch);
    writeFile(path, header, sizeof header);
    loadError("no rows", path);
    header[22] = 4;          // 4 x 4
    header[28] = 24;
    header[30] = 1;          // run-length compressed
    std::snprintf(path, sizeof path, "%s/rle.bmp", scratch);
    writeFile(path, header, sizeof header);
    loadError("compressed", path);

    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        std::printf("no audio: %s\n", SDL_GetError());
        return 1;
    }
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        if (!std::strstr(kDataFiles[i], ".wav")) continue;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(kDataFiles[i], "rb"), 1);
        std::printf("%s: %s\n", kDataFiles[i], chunk ? "loaded" : SDL_GetError());
        if (chunk) Mix_FreeChunk(chunk);
    }
    std::snprintf(path, sizeof path, "%s/text.bmp", scratch);
    Mix_Chunk* notSound = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    std::printf("a text as a sound: %s\n", notSound ? "loaded" : SDL_GetError());
    SDL_Quit();
    return 0;
}
