// SDL 1.2's surfaces, blits and display for the browser build.
//
// The toolchain's own SDL layer keeps each surface in a canvas and parts from
// SDL 1.2 exactly where the game looks: colour keys are ignored, a
// half-transparent blit is blended by the canvas (one off in a third of the
// colour values), a clipped blit neither writes the drawn rectangle back nor
// shifts its source, and there is no SDL_DisplayFormat. Here every picture
// lives in the program's memory in the Linux game's display format and is
// drawn with SDL 1.2's own arithmetic; a flip hands the changed part of the
// display to the page's canvas at the next display refresh (web_platform.js),
// so the page never copies more than one picture a refresh.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" {
// web_platform.js
void velmora_canvas_open(int w, int h);
void velmora_present(const void* pixels, int w, int h, int x0, int y0, int x1, int y1);
void velmora_pointer_visible(int visible);
// Gives the browser its turn when the game has held it long (web_platform.js).
void velmora_turn(void);
}

namespace {

// An SDL_Surface with what SDL 1.2 keeps beside it. Every surface the game
// sees is one of these, so the cast back is safe.
struct WebSurface {
    SDL_Surface s;
    SDL_PixelFormat format;
    SDL_Palette palette;
    SDL_Color colors[256];
    Uint32 colorkey;
    Uint8 alpha;
};

WebSurface* web(SDL_Surface* s) { return reinterpret_cast<WebSurface*>(s); }

// The display's format is the Linux game's 32-bit X11 one, so every pixel
// value, key and blend below is the same number there.
constexpr Uint32 kDisplayR = 0x00ff0000, kDisplayG = 0x0000ff00, kDisplayB = 0x000000ff;

SDL_Surface* gDisplay = nullptr;
// The display as last handed to the canvas: its own pixels, and the same
// as the canvas takes them (RGBA bytes, opaque).
Uint32* gLast = nullptr;
Uint32* gShown = nullptr;
bool gShowAll = true;  // the next flip hands over every pixel

void maskShiftLoss(Uint32 mask, Uint8& shift, Uint8& loss) {
    shift = 0;
    loss = 8;
    if (!mask) return;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    while (mask & 1) {
        mask >>= 1;
        --loss;
    }
}

// SDL_AllocFormat: given masks, or the standard R-G-B ones for a depth above
// 8, or a palette (zeroed; two colours, white and black, for 1 bit).
void initFormat(WebSurface* ws, int bpp, Uint32 r, Uint32 g, Uint32 b, Uint32 a) {
    SDL_PixelFormat& f = ws->format;
    std::memset(&f, 0, sizeof f);
    f.BitsPerPixel = static_cast<Uint8>(bpp);
    f.BytesPerPixel = static_cast<Uint8>((bpp + 7) / 8);
    if (r || g || b) {
        f.Rmask = r;
        f.Gmask = g;
        f.Bmask = b;
        f.Amask = a;
    } else if (bpp > 8) {
        const int depth = bpp > 24 ? 24 : bpp;
        const int loss = 8 - depth / 3;
        f.Rmask = (0xFFu >> loss) << (depth / 3 + depth % 3 + depth / 3);
        f.Gmask = (0xFFu >> (loss - depth % 3)) << (depth / 3);
        f.Bmask = 0xFFu >> loss;
    }
    maskShiftLoss(f.Rmask, f.Rshift, f.Rloss);
    maskShiftLoss(f.Gmask, f.Gshift, f.Gloss);
    maskShiftLoss(f.Bmask, f.Bshift, f.Bloss);
    maskShiftLoss(f.Amask, f.Ashift, f.Aloss);
    f.refcount = 1;
    if (bpp <= 8) {
        ws->palette.ncolors = 1 << bpp;
        ws->palette.colors = ws->colors;
        ws->palette.refcount = 1;
        std::memset(ws->colors, 0, sizeof ws->colors);
        if (bpp == 1) {
            ws->colors[0] = SDL_Color{255, 255, 255, 0};
            ws->colors[1] = SDL_Color{0, 0, 0, 0};
        }
        f.palette = &ws->palette;
    }
}

SDL_Surface* makeSurface(Uint32 flags, int w, int h, int bpp, Uint32 r, Uint32 g, Uint32 b,
                         Uint32 a) {
    if (w < 0 || h < 0 || w >= 16384 || h >= 65536) {
        SDL_SetError("Width or height is too large");
        return nullptr;
    }
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        SDL_SetError("Unsupported pixel depth %d", bpp);
        return nullptr;
    }
    WebSurface* ws = static_cast<WebSurface*>(std::calloc(1, sizeof(WebSurface)));
    if (!ws) {
        SDL_SetError("Out of memory");
        return nullptr;
    }
    initFormat(ws, bpp, r, g, b, a);
    ws->alpha = 255;
    SDL_Surface& s = ws->s;
    s.flags = flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA);
    s.format = &ws->format;
    s.w = w;
    s.h = h;
    s.pitch = (w * ws->format.BytesPerPixel + 3) & ~3;
    s.clip_rect = SDL_Rect{0, 0, w, h};
    s.refcount = 1;
    if (s.pitch && h) {
        s.pixels = std::calloc(static_cast<size_t>(s.pitch), static_cast<size_t>(h));
        if (!s.pixels) {
            std::free(ws);
            SDL_SetError("Out of memory");
            return nullptr;
        }
    }
    return &s;
}

