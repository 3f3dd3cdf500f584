// The Windows build draws its texts with its own small FreeType renderer
// (platform/sdl_ttf). Here it runs beside the real SDL_ttf, built
// under other names, and every text the game draws must come out the same:
// size, the colours behind every pixel and every pixel's index.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <string>
#include <vector>

#include "screens/credits.h"
#include "screens/options.h"

extern "C" {
int alt_TTF_Init(void);
int alt_TTF_WasInit(void);
void alt_TTF_Quit(void);
TTF_Font* alt_TTF_OpenFont(const char* file, int ptsize);
void alt_TTF_CloseFont(TTF_Font* font);
SDL_Surface* alt_TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg);
}

namespace {

constexpr SDL_Color kMenuColour = {100, 100, 80, 0};
constexpr SDL_Color kMatchColour = {50, 100, 0, 0};

struct Text {
    std::string text;
    int size;
    SDL_Color colour;
};

// What the screens and the match render, at their sizes and colours.
std::vector<Text> gameTexts() {
    std::vector<Text> texts;
    for (const char* t : {"Start", "Options", "Quit"}) texts.push_back({t, 50, kMenuColour});
    for (const OptionsText& t : kOptionsTexts) texts.push_back({t.text, t.fontSize, kMenuColour});
    const std::string author = kCreditsAuthor, designer = kCreditsDesigner;
    texts.push_back({"Back", 30, kMenuColour});
    texts.push_back({"Programming, Graphics and Sounds:", 50, kMenuColour});
    texts.push_back({author, 50, kMenuColour});
    texts.push_back({"->designed by " + designer, 30, kMenuColour});
    texts.push_back({"Velmora rules: " + author + " and " + designer, 30, kMenuColour});
    for (const char* t : {"OUT", "POINT LINE"}) texts.push_back({t, 50, kMatchColour});
    for (const char* t : {"Player 1 won", "CPU won"}) texts.push_back({t, 100, kMatchColour});
    // Scores move in half points up to a winning 7.5.
    for (int halves = 0; halves <= 15; ++halves) {
        char score[8];
        std::snprintf(score, sizeof score, halves % 2 ? "%1.1f" : "%1.0f", halves / 2.0);
        texts.push_back({score, 100, kMatchColour});
    }
    return texts;
}

// Empty when the two images are the same, else the first difference.
std::string difference(SDL_Surface* real, SDL_Surface* ours) {
    char why[160];
    if (real->w != ours->w || real->h != ours->h) {
        std::snprintf(why, sizeof why, "size %dx%d, ours %dx%d", real->w, real->h, ours->w, ours->h);
        return why;
    }
    if (real->format->BitsPerPixel != 8 || ours->format->BitsPerPixel != 8) return "not 8-bit";
    if ((real->flags & SDL_SRCCOLORKEY) != (ours->flags & SDL_SRCCOLORKEY) ||
        real->format->colorkey != ours->format->colorkey)
        return "transparent colour differs";
    for (int y = 0; y < real->h; ++y)
        for (int x = 0; x < real->w; ++x) {
            const Uint8 a = static_cast<Uint8*>(real->pixels)[y * real->pitch + x];
            const Uint8 b = static_cast<Uint8*>(ours->pixels)[y * ours->pitch + x];
            const SDL_Color ca = real->format->palette->colors[a];
            const SDL_Color cb = ours->format->palette->colors[b];
            if (a != b || ca.r != cb.r || ca.g != cb.g || ca.b != cb.b) {
                std::snprintf(why, sizeof why, "pixel (%d, %d): index %d (%d,%d,%d), ours %d (%d,%d,%d)",
                              x, y, a, ca.r, ca.g, ca.b, b, cb.r, cb.g, cb.b);
                return why;
            }
        }
    return "";
}

class TextRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_EQ(TTF_Init(), 0);
        ASSERT_EQ(alt_TTF_Init(), 0);
    }
    void TearDown() override {
        alt_TTF_Quit();
        TTF_Quit();
        SDL_Quit();
    }
};

TEST_F(TextRender, EveryGameTextMatchesTheRealLibrary) {
    int inked = 0;
    for (int size : {30, 50, 100}) {
        TTF_Font* real = TTF_OpenFont("data/Font.ttf", size);
        TTF_Font* ours = alt_TTF_OpenFont("data/Font.ttf", size);
        ASSERT_TRUE(real && ours) << "size " << size;
        for (const Text& t : gameTexts()) {
            if (t.size != size) continue;
            SDL_Surface* a = TTF_RenderText_Solid(real, t.text.c_str(), t.colour);
            SDL_Surface* b = alt_TTF_RenderText_Solid(ours, t.text.c_str(), t.colour);
            ASSERT_TRUE(a && b) << t.text;
            EXPECT_EQ(difference(a, b), "") << "\"" << t.text << "\" at " << size;
            for (int i = 0; i < b->h * b->pitch; ++i) inked += static_cast<Uint8*>(b->pixels)[i] == 1;
            SDL_FreeSurface(a);
            SDL_FreeSurface(b);
        }
        TTF_CloseFont(real);
        alt_TTF_CloseFont(ours);
    }
    EXPECT_GT(inked, 10000);  // the texts really were drawn
}

// Beyond the game's own texts: every printable Latin-1 character after
// every letter that starts a word (kerning, overhangs, negative bearings).
TEST_F(TextRender, CharacterPairsMatchTheRealLibrary) {
    TTF_Font* real = TTF_OpenFont("data/Font.ttf", 30);
    TTF_Font* ours = alt_TTF_OpenFont("data/Font.ttf", 30);
    ASSERT_TRUE(real && ours);
    int failures = 0;
    for (int first = 32; first < 256 && failures < 5; ++first) {
        if (first >= 127 && first < 160) continue;
        for (const char second : std::string("AVTWYfjJ.,'\xe9")) {
            const char pair[3] = {static_cast<char>(first), second, 0};
            SDL_Surface* a = TTF_RenderText_Solid(real, pair, kMenuColour);
            SDL_Surface* b = alt_TTF_RenderText_Solid(ours, pair, kMenuColour);
            ASSERT_TRUE(a && b) << first;
            const std::string why = difference(a, b);
            if (!why.empty()) {
                ADD_FAILURE() << "characters " << first << ", " << int(Uint8(second)) << ": " << why;
                ++failures;
            }
            SDL_FreeSurface(a);
            SDL_FreeSurface(b);
        }
    }
    TTF_CloseFont(real);
    alt_TTF_CloseFont(ours);
}

TEST_F(TextRender, EmptyTextAndMissingFontFailLikeTheRealLibrary) {
    TTF_Font* ours = alt_TTF_OpenFont("data/Font.ttf", 30);
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(alt_TTF_RenderText_Solid(ours, "", kMenuColour), nullptr);
    EXPECT_EQ(alt_TTF_RenderText_Solid(ours, nullptr, kMenuColour), nullptr);
    alt_TTF_CloseFont(ours);
    EXPECT_EQ(alt_TTF_OpenFont("data/no-such-font.ttf", 30), nullptr);
    EXPECT_EQ(alt_TTF_OpenFont("data/Fadenkreuz.bmp", 30), nullptr);  // not a font
    EXPECT_EQ(alt_TTF_WasInit(), TTF_WasInit());
}

}  // namespace
