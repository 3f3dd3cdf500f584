// Looks at screenshots (or the live screen) for the end-to-end tests: finds a sprite drawn
// unscaled on the screen, reads pixels, compares regions with an image.
//   probe find  SHOT SPRITE KEY X0 Y0 X1 Y1  -> "x y fraction" of the best match
//   probe same  SHOT IMAGE X Y W H           -> fraction of equal pixels
//   probe pixel SHOT X Y                     -> "r,g,b"
//   probe spot  SHOT COLOUR X0 Y0 X1 Y1 [D]  -> "x y count": mean place of that colour's pixels
//                                               (each channel within D of it; default 0)
//   probe box   SHOT COLOUR                  -> "x0 y0 x1 y1 count": the box around that colour
//   probe live  SPRITE KEY X0 Y0 X1 Y1       -> as find, on the screen of $DISPLAY now
//   probe sdl                                -> "kind version file" of the SDL 1.2 it loaded
// KEY is "r,g,b" (pixels of that colour in the sprite are not compared) or "none".
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../loaded_sdl.h"

namespace {

struct Image {
    int w = 0, h = 0;
    std::vector<Uint32> rgb;  // 0xRRGGBB
};

bool load(const char* path, Image& out) {
    SDL_Surface* raw = SDL_LoadBMP(path);
    if (!raw) {
        std::fprintf(stderr, "probe: %s: %s\n", path, SDL_GetError());
        return false;
    }
    SDL_PixelFormat fmt = {};
    fmt.BitsPerPixel = 32;
    fmt.BytesPerPixel = 4;
    fmt.Rmask = 0xff0000;
    fmt.Gmask = 0x00ff00;
    fmt.Bmask = 0x0000ff;
    fmt.Rshift = 16;
    fmt.Gshift = 8;
    fmt.alpha = 255;
    SDL_Surface* s = SDL_ConvertSurface(raw, &fmt, SDL_SWSURFACE);
    SDL_FreeSurface(raw);
    if (!s) return false;
    out.w = s->w;
    out.h = s->h;
    out.rgb.resize(static_cast<size_t>(s->w * s->h));
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            out.rgb[static_cast<size_t>(y * s->w + x)] =
                static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x] & 0xffffff;
    SDL_FreeSurface(s);
    return true;
}

Uint32 parseColour(const char* text) {
    int r = 0, g = 0, b = 0;
    std::sscanf(text, "%d,%d,%d", &r, &g, &b);
    return static_cast<Uint32>((r << 16) | (g << 8) | b);
}