Uint32 readPixel(const Uint8* p, int bytes) {
    switch (bytes) {
        case 1: return p[0];
        case 2: return static_cast<Uint32>(p[0] | p[1] << 8);
        case 3: return static_cast<Uint32>(p[0] | p[1] << 8 | p[2] << 16);
        default: {
            Uint32 v;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
}

void writePixel(Uint8* p, int bytes, Uint32 v) {
    switch (bytes) {
        case 1: p[0] = static_cast<Uint8>(v); break;
        case 2: p[0] = static_cast<Uint8>(v); p[1] = static_cast<Uint8>(v >> 8); break;
        case 3:
            p[0] = static_cast<Uint8>(v);
            p[1] = static_cast<Uint8>(v >> 8);
            p[2] = static_cast<Uint8>(v >> 16);
            break;
        default: std::memcpy(p, &v, 4); break;
    }
}

// What a blit makes of a source pixel: the channels shifted up by their
// loss (RGB_FROM_PIXEL), or the palette's colour.
void pixelRgb(const SDL_PixelFormat& f, Uint32 v, Uint8& r, Uint8& g, Uint8& b) {
    if (f.palette) {
        const SDL_Color& c = f.palette->colors[v & 0xff];
        r = c.r;
        g = c.g;
        b = c.b;
        return;
    }
    r = static_cast<Uint8>(((v & f.Rmask) >> f.Rshift) << f.Rloss);
    g = static_cast<Uint8>(((v & f.Gmask) >> f.Gshift) << f.Gloss);
    b = static_cast<Uint8>(((v & f.Bmask) >> f.Bshift) << f.Bloss);
}

Uint8 findColour(const SDL_Palette& palette, Uint8 r, Uint8 g, Uint8 b) {
    unsigned best = ~0u;
    Uint8 index = 0;
    for (int i = 0; i < palette.ncolors; ++i) {
        const int dr = palette.colors[i].r - r, dg = palette.colors[i].g - g,
                  db = palette.colors[i].b - b;
        const unsigned distance = static_cast<unsigned>(dr * dr + dg * dg + db * db);
        if (distance < best) {
            index = static_cast<Uint8>(i);
            if (distance == 0) break;
            best = distance;
        }
    }
    return index;
}

bool intersect(const SDL_Rect& a, const SDL_Rect& b, SDL_Rect& out) {
    const int x0 = a.x > b.x ? a.x : b.x, y0 = a.y > b.y ? a.y : b.y;
    const int x1 = a.x + a.w < b.x + b.w ? a.x + a.w : b.x + b.w;
    const int y1 = a.y + a.h < b.y + b.h ? a.y + a.h : b.y + b.h;
    // An empty result keeps its corner and has no size, as in SDL 1.2.
    out = SDL_Rect{x0, y0, x1 > x0 ? x1 - x0 : 0, y1 > y0 ? y1 - y0 : 0};
    return out.w > 0 && out.h > 0;
}

// SDL 1.2's run-length blits of a keyed, half-transparent surface onto the
// 8-8-8 display: 50 % exactly at alpha 128, else the channel pairs R-B and
// G each moved alpha/256 of the way (the same words, so the same carries).
Uint32 blend888(Uint32 s, Uint32 d, unsigned alpha) {
    if (alpha == 128) return (((s & 0x00fefefe) + (d & 0x00fefefe)) >> 1) + (s & d & 0x00010101);
    Uint32 s1 = s & 0xff00ff, d1 = d & 0xff00ff;
    d1 = (d1 + ((s1 - d1) * alpha >> 8)) & 0xff00ff;
    s &= 0xff00;
    d &= 0xff00;
    d = (d + ((s - d) * alpha >> 8)) & 0xff00;
    return d1 | d;
}

bool is888(const SDL_PixelFormat& f) {
    return f.BytesPerPixel == 4 && (f.Rmask | f.Gmask | f.Bmask) == 0x00ffffff &&
           (f.Gmask == 0xff00 || f.Rmask == 0xff00 || f.Bmask == 0xff00);
}

// SDL_LowerBlit on rectangles already clipped: the key (on the pixel without
// its alpha bits), then a copy, a blend or a conversion.
int lowerBlit(SDL_Surface* src, const SDL_Rect& sr, SDL_Surface* dst, const SDL_Rect& dr) {
    const WebSurface* ws = web(src);
    const SDL_PixelFormat& sf = *src->format;
    const SDL_PixelFormat& df = *dst->format;
    const bool keyed = (src->flags & SDL_SRCCOLORKEY) != 0;
    const bool blended = (src->flags & SDL_SRCALPHA) && ws->alpha != 255 && sf.Amask == 0;
    const Uint32 key = ws->colorkey, keyMask = ~sf.Amask;
    const int sb = sf.BytesPerPixel, db = df.BytesPerPixel;
    const bool sameFormat = sb == db && sf.Rmask == df.Rmask && sf.Gmask == df.Gmask &&
                            sf.Bmask == df.Bmask && !sf.palette && !df.palette;
    if (blended && !(sameFormat && is888(df))) {
        SDL_SetError("Blended blits are drawn onto the display's format only");
        return -1;
    }
    if (df.palette && !sf.palette) {
        // Not needed by the game; refused rather than drawn wrong.
        SDL_SetError("Blits onto a palette are not supported");
        return -1;
    }
    for (int row = 0; row < sr.h; ++row) {
        if (row % 64 == 63) velmora_turn();
        const Uint8* in = static_cast<const Uint8*>(src->pixels) + (sr.y + row) * src->pitch + sr.x * sb;
        Uint8* out = static_cast<Uint8*>(dst->pixels) + (dr.y + row) * dst->pitch + dr.x * db;
        if (sameFormat && !keyed && !blended) {
            std::memcpy(out, in, static_cast<size_t>(sr.w * sb));
            continue;
        }
        if (sameFormat && sb == 4) {
            // Every drawn sprite ends up here: the display's own format.
            const Uint32* in32 = reinterpret_cast<const Uint32*>(in);
            Uint32* out32 = reinterpret_cast<Uint32*>(out);
            for (int col = 0; col < sr.w; ++col) {
                const Uint32 v = in32[col];
                if (keyed && (v & keyMask) == key) continue;
                out32[col] = blended ? blend888(v, out32[col], ws->alpha) : v;
            }
            continue;
        }
        // Other depths and conversions (blends never come here).
        for (int col = 0; col < sr.w; ++col, in += sb, out += db) {
            const Uint32 v = readPixel(in, sb);
            if (keyed && (v & keyMask) == key) continue;
            if (sameFormat || df.palette) {
                writePixel(out, db, v);  // the same format, or index to index
            } else {
                Uint8 r, g, b;
                pixelRgb(sf, v, r, g, b);
                writePixel(out, db,
                           static_cast<Uint32>(r >> df.Rloss) << df.Rshift |
                               static_cast<Uint32>(g >> df.Gloss) << df.Gshift |
                               static_cast<Uint32>(b >> df.Bloss) << df.Bshift | df.Amask);
            }
        }
    }
    return 0;
}

}  // namespace

extern "C" {

SDL_Surface* SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 Rmask,
                                  Uint32 Gmask, Uint32 Bmask, Uint32 Amask) {
    // Texts are drawn into new surfaces: a turn here comes between them.
    velmora_turn();
    return makeSurface(flags, width, height, depth, Rmask, Gmask, Bmask, Amask);
}

void SDL_FreeSurface(SDL_Surface* surface) {
    // The display belongs to the library.
    if (!surface || surface == gDisplay) return;
    if (--surface->refcount > 0) return;
    std::free(surface->pixels);
    std::free(web(surface));
}

int SDL_LockSurface(SDL_Surface* surface) {
    ++surface->locked;
    return 0;
}

void SDL_UnlockSurface(SDL_Surface* surface) {
    if (surface->locked > 0) --surface->locked;
}

int SDL_SetColors(SDL_Surface* surface, const SDL_Color* colors, int firstcolor, int ncolors) {
    SDL_Palette* palette = surface->format->palette;
    if (!palette) return 0;
    if (firstcolor < 0) firstcolor = 0;
    if (ncolors > palette->ncolors - firstcolor) ncolors = palette->ncolors - firstcolor;
    for (int i = 0; i < ncolors; ++i) palette->colors[firstcolor + i] = colors[i];
    return 1;
}

Uint32 SDL_MapRGB(const SDL_PixelFormat* format, Uint8 r, Uint8 g, Uint8 b) {
    if (format->palette) return findColour(*format->palette, r, g, b);
    return static_cast<Uint32>(r >> format->Rloss) << format->Rshift |
           static_cast<Uint32>(g >> format->Gloss) << format->Gshift |
           static_cast<Uint32>(b >> format->Bloss) << format->Bshift | format->Amask;
}

void SDL_GetRGB(Uint32 pixel, const SDL_PixelFormat* format, Uint8* r, Uint8* g, Uint8* b) {
    if (format->palette) {
        const SDL_Color& c = format->palette->colors[pixel & 0xff];
        *r = c.r;
        *g = c.g;
        *b = c.b;
        return;
    }
    // SDL 1.2 fills the low bits of a short channel from its high bits here.
    auto channel = [pixel](Uint32 mask, Uint8 shift, Uint8 loss) {
        const unsigned v = (pixel & mask) >> shift;
        return static_cast<Uint8>((v << loss) + (v >> (8 - (loss << 1))));
    };
    *r = channel(format->Rmask, format->Rshift, format->Rloss);
    *g = channel(format->Gmask, format->Gshift, format->Gloss);
    *b = channel(format->Bmask, format->Bshift, format->Bloss);
}

int SDL_SetColorKey(SDL_Surface* surface, int flag, Uint32 key) {
    if (flag & SDL_SRCCOLORKEY) {
        surface->flags |= SDL_SRCCOLORKEY;
        web(surface)->colorkey = key;
    } else {
        surface->flags &= ~static_cast<Uint32>(SDL_SRCCOLORKEY);
        web(surface)->colorkey = 0;
    }
    return 0;
}

int SDL_SetAlpha(SDL_Surface* surface, Uint32 flag, Uint8 value) {
    if (flag & SDL_SRCALPHA) {
        surface->flags |= SDL_SRCALPHA;
        web(surface)->alpha = value;
    } else {
        surface->flags &= ~static_cast<Uint32>(SDL_SRCALPHA);
        web(surface)->alpha = 255;
    }
    return 0;
}

// SDL_ConvertSurface onto the display's format: the pixels converted, the
// key mapped to the same colour there, the surface alpha kept.
SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface) {
    if (!gDisplay) {
        SDL_SetError("No video mode has been set");
        return nullptr;
    }
    const SDL_PixelFormat& f = *gDisplay->format;
    SDL_Surface* convert = makeSurface(0, surface->w, surface->h, f.BitsPerPixel, f.Rmask,
                                       f.Gmask, f.Bmask, f.Amask);
    if (!convert) return nullptr;
    const Uint32 flags = surface->flags;
    surface->flags &= ~static_cast<Uint32>(SDL_SRCCOLORKEY | SDL_SRCALPHA);
    const SDL_Rect all = {0, 0, surface->w, surface->h};
    const int converted = lowerBlit(surface, all, convert, all);
    surface->flags = flags;
    if (converted < 0) {
        SDL_FreeSurface(convert);
        return nullptr;
    }
    convert->clip_rect = surface->clip_rect;
    if (flags & SDL_SRCCOLORKEY) {
        Uint8 r, g, b;
        SDL_GetRGB(web(surface)->colorkey, surface->format, &r, &g, &b);
        SDL_SetColorKey(convert, SDL_SRCCOLORKEY, SDL_MapRGB(convert->format, r, g, b));
    }
    if (flags & SDL_SRCALPHA) SDL_SetAlpha(convert, SDL_SRCALPHA, web(surface)->alpha);
    return convert;
}

