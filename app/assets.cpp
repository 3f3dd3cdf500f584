#include "app/assets.h"

#include <sys/stat.h>

const char* const kAssetFiles[] = {
    "data/Font.ttf",
    "data/Fadenkreuz.bmp",
    "data/MiniBall.bmp",
    "data/Velmora.bmp",
    "data/screen2.bmp",
    "data/Laser.bmp",
    "data/VelmoraMini.bmp",
    "data/VMFeld.bmp",
    "data/VMFeldDecker.bmp",
    "data/VMFeldCelSh.bmp",
    "data/VMFeldCelShDecker.bmp",
    "data/VMFeldStr.bmp",
    "data/VMFeldStrDecker.bmp",
    "data/VMFeldRas.bmp",
    "data/VMFeldRasDecker.bmp",
    "data/TestFigur1.bmp",
    "data/TestFigur2.bmp",
    "data/Ball.bmp",
    "data/Ballschatten.bmp",
    "data/SchFenster.bmp",
    "data/Leiste.bmp",
    "data/Leistendecker.bmp",
    "data/LadeOK.wav",
    "data/Schuss.wav",
    "data/BlockPl1.wav",
    "data/BlockPl2.wav",
    "data/PL1.wav",
    "data/PL2.wav",
};
const int kAssetFileCount = static_cast<int>(sizeof kAssetFiles / sizeof kAssetFiles[0]);

int reportMissingAssets(std::FILE* err) {
    int missing = 0;
    for (int i = 0; i < kAssetFileCount; ++i) {
        struct stat st;
        if (stat(kAssetFiles[i], &st) != 0 || !S_ISREG(st.st_mode)) {
            std::fprintf(err, "missing game file: %s\n", kAssetFiles[i]);
            ++missing;
        }
    }
    if (missing)
        std::fprintf(err,
                     "Run the game from the folder that holds data/; rebuild the data with "
                     "'cmake --build build --target assets'.\n");
    return missing;
}

void assetFailure(const char* file, const char* reason) {
    std::fprintf(stderr, "%s: %s\n", file, reason && *reason ? reason : "cannot be loaded");
    std::exit(1);
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

SDL_Surface* loadImage(const char* file, const ColourKey* key, int alpha) {
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
    SDL_RWops* source = SDL_RWFromFile(file, "rb");
    if (!source) assetFailure(file, SDL_GetError());
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
    if (!chunk) assetFailure(file, Mix_GetError());
    return chunk;
}

void initFonts() {
    if (!TTF_WasInit() && TTF_Init() == -1) assetFailure("data/Font.ttf", TTF_GetError());
}

TTF_Font* openFont(const char* file, int size) {
    TTF_Font* font = TTF_OpenFont(file, size);
    if (!font) assetFailure(file, TTF_GetError());
    return font;
}

SDL_Surface* renderText(TTF_Font* font, const char* text, SDL_Color colour) {
    SDL_Surface* image = TTF_RenderText_Solid(font, text, colour);
    if (!image) assetFailure("data/Font.ttf", TTF_GetError());
    return image;
}

void blitAt(SDL_Surface* image, SDL_Surface* display, int x, int y) {
    SDL_Rect where = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(image, nullptr, display, &where);
}
