// Draws the game's icon, the ball of the match, at the size asked for: a
// PNG for the desktop's icon theme, or a Windows .ico holding one PNG per
// size (Windows reads PNG images inside .ico files since Vista).
// Usage: velmora_make_icon OUT.png SIZE
//        velmora_make_icon OUT.ico SIZE...
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "asset_ball.h"

namespace {

// The ball filling a transparent square of size x size, its outline inside.
cairo_surface_t* drawIcon(int size) {
    cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(icon);
    // The outline is max(1.5, 8 % of the radius) wide, centred on the rim;
    // half a pixel stays free all round.
    const double half = size / 2.0;
    const double r = std::min((half - 0.5) / 1.04, half - 1.25);
    paintBall(cr, half, half, r);
    cairo_destroy(cr);
    cairo_surface_flush(icon);
    return icon;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

void put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(v >> 8 & 0xFF));
}

void put32(std::vector<unsigned char>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// An .ico entry holds at most 256 pixels a side; a PNG (the web page's
// 512-pixel icon) may be larger.
bool parseSize(const char* text, int largest, int& size) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 8 || v > largest) {
        std::fprintf(stderr, "icon size %s: not a whole number from 8 to %d\n", text, largest);
        return false;
    }
    size = static_cast<int>(v);
    return true;
}

bool endsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "";
    const bool ico = endsWith(out, ".ico");
    if (argc < 3 || (!ico && (argc != 3 || !endsWith(out, ".png")))) {
        std::fprintf(stderr, "usage: %s OUT.png SIZE\n       %s OUT.ico SIZE...\n", argv[0], argv[0]);
        return 2;
    }
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) {
        int size = 0;
        if (!parseSize(argv[i], ico ? 256 : 1024, size)) return 2;
        sizes.push_back(size);
    }

    if (!ico) {
        cairo_surface_t* icon = drawIcon(sizes[0]);
        const cairo_status_t written = cairo_surface_write_to_png(icon, out.c_str());
        cairo_surface_destroy(icon);
        if (written != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "%s: %s\n", out.c_str(), cairo_status_to_string(written));
            return 1;
        }
        return 0;
    }

    // ICONDIR, one ICONDIRENTRY per size, then the PNG images in that order.
    std::vector<std::vector<unsigned char>> images;
    for (int size : sizes) {
        images.emplace_back();
        cairo_surface_t* icon = drawIcon(size);
        const cairo_status_t written = cairo_surface_write_to_png_stream(icon, appendBytes, &images.back());
        cairo_surface_destroy(icon);
        if (written != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "%s: %s\n", out.c_str(), cairo_status_to_string(written));
            return 1;
        }
    }
    std::vector<unsigned char> file;
    put16(file, 0);
    put16(file, 1);  // an icon, not a cursor
    put16(file, static_cast<unsigned>(sizes.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const unsigned side = sizes[i] == 256 ? 0 : static_cast<unsigned>(sizes[i]);  // 0 means 256
        file.push_back(static_cast<unsigned char>(side));
        file.push_back(static_cast<unsigned char>(side));
        file.push_back(0);  // no palette
        file.push_back(0);
        put16(file, 1);   // planes
        put16(file, 32);  // bits per pixel
        put32(file, static_cast<uint32_t>(images[i].size()));
        put32(file, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    FILE* f = std::fopen(out.c_str(), "wb");
    bool ok = f != nullptr;
    if (ok) ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write\n", out.c_str());
        return 1;
    }
    return 0;
}