// SDL 1.2's clipping: a source rectangle cut to the source, the destination
// cut to its clip rectangle with the source shifted alike, and the drawn
// rectangle written back into dstrect.
int SDL_UpperBlit(SDL_Surface* src, const SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect) {
    if (!src || !dst) {
        SDL_SetError("SDL_UpperBlit: passed a NULL surface");
        return -1;
    }
    if (src->locked || dst->locked) {
        SDL_SetError("Surfaces must not be locked during blit");
        return -1;
    }
    SDL_Rect fulldst = {0, 0, 0, 0};
    if (!dstrect) dstrect = &fulldst;
    int srcx, srcy, w, h;
    if (srcrect) {
        srcx = srcrect->x;
        w = srcrect->w;
        if (srcx < 0) {
            w += srcx;
            dstrect->x -= srcx;
            srcx = 0;
        }
        if (src->w - srcx < w) w = src->w - srcx;
        srcy = srcrect->y;
        h = srcrect->h;
        if (srcy < 0) {
            h += srcy;
            dstrect->y -= srcy;
            srcy = 0;
        }
        if (src->h - srcy < h) h = src->h - srcy;
    } else {
        srcx = srcy = 0;
        w = src->w;
        h = src->h;
    }
    const SDL_Rect& clip = dst->clip_rect;
    int dx = clip.x - dstrect->x;
    if (dx > 0) {
        w -= dx;
        dstrect->x += dx;
        srcx += dx;
    }
    dx = dstrect->x + w - clip.x - clip.w;
    if (dx > 0) w -= dx;
    int dy = clip.y - dstrect->y;
    if (dy > 0) {
        h -= dy;
        dstrect->y += dy;
        srcy += dy;
    }
    dy = dstrect->y + h - clip.y - clip.h;
    if (dy > 0) h -= dy;
    if (w > 0 && h > 0) {
        dstrect->w = w;
        dstrect->h = h;
        return lowerBlit(src, SDL_Rect{srcx, srcy, w, h}, dst, *dstrect);
    }
    dstrect->w = dstrect->h = 0;
    return 0;
}

