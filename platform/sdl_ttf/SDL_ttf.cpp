// Text rendering for the Windows game over FreeType. Every text must come
// out pixel for pixel as the Linux game's SDL_ttf 2.0.11 draws it, so the
// metrics below follow that library's documented conventions: whole-pixel
// glyph boxes taken from the hinted outline metrics, a line as high as
// ascent - descent + 1, kerning between neighbours, and monochrome glyphs.
#include "SDL_ttf.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <cstring>
#include <vector>

struct _TTF_Font {
    FT_Face face;
    std::vector<unsigned char> file;  // FreeType reads the face from here
    int ascent;
    int height;
};

namespace {

FT_Library library = nullptr;
int initCount = 0;

// 26.6 fixed point to whole pixels.
int floorPixels(FT_Pos v) { return static_cast<int>((v & -64) / 64); }
int ceilPixels(FT_Pos v) { return static_cast<int>(((v + 63) & -64) / 64); }

struct Glyph {
    FT_UInt index;
    int minX, maxX;  // box relative to the pen, in pixels
    int top;         // rows from the line's top to the glyph's first row
    int advance;
    int rows, width, pitch;
    std::vector<unsigned char> bits;  // FreeType's 1-bit rows
};

bool loadGlyph(TTF_Font* font, unsigned long ch, Glyph& g) {
    g.index = FT_Get_Char_Index(font->face, ch);
    if (FT_Load_Glyph(font->face, g.index, FT_LOAD_DEFAULT) != 0) return false;
    FT_GlyphSlot slot = font->face->glyph;
    const FT_Glyph_Metrics& m = slot->metrics;
    g.minX = floorPixels(m.horiBearingX);
    g.maxX = g.minX + ceilPixels(m.width);
    g.top = font->ascent - floorPixels(m.horiBearingY);
    g.advance = ceilPixels(m.horiAdvance);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return false;
    const FT_Bitmap& b = slot->bitmap;
    g.rows = static_cast<int>(b.rows);
    g.width = static_cast<int>(b.width);
    g.pitch = b.pitch < 0 ? -b.pitch : b.pitch;
    g.bits.assign(b.buffer, b.buffer + static_cast<size_t>(g.pitch) * static_cast<size_t>(g.rows));
    return true;
}

int kerning(TTF_Font* font, FT_UInt left, FT_UInt right) {
    if (!FT_HAS_KERNING(font->face) || left == 0 || right == 0) return 0;
    FT_Vector delta;
    if (FT_Get_Kerning(font->face, left, right, FT_KERNING_DEFAULT, &delta) != 0) return 0;
    return static_cast<int>(delta.x >> 6);
}

}  // namespace

extern "C" {

int TTF_Init(void) {
    if (initCount == 0 && FT_Init_FreeType(&library) != 0) {
        TTF_SetError("Couldn't init FreeType engine");
        return -1;
    }
    ++initCount;
    return 0;
}

int TTF_WasInit(void) { return initCount; }

void TTF_Quit(void) {
    if (initCount == 0) return;
    if (--initCount == 0) {
        FT_Done_FreeType(library);
        library = nullptr;
    }
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize) {
    if (initCount == 0) {
        TTF_SetError("Library not initialized");
        return nullptr;
    }
    SDL_RWops* src = SDL_RWFromFile(file, "rb");
    if (!src) return nullptr;  // SDL has said why
    TTF_Font* font = new _TTF_Font();
    font->face = nullptr;
    unsigned char chunk[16384];
    int got;
    while ((got = SDL_RWread(src, chunk, 1, sizeof chunk)) > 0) font->file.insert(font->file.end(), chunk, chunk + got);
    SDL_RWclose(src);
    if (got < 0 || font->file.empty() ||
        FT_New_Memory_Face(library, font->file.data(), static_cast<FT_Long>(font->file.size()), 0,
                           &font->face) != 0) {
        TTF_SetError("Couldn't load font file");
        delete font;
        return nullptr;
    }
    FT_Face face = font->face;
    if (!FT_IS_SCALABLE(face)) {
        TTF_SetError("Font face is not scalable");
        TTF_CloseFont(font);
        return nullptr;
    }
    if (FT_Set_Char_Size(face, 0, ptsize * 64, 0, 0) != 0) {
        TTF_SetError("Couldn't set font size");
        TTF_CloseFont(font);
        return nullptr;
    }
    const FT_Fixed scale = face->size->metrics.y_scale;
    font->ascent = ceilPixels(FT_MulFix(face->ascender, scale));
    const int descent = ceilPixels(FT_MulFix(face->descender, scale));
    font->height = font->ascent - descent + 1;  // the baseline row counts too
    return font;
}

void TTF_CloseFont(TTF_Font* font) {
    if (!font) return;
    if (font->face) FT_Done_Face(font->face);
    delete font;
}

SDL_Surface* TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg) {
    if (!font || !text) {
        TTF_SetError("Passed a NULL pointer");
        return nullptr;
    }
    // Latin-1: every byte is its own code point.
    std::vector<Glyph> glyphs;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        glyphs.emplace_back();
        if (!loadGlyph(font, *p, glyphs.back())) {
            TTF_SetError("Couldn't find glyph");
            return nullptr;
        }
    }

    // The width spans every glyph's box and advance. A first glyph that
    // starts left of the pen moves the whole line right by that much, so
    // no pixel of it falls outside the image.
    int shift = 0, x = 0, minX = 0, maxX = 0;
    FT_UInt previous = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& g = glyphs[i];
        x += kerning(font, previous, g.index);
        if (i == 0 && g.minX < 0) shift = -g.minX;
        if (x + g.minX < minX) minX = x + g.minX;
        const int right = x + (g.advance > g.maxX ? g.advance : g.maxX);
        if (right > maxX) maxX = right;
        x += g.advance;
        previous = g.index;
    }
    const int width = maxX - minX;
    if (width <= 0) {
        TTF_SetError("Text has zero width");
        return nullptr;
    }

    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, width, font->height, 8, 0, 0, 0, 0);
    if (!image) return nullptr;
    SDL_Color colours[2];
    colours[0].r = static_cast<Uint8>(255 - fg.r);
    colours[0].g = static_cast<Uint8>(255 - fg.g);
    colours[0].b = static_cast<Uint8>(255 - fg.b);
    colours[0].unused = 0;
    colours[1] = fg;
    colours[1].unused = 0;
    SDL_SetColors(image, colours, 0, 2);
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, 0);
    std::memset(image->pixels, 0, static_cast<size_t>(image->pitch) * static_cast<size_t>(image->h));

    Uint8* pixels = static_cast<Uint8*>(image->pixels);
    int pen = shift;
    previous = 0;
    for (const Glyph& g : glyphs) {
        pen += kerning(font, previous, g.index);
        previous = g.index;
        // FreeType may hand back a bitmap wider than the glyph's box.
        const int columns = g.width < g.maxX - g.minX ? g.width : g.maxX - g.minX;
        for (int row = 0; row < g.rows; ++row) {
            const int y = row + g.top;
            if (y < 0 || y >= image->h) continue;
            const unsigned char* bits = g.bits.data() + row * g.pitch;
            for (int col = 0; col < columns; ++col) {
                const int px = pen + g.minX + col;
                if (px < 0 || px >= image->w) continue;
                if (bits[col >> 3] & (0x80 >> (col & 7))) pixels[y * image->pitch + px] = 1;
            }
        }
        pen += g.advance;
    }
    return image;
}

}  // extern "C"
