// Drawing support for the asset generator: a cairo canvas, an opaque RGB
// picture that is written as a 24-bit BMP, the flattening of a drawn sprite
// to hard colour-keyed edges, and a seeded random source so that every build
// draws the same pixels.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kWindowKey = {250, 200, 200};
constexpr Rgb kMenuBlue = {0, 50, 100};
constexpr Rgb kBlack = {0, 0, 0};

uint8_t clampByte(double v);

// An opaque picture, rows from top to bottom.
struct Image {
    int w = 0, h = 0;
    std::vector<uint8_t> px;  // r, g, b per pixel

    Image() = default;
    Image(int width, int height);
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb c);
    Image crop(int x, int y, int width, int height) const;
};

// 24-bit uncompressed, bottom-up, as SDL_LoadBMP reads it. Exits on failure.
void writeBmp(const std::string& path, const Image& image);

// A cairo ARGB drawing surface. Starts fully transparent.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return w_; }
    int height() const { return h_; }

    // Straight (not premultiplied) colour and alpha of one pixel.
    void pixel(int x, int y, double& r, double& g, double& b, double& a) const;

    // Replaces the whole surface with an opaque picture of the same size.
    void load(const Image& image);

    // Every pixel composited over `under` (for pictures drawn edge to edge).
    Image flatten(Rgb under = kBlack) const;

    // A colour-keyed sprite: a pixel whose coverage is below `threshold`
    // becomes the key colour; every other pixel is composited over `matte`
    // (the colour the sprite is meant to stand on, or a dark edge colour) and
    // made opaque, so no pale half-covered fringe meets the key. With
    // `symmetric`, a pixel is kept only if its mirror images across both
    // centre lines are kept too, so a round sprite has an exactly symmetric
    // outline. No kept pixel ends up equal to the key.
    Image keyed(Rgb key, Rgb matte, int threshold = 128, bool symmetric = false) const;

private:
    int w_, h_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Composites a drawn layer over an opaque picture of the same size; `fade`,
// when given, scales the layer's coverage per pixel (0..1).
void paintOver(Image& base, const Canvas& layer,
               const std::function<double(int x, int y)>& fade = {});

// splitmix64: the same numbers on every machine and every build.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    double uniform();                        // [0, 1)
    double range(double lo, double hi);      // [lo, hi)
    int below(int n);                        // 0 .. n-1
    double gauss();                          // about N(0, 1)

private:
    uint64_t state_;
};

// Smooth value noise in [0, 1] on a lattice of `cell` pixels, and a few
// octaves of it.
class ValueNoise {
public:
    ValueNoise(uint64_t seed, double cell);
    double at(double x, double y) const;
    double fractal(double x, double y, int octaves) const;

private:
    double lattice(int ix, int iy) const;
    uint64_t seed_;
    double cell_;
};

// cairo helpers
void setRgb(cairo_t* cr, Rgb c, double alpha = 1.0);
// Sets a top-to-bottom gradient from y0 to y1 as the source.
void verticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A text path in Liberation Sans (fontconfig falls back to a similar sans).
void textPath(cairo_t* cr, const char* text, double size, bool bold, bool italic, double x,
              double y);
// Width of the text drawn with the same face.
double textWidth(cairo_t* cr, const char* text, double size, bool bold, bool italic);