// The rectangle is clipped in place, as SDL 1.2 does (the toolchain's
// header calls it const).
int SDL_FillRect(SDL_Surface* dst, const SDL_Rect* dstrect, Uint32 color) {
    SDL_Rect area = dst->clip_rect;
    if (dstrect) {
        SDL_Rect* clipped = const_cast<SDL_Rect*>(dstrect);
        if (!intersect(*clipped, dst->clip_rect, *clipped)) return 0;
        area = *clipped;
    }
    const int bytes = dst->format->BytesPerPixel;
    for (int y = area.y; y < area.y + area.h; ++y) {
        Uint8* row = static_cast<Uint8*>(dst->pixels) + y * dst->pitch + area.x * bytes;
        if (bytes == 4) {
            Uint32* p = reinterpret_cast<Uint32*>(row);
            for (int x = 0; x < area.w; ++x) p[x] = color;
        } else {
            for (int x = 0; x < area.w; ++x) writePixel(row + x * bytes, bytes, color);
        }
    }
    return 0;
}

// One display of the given size in 32 bits, whatever was asked: the game
// asks for nothing else, and a browser has no other modes. Set again, it is
// the same surface, cleared to black and shown as SDL 1.2 does.
SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    if (bpp != 0 && bpp != 32) {
        SDL_SetError("Only 32-bit video modes are available");
        return nullptr;
    }
    if (width <= 0 || height <= 0) {
        SDL_SetError("Invalid video mode %dx%d", width, height);
        return nullptr;
    }
    if (gDisplay && (gDisplay->w != width || gDisplay->h != height)) {
        SDL_Surface* old = gDisplay;
        gDisplay = nullptr;
        SDL_FreeSurface(old);
        std::free(gShown);
        std::free(gLast);
        gShown = gLast = nullptr;
    }
    if (!gDisplay) {
        const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
        gDisplay = makeSurface(0, width, height, 32, kDisplayR, kDisplayG, kDisplayB, 0);
        gShown = static_cast<Uint32*>(std::calloc(pixels, 4));
        gLast = static_cast<Uint32*>(std::malloc(pixels * 4));
        gShowAll = true;
        if (!gDisplay || !gShown || !gLast) {
            std::free(gShown);
            std::free(gLast);
            gShown = gLast = nullptr;
            if (gDisplay) {
                std::free(gDisplay->pixels);
                std::free(web(gDisplay));
                gDisplay = nullptr;
            }
            SDL_SetError("Out of memory");
            return nullptr;
        }
        velmora_canvas_open(width, height);
    }
    gDisplay->flags = flags & (SDL_FULLSCREEN | SDL_DOUBLEBUF);
    SDL_FillRect(gDisplay, nullptr, 0);
    if (flags & SDL_FULLSCREEN) SDL_Flip(gDisplay);
    return gDisplay;
}

