#include "asset_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

uint8_t clampByte(double v) {
    if (v <= 0.0) return 0;
    if (v >= 255.0) return 255;
    return static_cast<uint8_t>(std::lround(v));
}

Image::Image(int width, int height)
    : w(width), h(height), px(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0) {}

Rgb Image::at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
    return {px[i], px[i + 1], px[i + 2]};
}

void Image::set(int x, int y, Rgb c) {
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
    px[i] = c.r;
    px[i + 1] = c.g;
    px[i + 2] = c.b;
}

Image Image::crop(int x0, int y0, int width, int height) const {
    Image out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.set(x, y, at(x0 + x, y0 + y));
    return out;
}

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 255));
    out.push_back(static_cast<uint8_t>((v >> 8) & 255));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

void writeBmp(const std::string& path, const Image& image) {
    const uint32_t row = (static_cast<uint32_t>(image.w) * 3 + 3) & ~3u;
    const uint32_t dataSize = row * static_cast<uint32_t>(image.h);
    std::vector<uint8_t> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.w));
    put32(out, static_cast<uint32_t>(image.h));  // positive height: bottom-up rows
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // BI_RGB, uncompressed
    put32(out, dataSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.h - 1; y >= 0; --y) {
        for (int x = 0; x < image.w; ++x) {
            const Rgb c = image.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t p = static_cast<uint32_t>(image.w) * 3; p < row; ++p) out.push_back(0);
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "velmora_make_assets: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

Canvas::Canvas(int width, int height) : w_(width), h_(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "velmora_make_assets: cairo cannot make a %dx%d surface\n", width,
                     height);
        std::exit(1);
    }
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::pixel(int x, int y, double& r, double& g, double& b, double& a) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const uint32_t v = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    a = static_cast<double>((v >> 24) & 255);
    const double pr = static_cast<double>((v >> 16) & 255);
    const double pg = static_cast<double>((v >> 8) & 255);
    const double pb = static_cast<double>(v & 255);
    if (a > 0) {
        r = pr * 255.0 / a;
        g = pg * 255.0 / a;
        b = pb * 255.0 / a;
    } else {
        r = g = b = 0;
    }
}

void Canvas::load(const Image& image) {
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            const Rgb c = image.at(x, y);
            *reinterpret_cast<uint32_t*>(data + y * stride + x * 4) =
                0xff000000u | (static_cast<uint32_t>(c.r) << 16) |
                (static_cast<uint32_t>(c.g) << 8) | c.b;
        }
    cairo_surface_mark_dirty(surface_);
}

void paintOver(Image& base, const Canvas& layer, const std::function<double(int x, int y)>& fade) {
    for (int y = 0; y < base.h; ++y)
        for (int x = 0; x < base.w; ++x) {
            double r, g, b, a;
            layer.pixel(x, y, r, g, b, a);
            if (a <= 0) continue;
            double k = a / 255.0;
            if (fade) k *= fade(x, y);
            if (k <= 0) continue;
            const Rgb c = base.at(x, y);
            base.set(x, y,
                     {clampByte(r * k + c.r * (1 - k)), clampByte(g * k + c.g * (1 - k)),
                      clampByte(b * k + c.b * (1 - k))});
        }
}

Image Canvas::flatten(Rgb under) const {
    Image out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            double r, g, b, a;
            pixel(x, y, r, g, b, a);
            const double k = a / 255.0;
            out.set(x, y,
                    {clampByte(r * k + under.r * (1 - k)), clampByte(g * k + under.g * (1 - k)),
                     clampByte(b * k + under.b * (1 - k))});
        }
    return out;
}

Image Canvas::keyed(Rgb key, Rgb matte, int threshold, bool symmetric) const {
    Image out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            double r, g, b, a;
            pixel(x, y, r, g, b, a);
            double coverage = a;
            if (symmetric) {
                double r2, g2, b2, a2;
                const int mx = w_ - 1 - x, my = h_ - 1 - y;
                pixel(mx, y, r2, g2, b2, a2);
                coverage = std::min(coverage, a2);
                pixel(x, my, r2, g2, b2, a2);
                coverage = std::min(coverage, a2);
                pixel(mx, my, r2, g2, b2, a2);
                coverage = std::min(coverage, a2);
            }
            if (coverage < threshold) {
                out.set(x, y, key);
                continue;
            }
            const double k = a / 255.0;
            Rgb c = {clampByte(r * k + matte.r * (1 - k)), clampByte(g * k + matte.g * (1 - k)),
                     clampByte(b * k + matte.b * (1 - k))};
            if (c == key) c.b = static_cast<uint8_t>(key.b > 0 ? key.b - 1 : 1);
            out.set(x, y, c);
        }
    return out;
}

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

int Rng::below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

double Rng::gauss() {
    double s = 0;
    for (int i = 0; i < 4; ++i) s += uniform();
    return (s - 2.0) * 1.7320508;  // variance 4/12 -> 1
}

ValueNoise::ValueNoise(uint64_t seed, double cell) : seed_(seed), cell_(cell) {}

double ValueNoise::lattice(int ix, int iy) const {
    uint64_t h = seed_ ^ (static_cast<uint64_t>(static_cast<uint32_t>(ix)) * 0x9E3779B97F4A7C15ull) ^
                 (static_cast<uint64_t>(static_cast<uint32_t>(iy)) * 0xC2B2AE3D27D4EB4Full);
    h = (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 32)) * 0x94D049BB133111EBull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

double ValueNoise::at(double x, double y) const {
    const double fx = x / cell_, fy = y / cell_;
    const double flx = std::floor(fx), fly = std::floor(fy);
    const int ix = static_cast<int>(flx), iy = static_cast<int>(fly);
    double tx = fx - flx, ty = fy - fly;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = lattice(ix, iy), b = lattice(ix + 1, iy);
    const double c = lattice(ix, iy + 1), d = lattice(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double ValueNoise::fractal(double x, double y, int octaves) const {
    double sum = 0, amp = 1, norm = 0, scale = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * at(x * scale + i * 37.0, y * scale - i * 53.0);
        norm += amp;
        amp *= 0.5;
        scale *= 2;
    }
    return sum / norm;
}

void setRgb(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    const double pi = 3.14159265358979;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

namespace {

void selectFace(cairo_t* cr, double size, bool bold, bool italic) {
    cairo_select_font_face(cr, "Liberation Sans",
                           italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

}  // namespace

void textPath(cairo_t* cr, const char* text, double size, bool bold, bool italic, double x,
              double y) {
    selectFace(cr, size, bold, italic);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text);
}

double textWidth(cairo_t* cr, const char* text, double size, bool bold, bool italic) {
    selectFace(cr, size, bold, italic);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    return e.x_advance;
}

void verticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}
