// SDL 1.2's error text, files and BMP pictures for the browser build. The
// toolchain's SDL layer drops every error text (SDL_SetError does nothing),
// hands out file handles that are table numbers rather than SDL_RWops (so
// SDL_RWread and SDL_RWclose cannot work) and frees the wrong one of them;
// here the handles are real and read the files through stdio, and each
// failure keeps the text SDL 1.2 gives it.
#include <SDL.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" void velmora_turn(void);  // web_platform.js: the browser's turn in long loops

namespace {

char gError[1024] = "";

struct FileOps {
    SDL_RWops ops;  // first, so the handle is the record
    std::FILE* fp;
};

std::FILE* fileOf(SDL_RWops* context) { return reinterpret_cast<FileOps*>(context)->fp; }

long fileSeek(SDL_RWops* context, long offset, int whence) {
    if (std::fseek(fileOf(context), offset, whence) == 0) return std::ftell(fileOf(context));
    SDL_SetError("Error seeking in datasource");
    return -1;
}

size_t fileRead(SDL_RWops* context, void* ptr, size_t size, size_t maxnum) {
    const size_t got = std::fread(ptr, size, maxnum, fileOf(context));
    if (got == 0 && std::ferror(fileOf(context))) SDL_SetError("Error reading from datasource");
    return got;
}

size_t fileWrite(SDL_RWops* context, const void* ptr, size_t size, size_t num) {
    const size_t put = std::fwrite(ptr, size, num, fileOf(context));
    if (put == 0 && std::ferror(fileOf(context))) SDL_SetError("Error writing to datasource");
    return put;
}

int fileClose(SDL_RWops* context) {
    const int closed = std::fclose(fileOf(context));
    SDL_FreeRW(context);
    return closed == 0 ? 0 : -1;
}

bool readBytes(SDL_RWops* src, void* out, size_t count) {
    return SDL_RWread(src, out, 1, count) == count;
}

Uint32 le(const Uint8* b, int bytes) {
    Uint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[i];
    return v;
}

// SDL_LoadBMP_RW's reading of a picture into a surface of the file's own
// depth (1- and 4-bit pictures widened to 8); null with SDL 1.2's reason.
SDL_Surface* readBmp(SDL_RWops* src) {
    SDL_ClearError();
    const long start = SDL_RWseek(src, 0, RW_SEEK_CUR);
    Uint8 head[14 + 40];
    if (!readBytes(src, head, 2)) {
        SDL_SetError("Error reading from datasource");
        return nullptr;
    }
    if (head[0] != 'B' || head[1] != 'M') {
        SDL_SetError("File is not a Windows BMP file");
        return nullptr;
    }
    if (!readBytes(src, head + 2, 16)) {
        SDL_SetError("Error reading from datasource");
        return nullptr;
    }
    const Uint32 offBits = le(head + 10, 4);
    const Uint32 infoSize = le(head + 14, 4);
    Sint32 width, height;
    Uint32 bits, compression = 0, coloursUsed = 0;
    if (infoSize == 12) {
        if (!readBytes(src, head + 18, 8)) {
            SDL_SetError("Error reading from datasource");
            return nullptr;
        }
        width = static_cast<Sint32>(le(head + 18, 2));
        height = static_cast<Sint32>(le(head + 20, 2));
        bits = le(head + 24, 2);
    } else {
        if (!readBytes(src, head + 18, 36)) {
            SDL_SetError("Error reading from datasource");
            return nullptr;
        }
        width = static_cast<Sint32>(le(head + 18, 4));
        height = static_cast<Sint32>(le(head + 22, 4));
        bits = le(head + 28, 2);
        compression = le(head + 30, 4);
        coloursUsed = le(head + 46, 4);
    }
    if (width <= 0 || height == 0) {
        SDL_SetError("BMP file with bad dimensions (%dx%d)", width, height);
        return nullptr;
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    int expand = 0;
    if (bits == 1 || bits == 4) {
        expand = static_cast<int>(bits);
        bits = 8;
    } else if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) {
        SDL_SetError("%d-bpp BMP images are not supported", static_cast<int>(bits));
        return nullptr;
    }
    Uint32 masks[3] = {0, 0, 0};
    if (compression == 0 && offBits == 14 + infoSize) {
        if (bits == 15 || bits == 16) {
            masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        } else if (bits == 24 || bits == 32) {
            masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF;
        }
    } else if (compression == 0 || compression == 3) {
        if (bits == 15 || bits == 16 || bits == 32) {
            Uint8 m[12];
            if (!readBytes(src, m, sizeof m)) {
                SDL_SetError("Error reading from datasource");
                return nullptr;
            }
            for (int i = 0; i < 3; ++i) masks[i] = le(m + 4 * i, 4);
        }
    } else {
        SDL_SetError("Compressed BMP files not supported");
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, bits == 15 ? 16 : static_cast<int>(bits),
                                                masks[0], masks[1], masks[2], 0);
    if (!surface) return nullptr;
    auto failed = [surface](const char* reason) {
        SDL_SetError("%s", reason);
        SDL_FreeSurface(surface);
        return nullptr;
    };
    SDL_Palette* palette = surface->format->palette;
    if (palette) {
        if (coloursUsed == 0) coloursUsed = 1u << bits;
        if (coloursUsed > (1u << bits)) return failed("BMP file has an invalid number of colors");
        for (Uint32 i = 0; i < coloursUsed; ++i) {
            Uint8 bgr[4] = {0, 0, 0, 0};
            if (!readBytes(src, bgr, infoSize == 12 ? 3 : 4)) break;  // as SDL: short reads ignored
            palette->colors[i] = SDL_Color{bgr[2], bgr[1], bgr[0], 0};
        }
        palette->ncolors = static_cast<int>(coloursUsed);
    }
    if (SDL_RWseek(src, start + static_cast<long>(offBits), RW_SEEK_SET) < 0)
        return failed("Error seeking in datasource");
    const int rowBytes = expand ? (width * expand + 7) / 8 : surface->pitch;
    const int pad = rowBytes % 4 ? 4 - rowBytes % 4 : 0;
    Uint8 row[4096 / 2 + 4];
    for (int n = 0; n < height; ++n) {
        if (n % 64 == 63) velmora_turn();
        Uint8* bitsRow = static_cast<Uint8*>(surface->pixels) +
                         (topDown ? n : height - 1 - n) * surface->pitch;
        if (expand) {
            if (rowBytes > static_cast<int>(sizeof row) || !readBytes(src, row, static_cast<size_t>(rowBytes)))
                return failed("Error reading from BMP");
            for (int i = 0; i < width; ++i) {
                const int bit = i * expand;
                bitsRow[i] = static_cast<Uint8>(row[bit / 8] >> (8 - expand - bit % 8) & ((1 << expand) - 1));
            }
        } else if (!readBytes(src, bitsRow, static_cast<size_t>(rowBytes))) {
            return failed("Error reading from datasource");
        }
        if (palette && coloursUsed < 256)
            for (int i = 0; i < width; ++i)
                if (bitsRow[i] >= coloursUsed)
                    return failed("A BMP image contains a pixel with a color out of the palette");
        Uint8 skip[4];
        if (pad) SDL_RWread(src, skip, 1, static_cast<size_t>(pad));
    }
    return surface;
}

}  // namespace