SDL_Surface* SDL_GetVideoSurface(void) { return gDisplay; }

// Hands the part of the display that changed since the last flip to the
// canvas (as RGBA bytes, opaque) and waits for the display's next refresh.
// Finding that part is most of a flip's cost: rows are compared with the
// pixels last handed over two at a time, and only changed spans converted.
int SDL_Flip(SDL_Surface* screen) {
    if (!gDisplay) {
        SDL_SetError("No video mode has been set");
        return -1;
    }
    screen = gDisplay;
    const int w = screen->w, h = screen->h, pairs = w / 2;
    int x0 = w, x1 = 0, y0 = h, y1 = 0;
    for (int y = 0; y < h; ++y) {
        if (y % 128 == 127) velmora_turn();
        const Uint32* in = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(screen->pixels) + y * screen->pitch);
        Uint32* last = gLast + static_cast<size_t>(y) * static_cast<size_t>(w);
        uint64_t now2, was2;
        int first = 0;
        for (; first < pairs && !gShowAll; ++first) {
            std::memcpy(&now2, in + 2 * first, 8);
            std::memcpy(&was2, last + 2 * first, 8);
            if (now2 != was2) break;
        }
        first *= 2;
        while (!gShowAll && first < w && in[first] == last[first]) ++first;
        if (first == w) continue;
        int end = w;
        while (!gShowAll && in[end - 1] == last[end - 1]) --end;
        Uint32* out = gShown + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = first; x < end; ++x) {
            const Uint32 v = in[x];
            last[x] = v;
            out[x] = (v >> 16 & 0xffu) | (v & 0xff00u) | (v & 0xffu) << 16 | 0xff000000u;
        }
        if (first < x0) x0 = first;
        if (end > x1) x1 = end;
        if (y < y0) y0 = y;
        y1 = y + 1;
    }
    gShowAll = false;
    velmora_present(gShown, w, h, x0, y0, x1, y1);
    return 0;
}

}  // extern "C"

