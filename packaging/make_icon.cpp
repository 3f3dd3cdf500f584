// Draws the desktop icon from one of the game's own sprites: white is the
// sprites' see-through colour, so it becomes transparent, and the sprite is
// scaled to the icon's size.
// Usage: velmora_make_icon SPRITE.bmp SIZE OUT.png
#include <SDL.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// One pixel of a surface of any depth, as SDL stores it.
Uint32 pixelAt(const SDL_Surface* surface, int x, int y) {
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
        case 1:
            return *p;
        case 2:
            return *reinterpret_cast<const Uint16*>(p);
        case 3:
            if (SDL_BYTEORDER == SDL_BIG_ENDIAN) return Uint32{p[0]} << 16 | Uint32{p[1]} << 8 | p[2];
            return Uint32{p[0]} | Uint32{p[1]} << 8 | Uint32{p[2]} << 16;
        default:
            return *reinterpret_cast<const Uint32*>(p);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SPRITE.bmp SIZE OUT.png\n", argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[2]);
    if (size < 8 || size > 1024) {
        std::fprintf(stderr, "icon size %s out of range\n", argv[2]);
        return 2;
    }
    SDL_Surface* sprite = SDL_LoadBMP(argv[1]);
    if (!sprite) {
        std::fprintf(stderr, "%s: %s\n", argv[1], SDL_GetError());
        return 1;
    }

    // cairo wants premultiplied ARGB; opaque pixels need no multiplying and
    // the see-through ones are all zero.
    cairo_surface_t* source = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sprite->w, sprite->h);
    cairo_surface_flush(source);
    unsigned char* data = cairo_image_surface_get_data(source);
    const int stride = cairo_image_surface_get_stride(source);
    int left = sprite->w, right = -1, top = sprite->h, bottom = -1;
    SDL_LockSurface(sprite);
    for (int y = 0; y < sprite->h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < sprite->w; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(pixelAt(sprite, x, y), sprite->format, &r, &g, &b);
            const bool seeThrough = r == 255 && g == 255 && b == 255;
            row[x] = seeThrough ? 0u : 0xFF000000u | uint32_t{r} << 16 | uint32_t{g} << 8 | b;
            if (!seeThrough) {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
        }
    }
    SDL_UnlockSurface(sprite);
    cairo_surface_mark_dirty(source);
    if (right < left) {
        std::fprintf(stderr, "%s: nothing but see-through white\n", argv[1]);
        return 1;
    }

    // The drawn part, squared and centred with a pixel to spare, fills the icon.
    const int side = (right - left > bottom - top ? right - left : bottom - top) + 3;
    const double cx = (left + right + 1) / 2.0, cy = (top + bottom + 1) / 2.0;
    cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(icon);
    cairo_scale(cr, static_cast<double>(size) / side, static_cast<double>(size) / side);
    cairo_set_source_surface(cr, source, side / 2.0 - cx, side / 2.0 - cy);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
    cairo_paint(cr);
    cairo_destroy(cr);

    const cairo_status_t written = cairo_surface_write_to_png(icon, argv[3]);
    cairo_surface_destroy(icon);
    cairo_surface_destroy(source);
    SDL_FreeSurface(sprite);
    if (written != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "%s: %s\n", argv[3], cairo_status_to_string(written));
        return 1;
    }
    return 0;
}