extern "C" {

void SDL_SetError(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(gError, sizeof gError, fmt, args);
    va_end(args);
}

const char* SDL_GetError(void) { return gError; }

void SDL_ClearError(void) { gError[0] = '\0'; }

SDL_RWops* SDL_AllocRW(void) {
    SDL_RWops* area = static_cast<SDL_RWops*>(std::calloc(1, sizeof(FileOps)));
    if (!area) SDL_SetError("Out of memory");
    return area;
}

void SDL_FreeRW(SDL_RWops* area) { std::free(area); }

SDL_RWops* SDL_RWFromFile(const char* file, const char* mode) {
    if (!file || !*file || !mode || !*mode) {
        SDL_SetError("SDL_RWFromFile(): No file or no mode specified");
        return nullptr;
    }
    std::FILE* fp = std::fopen(file, mode);
    if (!fp) {
        SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    SDL_RWops* ops = SDL_AllocRW();
    if (!ops) {
        std::fclose(fp);
        return nullptr;
    }
    ops->seek = fileSeek;
    ops->read = fileRead;
    ops->write = fileWrite;
    ops->close = fileClose;
    reinterpret_cast<FileOps*>(ops)->fp = fp;
    return ops;
}

SDL_Surface* SDL_LoadBMP_RW(SDL_RWops* src, int freesrc) {
    if (!src) return nullptr;  // SDL_RWFromFile has said why
    SDL_Surface* surface = readBmp(src);
    if (freesrc) SDL_RWclose(src);
    return surface;
}

// The game sets its defaults for the library this way; the C library's
// putenv keeps the string, as the game expects.
int SDL_putenv(const char* variable) { return putenv(const_cast<char*>(variable)); }

}  // extern "C"