// The system pointer: the game hides it with a cursor whose pixels are all
// transparent; any other cursor shows the browser's arrow.
struct SDL_Cursor {
    bool transparent;
};

namespace {

SDL_Cursor gArrow = {false};
SDL_Cursor* gCursor = &gArrow;
bool gCursorShown = true;

void showPointer() { velmora_pointer_visible(gCursorShown && !gCursor->transparent); }

}  // namespace

extern "C" {

SDL_Cursor* SDL_CreateCursor(const Uint8* data, const Uint8* mask, int w, int h, int hot_x,
                             int hot_y) {
    if (w % 8 != 0) {
        SDL_SetError("Cursor width must be a multiple of 8");
        return nullptr;
    }
    if (w <= 0 || h <= 0 || hot_x < 0 || hot_y < 0 || hot_x >= w || hot_y >= h) {
        SDL_SetError("Cursor hot spot doesn't lie within cursor");
        return nullptr;
    }
    SDL_Cursor* cursor = static_cast<SDL_Cursor*>(std::malloc(sizeof(SDL_Cursor)));
    if (!cursor) {
        SDL_SetError("Out of memory");
        return nullptr;
    }
    cursor->transparent = true;
    for (int i = 0; i < w / 8 * h; ++i)
        if (data[i] || mask[i]) cursor->transparent = false;
    return cursor;
}

void SDL_SetCursor(SDL_Cursor* cursor) {
    if (cursor) gCursor = cursor;
    showPointer();
}

SDL_Cursor* SDL_GetCursor(void) { return gCursor; }

void SDL_FreeCursor(SDL_Cursor* cursor) {
    // The current cursor and the default one stay.
    if (!cursor || cursor == gCursor || cursor == &gArrow) return;
    std::free(cursor);
}

int SDL_ShowCursor(int toggle) {
    const int was = gCursorShown ? SDL_ENABLE : SDL_DISABLE;
    if (toggle >= 0) {
        gCursorShown = toggle != SDL_DISABLE;
        showPointer();
    }
    return was;
}

}  // extern "C"