// Reads rows y0..y1 of the X screen straight from the server. Following a
// moving ball needs a sighting every few frames; a screenshot tool and a file
// take ten times as long.
bool grabRows(int y0, int y1, Image& out) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "probe: cannot open the display\n");
        return false;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    out.w = attributes.width;
    out.h = attributes.height;
    out.rgb.assign(static_cast<size_t>(out.w * out.h), 0);
    y0 = y0 < 0 ? 0 : y0;
    y1 = y1 >= out.h ? out.h - 1 : y1;
    XImage* image = y0 <= y1 ? XGetImage(display, root, 0, y0, static_cast<unsigned>(out.w),
                                         static_cast<unsigned>(y1 - y0 + 1), AllPlanes, ZPixmap)
                             : nullptr;
    // The tests' X server is 24-bit (0xRRGGBB words); anything else is refused.
    const bool ok = image && image->bits_per_pixel == 32 && image->red_mask == 0xff0000 &&
                    image->green_mask == 0xff00 && image->blue_mask == 0xff &&
                    image->byte_order == LSBFirst;
    if (ok)
        for (int y = y0; y <= y1; ++y)
            for (int x = 0; x < out.w; ++x) {
                Uint32 word;
                std::memcpy(&word, image->data + (y - y0) * image->bytes_per_line + x * 4, 4);
                out.rgb[static_cast<size_t>(y * out.w + x)] = word & 0xffffff;
            }
    else
        std::fprintf(stderr, "probe: the screen is not a 24-bit one\n");
    if (image) XDestroyImage(image);
    XCloseDisplay(display);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "sdl") == 0) {
        std::printf("%s\n", loadedSdlDescription().c_str());
        return 0;
    }
    const bool live = argc >= 8 && std::strcmp(argv[1], "live") == 0;
    if (live || (argc >= 9 && std::strcmp(argv[1], "find") == 0)) {
        // The live form has no SHOT argument: its others sit one place earlier.
        const auto arg = [&](int findIndex) { return argv[live ? findIndex - 1 : findIndex]; };
        Image shot, sprite;
        if (!load(arg(3), sprite)) return 2;
        const int x0 = std::atoi(arg(5)), y0 = std::atoi(arg(6));
        const int x1 = std::atoi(arg(7)), y1 = std::atoi(arg(8));
        if (live ? !grabRows(y0, y1 + sprite.h - 1, shot) : !load(argv[2], shot)) return 2;
        const bool keyed = std::strcmp(arg(4), "none") != 0;
        const Uint32 key = keyed ? parseColour(arg(4)) : 0;
        std::vector<int> points;  // sprite pixels worth comparing
        for (int i = 0; i < sprite.w * sprite.h; ++i)
            if (!keyed || sprite.rgb[static_cast<size_t>(i)] != key) points.push_back(i);
        if (points.empty()) return 2;
        int bestX = 0, bestY = 0, best = -1;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                int hits = 0;
                int tried = 0;
                for (int i : points) {
                    // Most places miss at once; give up on them early.
                    if (++tried == 24 && hits < 12) break;
                    // Nor can a place beat the best one once it has missed more.
                    if (tried - hits > static_cast<int>(points.size()) - best) break;
                    const int sx = x + i % sprite.w, sy = y + i / sprite.w;
                    if (sx < 0 || sy < 0 || sx >= shot.w || sy >= shot.h) continue;
                    if (shot.rgb[static_cast<size_t>(sy * shot.w + sx)] == sprite.rgb[static_cast<size_t>(i)])
                        ++hits;
                }
                if (hits > best) {
                    best = hits;
                    bestX = x;
                    bestY = y;
                }
            }
        }
        std::printf("%d %d %.3f\n", bestX, bestY, static_cast<double>(best) / static_cast<double>(points.size()));
        return 0;
    }
    if (argc >= 8 && std::strcmp(argv[1], "same") == 0) {
        Image shot, image;
        if (!load(argv[2], shot) || !load(argv[3], image)) return 2;
        const int x = std::atoi(argv[4]), y = std::atoi(argv[5]);
        const int w = std::atoi(argv[6]), h = std::atoi(argv[7]);
        int equal = 0, total = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) {
                if (i >= shot.w || j >= shot.h || i >= image.w || j >= image.h) continue;
                ++total;
                equal += shot.rgb[static_cast<size_t>(j * shot.w + i)] == image.rgb[static_cast<size_t>(j * image.w + i)];
            }
        std::printf("%.3f\n", total ? static_cast<double>(equal) / total : 0.0);
        return 0;
    }
    if (argc >= 5 && std::strcmp(argv[1], "pixel") == 0) {
        Image shot;
        if (!load(argv[2], shot)) return 2;
        const int x = std::atoi(argv[3]), y = std::atoi(argv[4]);
        if (x < 0 || y < 0 || x >= shot.w || y >= shot.h) return 2;
        const Uint32 c = shot.rgb[static_cast<size_t>(y * shot.w + x)];
        std::printf("%u,%u,%u\n", c >> 16, (c >> 8) & 255, c & 255);
        return 0;
    }
    // Where a shape of one colour stands, as the mean of its pixels' places:
    // it moves with the shape however the picture was scaled. Smoothed
    // scaling blends thin lines into their background; D takes in the
    // pixels still near the colour.
    if (argc >= 8 && std::strcmp(argv[1], "spot") == 0) {
        Image shot;
        if (!load(argv[2], shot)) return 2;
        const Uint32 colour = parseColour(argv[3]);
        const int x0 = std::atoi(argv[4]), y0 = std::atoi(argv[5]);
        const int x1 = std::atoi(argv[6]), y1 = std::atoi(argv[7]);
        const int d = argc >= 9 ? std::atoi(argv[8]) : 0;
        const auto near = [&](Uint32 c) {
            for (int shift : {16, 8, 0}) {
                const int a = static_cast<int>((c >> shift) & 255), b = static_cast<int>((colour >> shift) & 255);
                if (a - b > d || b - a > d) return false;
            }
            return true;
        };
        double sumX = 0, sumY = 0;
        int count = 0;
        for (int y = y0 < 0 ? 0 : y0; y <= y1 && y < shot.h; ++y)
            for (int x = x0 < 0 ? 0 : x0; x <= x1 && x < shot.w; ++x)
                if (near(shot.rgb[static_cast<size_t>(y * shot.w + x)])) {
                    sumX += x;
                    sumY += y;
                    ++count;
                }
        std::printf("%.2f %.2f %d\n", count ? sumX / count : -1.0, count ? sumY / count : -1.0, count);
        return 0;
    }
    // Where a picture filled with one colour was placed, at whatever scale.
    if (argc >= 4 && std::strcmp(argv[1], "box") == 0) {
        Image shot;
        if (!load(argv[2], shot)) return 2;
        const Uint32 colour = parseColour(argv[3]);
        int x0 = shot.w, y0 = shot.h, x1 = -1, y1 = -1, count = 0;
        for (int y = 0; y < shot.h; ++y)
            for (int x = 0; x < shot.w; ++x)
                if (shot.rgb[static_cast<size_t>(y * shot.w + x)] == colour) {
                    x0 = x < x0 ? x : x0;
                    y0 = y < y0 ? y : y0;
                    x1 = x > x1 ? x : x1;
                    y1 = y > y1 ? y : y1;
                    ++count;
                }
        std::printf("%d %d %d %d %d\n", x0, y0, x1, y1, count);
        return 0;
    }
    std::fprintf(stderr, "usage: probe find|same|pixel|spot|box|live|sdl ...\n");
    return 2;
}
