#include "app/assets.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>

#include "app/data_checks.h"
#include "app/data_files.h"

int reportMissingAssets(std::FILE* err) {
    int missing = 0;
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        struct stat st;
        if (stat(kDataFiles[i], &st) != 0 || !S_ISREG(st.st_mode)) {
            std::fprintf(err, "missing game file: %s\n", kDataFiles[i]);
            ++missing;
        }
    }
    if (missing)
        std::fprintf(err,
                     "The game runs from the folder that holds data/ (the installed launcher "
                     "goes there itself). Reinstall the package, or rebuild the data with "
                     "'cmake --build build --target assets'.\n");
    return missing;
}

void assetFailure(const char* file, const char* reason) {
    std::fprintf(stderr, "%s: %s\n", file, reason && *reason ? reason : "cannot be loaded");
    std::exit(1);
}

void setLibraryDefaults() {
    // Classic SDL refuses a WAV whose data is cut short, which ends the game
    // with the file's name; SDL2 would play the part that is there.
    // SDL_putenv, not setenv: the Windows C library has no setenv.
    if (!std::getenv("SDL_WAVE_TRUNCATION"))
        SDL_putenv(const_cast<char*>("SDL_WAVE_TRUNCATION=strict"));
}

SDL_Surface* setGameVideoMode() {
    SDL_Surface* display =
        SDL_SetVideoMode(1024, 768, 32, SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN);
    if (!display) {
        std::printf("Can't set VideoMode: \n%s", SDL_GetError());
        std::exit(1);
    }
    return display;
}

HiddenCursor hideSystemCursor() {
    // Data and mask all 0: every pixel of the cursor is transparent.
    static const Uint8 kNoBits[16 * 16 / 8] = {};
    HiddenCursor hidden;
    hidden.previous = SDL_GetCursor();
    hidden.transparent =
        SDL_CreateCursor(const_cast<Uint8*>(kNoBits), const_cast<Uint8*>(kNoBits), 16, 16, 0, 0);
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
    return image;
}

Mix_Chunk* loadSound(const char* file) {
    checkDataFileOrExit(file);
    SDL_RWops* source = SDL_RWFromFile(file, "rb");
    if (!source) assetFailure(file, SDL_GetError());
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
    if (!chunk) assetFailure(file, Mix_GetError());
    return chunk;
}

void initFonts() {
    if (!TTF_WasInit() && TTF_Init() == -1) assetFailure(dataFile(DATA_FONT), TTF_GetError());
}

namespace {

uint32_t bigEndian(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
    return value;
}

// FreeType opens a TrueType file that was cut short and then draws every
// text blank, so the table directory is held against the file's size first.
// Returns why the file is damaged, or nullptr when the tables fit (or the
// file is no TrueType/OpenType font at all, which TTF_OpenFont reports).
const char* fontTablesOutsideFile(const char* file) {
    std::FILE* in = std::fopen(file, "rb");
    if (!in) return nullptr;
    const char* reason = nullptr;
    unsigned char header[12];
    if (std::fread(header, 1, sizeof header, in) == sizeof header) {
        const uint32_t version = bigEndian(header, 4);
        if (version == 0x00010000u || version == 0x74727565u /* true */ ||
            version == 0x4F54544Fu /* OTTO */) {
            std::fseek(in, 0, SEEK_END);
            const long size = std::ftell(in);
            const uint32_t tables = bigEndian(header + 4, 2);
            std::fseek(in, static_cast<long>(sizeof header), SEEK_SET);
            for (uint32_t i = 0; i < tables && !reason; ++i) {
                unsigned char record[16];
                if (std::fread(record, 1, sizeof record, in) != sizeof record) {
                    reason = "the font file ends inside its table directory";
                } else {
                    const uint64_t end =
                        uint64_t{bigEndian(record + 8, 4)} + bigEndian(record + 12, 4);
                    if (size < 0 || end > static_cast<uint64_t>(size))
                        reason = "the font file is cut short (a table ends past its end)";
                }
            }
        }
    }
    std::fclose(in);
    return reason;
}

}  // namespace

TTF_Font* openFont(const char* file, int size) {
    if (const char* damaged = fontTablesOutsideFile(file)) assetFailure(file, damaged);
    TTF_Font* font = TTF_OpenFont(file, size);
    if (!font) assetFailure(file, TTF_GetError());
    return font;
}

SDL_Surface* renderText(TTF_Font* font, const char* text, SDL_Color colour) {
    SDL_Surface* image = TTF_RenderText_Solid(font, text, colour);
    if (!image) assetFailure(dataFile(DATA_FONT), TTF_GetError());
    return image;
}

void blitAt(SDL_Surface* image, SDL_Surface* display, int x, int y) {
    SDL_Rect where = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(image, nullptr, display, &where);
}
