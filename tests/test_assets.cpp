// The generated pictures and sounds under data/: that every file the game
// reads is there and loads, and the properties of their pixels and samples
// that the game's positions, hit tests and colour keys rely on.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/data_files.h"
#include "match/layout.h"
#include "sdl_video_env.h"

namespace {

using namespace layout;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kWindowKey = {250, 200, 200};

// A BMP as SDL loads it, read pixel by pixel in its own format.
class Picture {
public:
    explicit Picture(const std::string& file) : surface_(SDL_LoadBMP(file.c_str())) {}
    ~Picture() {
        if (surface_) SDL_FreeSurface(surface_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool loaded() const { return surface_ != nullptr; }
    int w() const { return surface_->w; }
    int h() const { return surface_->h; }
    Rgb at(int x, int y) const {
        const Uint32 v = pixelAt(surface_, x, y);
        Uint8 r, g, b;
        SDL_GetRGB(v, surface_->format, &r, &g, &b);
        return {r, g, b};
    }

private:
    SDL_Surface* surface_;
};

std::unique_ptr<Picture> picture(DataFile file) {
    auto p = std::make_unique<Picture>(dataFile(file));
    if (!p->loaded()) ADD_FAILURE() << dataFile(file) << ": " << SDL_GetError();
    return p;
}

bool endsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Sprites the game draws with white as the transparent colour.
const DataFile kWhiteKeyed[] = {DATA_CROSSHAIR, DATA_MENU_MARKER, DATA_TITLE, DATA_INTRO_LASERS, DATA_CREDITS_LOGO, DATA_CPU_FIGURE, DATA_PLAYER_FIGURE, DATA_BALL, DATA_BALL_SHADOW};

class Assets : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO)) << SDL_GetError(); }
    static void TearDownTestSuite() { SDL_Quit(); }
};

TEST_F(Assets, EveryGameFileIsThereAndLoads) {
    ASSERT_NE(-1, Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048)) << Mix_GetError();
    ASSERT_EQ(0, TTF_Init()) << TTF_GetError();
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        const std::string file = kDataFiles[i];
        SCOPED_TRACE(file);
        if (endsWith(file, ".bmp")) {
            SDL_Surface* s = SDL_LoadBMP(file.c_str());
            EXPECT_NE(nullptr, s) << SDL_GetError();
            if (s) SDL_FreeSurface(s);
        } else if (endsWith(file, ".wav")) {
            Mix_Chunk* c = Mix_LoadWAV(file.c_str());
            EXPECT_NE(nullptr, c) << Mix_GetError();
            if (c) Mix_FreeChunk(c);
        } else if (endsWith(file, ".ttf")) {
            TTF_Font* f = TTF_OpenFont(file.c_str(), 30);
            EXPECT_NE(nullptr, f) << TTF_GetError();
            if (f) TTF_CloseFont(f);
        } else {
            ADD_FAILURE() << "unexpected kind of game file";
        }
    }
    TTF_Quit();
    Mix_CloseAudio();
}

TEST_F(Assets, PicturesAreUncompressed24BitBottomUpBitmaps) {
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        const std::string file = kDataFiles[i];
        if (!endsWith(file, ".bmp")) continue;
        SCOPED_TRACE(file);
        const std::vector<uint8_t> b = fileBytes(file);
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ('B', b[0]);
        EXPECT_EQ('M', b[1]);
        EXPECT_EQ(24, b[28] | (b[29] << 8)) << "bits per pixel";
        EXPECT_EQ(0u, le32(b, 30)) << "compression";
        EXPECT_GT(static_cast<int32_t>(le32(b, 22)), 0) << "a positive height: bottom-up rows";
    }
}

TEST_F(Assets, FieldsFillTheScreenAndTheFourLooksDiffer) {
    std::unique_ptr<Picture> fields[4];
    for (int k = 0; k < 4; ++k) {
        fields[k] = picture(kFieldFiles[k][0]);
        ASSERT_TRUE(fields[k]->loaded());
        EXPECT_EQ(1024, fields[k]->w()) << dataFile(kFieldFiles[k][0]);
        EXPECT_EQ(768, fields[k]->h()) << dataFile(kFieldFiles[k][0]);
    }
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            double diff = 0;
            int n = 0;
            for (int y = 0; y < 768; y += 7)
                for (int x = 0; x < 1024; x += 7, ++n) {
                    const Rgb p = fields[a]->at(x, y), q = fields[b]->at(x, y);
                    diff += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
                }
            EXPECT_GT(diff / n, 30.0) << dataFile(kFieldFiles[a][0]) << " and " << dataFile(kFieldFiles[b][0]) << " look alike";
        }
}

// The patch is drawn at (750, 610) over the sliding bar cover: it must hide
// every row of the cover to the screen's right edge, and be the field's own
// pixels there, or a seam would show.
TEST_F(Assets, EachFieldPatchIsTheFieldsOwnPixelsOverTheBarCover) {
    auto cover = picture(DATA_BAR_COVER);
    ASSERT_TRUE(cover->loaded());
    for (const auto& pair : kFieldFiles) {
        SCOPED_TRACE(dataFile(pair[1]));
        auto field = picture(pair[0]);
        auto patch = picture(pair[1]);
        ASSERT_TRUE(field->loaded() && patch->loaded());
        ASSERT_EQ(kScreenW - kPatchX, patch->w());
        ASSERT_LE(kPatchY, kBarCoverY);
        ASSERT_GE(kPatchY + patch->h(), kBarCoverY + cover->h()) << "the cover's lowest row shows";
        ASSERT_LE(kPatchY + patch->h(), kScreenH);
        int mismatches = 0;
        for (int y = 0; y < patch->h(); ++y)
            for (int x = 0; x < patch->w(); ++x)
                if (patch->at(x, y) != field->at(kPatchX + x, kPatchY + y)) ++mismatches;
        EXPECT_EQ(0, mismatches);
    }
}

// The game takes the ball's and the crosshair's centre to be their top-left
// corner plus 25: the drawn shape must be centred on pixel (25, 25).
TEST_F(Assets, BallShadowAndCrosshairAreCentredOnPixel25) {
    for (DataFile name : {DATA_BALL, DATA_BALL_SHADOW, DATA_CROSSHAIR}) {
        SCOPED_TRACE(dataFile(name));
        auto p = picture(name);
        ASSERT_TRUE(p->loaded());
        ASSERT_EQ(51, p->w());
        ASSERT_EQ(51, p->h());
        EXPECT_NE(kWhite, p->at(25, 25)) << "the centre pixel is drawn";
        int asymmetric = 0, drawn = 0;
        for (int y = 0; y < 51; ++y)
            for (int x = 0; x < 51; ++x) {
                const bool here = p->at(x, y) != kWhite;
                drawn += here;
                if (here != (p->at(50 - x, y) != kWhite) || here != (p->at(x, 50 - y) != kWhite))
                    ++asymmetric;
            }
        EXPECT_EQ(0, asymmetric) << "the outline is mirror-symmetric about pixel 25";
        EXPECT_GT(drawn, 100);
        EXPECT_EQ(kWhite, p->at(0, 0));
    }
}

// Colour keys are all or nothing: an anti-aliased edge left pale would show
// as a light fringe wherever the sprite stands. (The picture's own border is
// not a keyed edge.)
TEST_F(Assets, KeyedSpritesHaveNoPaleFringe) {
    auto check = [](DataFile name, Rgb key) {
        SCOPED_TRACE(dataFile(name));
        auto p = picture(name);
        ASSERT_TRUE(p->loaded());
        auto isKey = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < p->w() && y < p->h() && p->at(x, y) == key;
        };
        int pale = 0, keyed = 0;
        std::string first;
        for (int y = 0; y < p->h(); ++y)
            for (int x = 0; x < p->w(); ++x) {
                const Rgb c = p->at(x, y);
                if (c == key) {
                    ++keyed;
                    continue;
                }
                if (!(isKey(x - 1, y) || isKey(x + 1, y) || isKey(x, y - 1) || isKey(x, y + 1)))
                    continue;
                const bool nearKey = std::abs(c.r - key.r) < 48 && std::abs(c.g - key.g) < 48 &&
                                     std::abs(c.b - key.b) < 48;
                if (nearKey && pale++ == 0)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                            std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
            }
        EXPECT_EQ(0, pale) << "first: " << first;
        EXPECT_GT(keyed, 0) << "the sprite has transparent parts";
    };
    for (DataFile file : kWhiteKeyed) check(file, kWhite);
    check(DATA_TARGET_WINDOW, kWindowKey);
}

// Drawn at (250, 150): the whole area where a crosshair centre hits (either
// half) is solid, so no field marking shows through as a second target; the
// two halves differ in tint; the middle column at x 485, which misses, is a
// divider that stands out from its neighbours and is not the crosshair's red.
TEST_F(Assets, TargetWindowIsSolidOverTheHalvesWithADividerAtTheMiss) {
    auto p = picture(DATA_TARGET_WINDOW);
    ASSERT_TRUE(p->loaded());
    ASSERT_GE(p->w(), 685 - 250);
    ASSERT_GE(p->h(), 580 - 150);
    EXPECT_LE(250 + p->w(), 1024);
    // Below the frame of the hit area the player's head shows, between the
    // window and the power bar.
    EXPECT_LE(kWindowY + p->h(), kHalvesBottom + 5) << "the window ends with its frame";
    auto at = [&](int x, int y) { return p->at(x - kWindowX, y - kWindowY); };
    int holes = 0;
    long leftBlue = 0, rightBlue = 0;
    for (int y = 246; y <= 579; ++y)
        for (int x = 336; x <= 684; ++x) {
            const Rgb c = at(x, y);
            if (c == kWindowKey) ++holes;
            if (x < 485) leftBlue += c.b - c.r;
            if (x > 485) rightBlue += c.b - c.r;
        }
    EXPECT_EQ(0, holes);
    const long rows = 579 - 246 + 1;
    EXPECT_GT(leftBlue / (rows * (484 - 336 + 1)), 40) << "the left half is tinted blue";
    EXPECT_LT(rightBlue / (rows * (684 - 486 + 1)), -40) << "the right half is tinted warm";
    int unmarked = 0, red = 0;
    for (int y = 246; y <= 579; ++y) {
        const Rgb mid = at(485, y);
        if (mid == at(484, y) || mid == at(486, y)) ++unmarked;
        if (mid.r - std::max(mid.g, mid.b) > 60) ++red;
    }
    EXPECT_EQ(0, unmarked);
    EXPECT_EQ(0, red) << "the divider is not drawn in the crosshair's red";
    // Clear away from the target area: corners and the field beside it.
    for (auto pt : {std::pair<int, int>{252, 152}, {747, 152}, {252, 582}, {747, 582}, {710, 400},
                    {270, 300}, {720, 200}})
        EXPECT_EQ(kWindowKey, at(pt.first, pt.second))
            << "screen (" << pt.first << ", " << pt.second << ")";
}

// The power bar is drawn over the player's figure from kBarY on: the head
// must close (narrow to the neck) above it. Measured across the middle of
// the figure, where neither arm nor racket reaches at head height.
TEST_F(Assets, PlayersHeadStaysAboveThePowerBar) {
    auto player = picture(DATA_PLAYER_FIGURE);
    ASSERT_TRUE(player->loaded());
    const int barRow = kBarY - kPlayerY;
    auto width = [&](int y) {
        int first = -1, last = -1;
        for (int x = 44; x <= 96; ++x)
            if (player->at(x, y) != kWhite) {
                if (first < 0) first = x;
                last = x;
            }
        return first < 0 ? 0 : last - first + 1;
    };
    int widest = 0, widestRow = -1;
    for (int y = 0; y < barRow; ++y)
        if (width(y) > widest) widest = width(y), widestRow = y;
    EXPECT_GE(widest, 28) << "a head above the bar";
    int neckRow = -1;
    for (int y = widestRow; y < barRow && neckRow < 0; ++y)
        if (width(y) < widest * 6 / 10) neckRow = y;
    EXPECT_GE(neckRow, 0) << "the head is still as wide at row " << barRow - 1
                          << ", where the bar begins";
}

// The CPU blocks a ball whose centre is 10..60 right of its figure and
// 75..120 down, and carries it there; the player catches at 60..80 right and
// 60..95 down. The figures must have their rackets and hands there.
TEST_F(Assets, FiguresHoldTheirRacketsWhereTheGameHitTests) {
    auto cpu = picture(DATA_CPU_FIGURE);
    auto player = picture(DATA_PLAYER_FIGURE);
    ASSERT_TRUE(cpu->loaded() && player->loaded());
    auto coverage = [](const Picture& p, int x0, int x1, int y0, int y1) {
        int drawn = 0, all = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x, ++all) drawn += p.at(x, y) != kWhite;
        return static_cast<double>(drawn) / all;
    };
    ASSERT_GE(cpu->w(), 61);
    ASSERT_GE(cpu->h(), 121);
    EXPECT_GT(coverage(*cpu, 15, 55, 80, 115), 0.8);
    ASSERT_GE(player->w(), 81);
    ASSERT_GE(player->h(), 96);
    EXPECT_LE(kPlayerY + player->h(), kScreenH) << "the player's figure fits on the screen";
    EXPECT_GT(coverage(*player, 60, 80, 60, 95), 0.8);
    EXPECT_EQ(kWhite, cpu->at(0, 0));
    EXPECT_EQ(kWhite, player->at(0, player->h() - 1));
    // Told apart at a glance: the CPU's kit is red, the player's blue.
    long cpuRed = 0, playerRed = 0;
    for (int y = 0; y < cpu->h(); ++y)
        for (int x = 0; x < cpu->w(); ++x) {
            const Rgb c = cpu->at(x, y);
            if (c != kWhite) cpuRed += c.r - c.b;
        }
    for (int y = 0; y < player->h(); ++y)
        for (int x = 0; x < player->w(); ++x) {
            const Rgb c = player->at(x, y);
            if (c != kWhite) playerRed += c.r - c.b;
        }
    EXPECT_GT(cpuRed, 0);
    EXPECT_LT(playerRed, 0);
}

// The bar at (299, 609) under its cover at (barCoverX, 611), barCoverX from
// 301 up to 740, with the field patch over everything from x 750: nothing of
// the bar's colours may show except left of the cover.
TEST_F(Assets, BarCoverHidesTheEmptyPartOfThePowerBar) {
    auto bar = picture(DATA_POWER_BAR);
    auto cover = picture(DATA_BAR_COVER);
    ASSERT_TRUE(bar->loaded() && cover->loaded());
    const Rgb frame = bar->at(0, 0);
    const int coverTop = kBarCoverY - kBarY, coverBottom = coverTop + cover->h();  // bar rows
    for (int y = 0; y < bar->h(); ++y) {
        if (y >= coverTop && y < coverBottom) continue;
        for (int x = kBarCoverStartX - kBarX; x < bar->w() && kBarX + x < kPatchX; ++x)
            ASSERT_EQ(frame, bar->at(x, y)) << "bar row " << y << " shows above or below the cover";
    }
    int lastInside = 0;
    for (int x = 0; x < bar->w(); ++x)
        if (bar->at(x, bar->h() / 2) != frame) lastInside = x;
    const int lastInsideX = 299 + lastInside;
    EXPECT_TRUE(lastInsideX >= 750 || 301 + cover->w() - 1 >= lastInsideX)
        << "the cover at 301 ends at " << 301 + cover->w() - 1 << ", the bar's colours at "
        << lastInsideX;
    EXPECT_GE(740 + cover->w(), 750) << "the cover reaches the patch from every position";
    // Green when weak, red when strong.
    const Rgb weak = bar->at(4, bar->h() / 2), strong = bar->at(lastInside - 2, bar->h() / 2);
    EXPECT_GT(weak.g - weak.r, 50);
    EXPECT_GT(strong.r - strong.g, 50);
}

// The credits logo at (250, 520) must leave the credit line drawn at y 550
// (30-point text, about 35 pixels tall) readable.
TEST_F(Assets, CreditsLogoLeavesTheCreditLineClear) {
    auto logo = picture(DATA_CREDITS_LOGO);
    ASSERT_TRUE(logo->loaded());
    EXPECT_LE(520 + logo->h(), 730) << "clear of the Back label";
    for (int y = 0; y < std::min(logo->h(), 590 - 520); ++y)
        for (int x = 0; x < logo->w(); ++x)
            ASSERT_EQ(kWhite, logo->at(x, y)) << "logo pixel (" << x << ", " << y << ")";
    int drawn = 0;
    for (int y = 0; y < logo->h(); ++y)
        for (int x = 0; x < logo->w(); ++x) drawn += logo->at(x, y) != kWhite;
    EXPECT_GT(drawn, 2000);
}

// The samples of a WAV that SDL_LoadWAV returned as AUDIO_S16LSB, in this
// processor's own order (a big-endian one reads them swapped otherwise).
std::vector<int16_t> samplesOf(const Uint8* buffer, Uint32 length) {
    std::vector<int16_t> s(length / 2);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<int16_t>(buffer[2 * i] | buffer[2 * i + 1] << 8);
    return s;
}

TEST_F(Assets, SoundsAreShortUnclippedAndStartAndEndOnSilence) {
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        const std::string file = kDataFiles[i];
        if (!endsWith(file, ".wav")) continue;
        SCOPED_TRACE(file);
        SDL_AudioSpec spec;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(nullptr, SDL_LoadWAV(file.c_str(), &spec, &buffer, &length)) << SDL_GetError();
        EXPECT_EQ(44100, spec.freq);
        EXPECT_EQ(AUDIO_S16LSB, spec.format);
        ASSERT_GE(spec.channels, 1);
        const size_t samples = length / 2;
        const double seconds = static_cast<double>(samples / spec.channels) / spec.freq;
        EXPECT_GE(seconds, 0.1);
        EXPECT_LE(seconds, 0.8);
        const std::vector<int16_t> s = samplesOf(buffer, length);
        SDL_FreeWAV(buffer);
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_LT(peak, 32000) << "no clipping";
        EXPECT_GT(peak, 6000) << "audible";
        ASSERT_GE(s.size(), 4u);
        EXPECT_LT(std::abs(s.front()), 200) << "faded in";
        EXPECT_LT(std::abs(s.back()), 200) << "faded out";
    }
}

// The loudness that a player hears of a short effect: the RMS of its
// loudest 100 ms, in dB below full scale.
double loudest100MsDb(const char* file) {
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(file, &spec, &buffer, &length)) {
        ADD_FAILURE() << file << ": " << SDL_GetError();
        return 0;
    }
    const std::vector<int16_t> s = samplesOf(buffer, length);
    SDL_FreeWAV(buffer);
    const size_t window = static_cast<size_t>(spec.freq / 10) * spec.channels;
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        sum += static_cast<double>(s[i]) * s[i];
        if (i >= window) sum -= static_cast<double>(s[i - window]) * s[i - window];
        loudest = std::max(loudest, sum);
    }
    const double n = static_cast<double>(std::min(window, s.size()));
    return 10 * std::log10(loudest / n / (32768.0 * 32768.0));
}

// The six match sounds share channel 0 and each cuts off the last: none may
// be much louder or softer than another.
TEST_F(Assets, MatchSoundsAreEvenlyLoud) {
    const DataFile sounds[] = {DATA_CHARGE_SOUND,   DATA_SHOT_SOUND,          DATA_CPU_BLOCK_SOUND,
                               DATA_CATCH_SOUND,    DATA_PLAYER_SCORES_SOUND, DATA_CPU_SCORES_SOUND};
    double quietest = 0, loudest = -100;
    std::string levels;
    for (DataFile sound : sounds) {
        const char* file = dataFile(sound);
        const double db = loudest100MsDb(file);
        quietest = std::min(quietest, db);
        loudest = std::max(loudest, db);
        levels += std::string(" ") + file + " " + std::to_string(db);
    }
    EXPECT_LE(loudest - quietest, 3.0) << levels;
    EXPECT_GT(quietest, -20.0) << "too soft against the music of other programs:" << levels;
}

// The charge sound rises: its last quarter crosses zero more often than its
// first.
TEST_F(Assets, ChargeToneRises) {
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    ASSERT_NE(nullptr, SDL_LoadWAV(dataFile(DATA_CHARGE_SOUND), &spec, &buffer, &length));
    const std::vector<int16_t> s = samplesOf(buffer, length);
    SDL_FreeWAV(buffer);
    const size_t quarter = s.size() / 4;
    auto crossings = [&](size_t from) {
        int n = 0;
        for (size_t i = from + 1; i < from + quarter; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
        return n;
    };
    EXPECT_GT(crossings(3 * quarter), 2 * crossings(0));
}

// ---------------------------------------------------------------- texts

// WCAG relative luminance of an sRGB colour, and the contrast of two.
double luminance(Rgb c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

double contrast(Rgb a, Rgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The share of a text's ink pixels, rendered the way the match renders it,
// that stand at 3:1 or more against the field under them.
double readableShare(TTF_Font* font, const char* text, int atX, int atY, const Picture& field) {
    const SDL_Color colour = {50, 100, 0, 0};
    SDL_Surface* s = TTF_RenderText_Solid(font, text, colour);
    if (!s) {
        ADD_FAILURE() << text << ": " << TTF_GetError();
        return 0;
    }
    const Rgb ink = {colour.r, colour.g, colour.b};
    int inkPixels = 0, readable = 0;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            // A solid render is 8-bit: index 0 is the see-through ground.
            if (static_cast<const Uint8*>(s->pixels)[y * s->pitch + x] == 0) continue;
            const int fx = atX + x, fy = atY + y;
            if (fx >= field.w() || fy >= field.h()) continue;  // the blit clips it
            ++inkPixels;
            readable += contrast(ink, field.at(fx, fy)) >= 3.0;
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    EXPECT_GT(inkPixels, 100) << text;
    return inkPixels ? static_cast<double>(readable) / inkPixels : 0;
}

// Every text of the match in its colour and at its place must be readable on
// every field: at least 90 % of its ink at 3:1 against the field.
TEST_F(Assets, EveryMatchTextIsReadableOnEveryField) {
    ASSERT_EQ(0, TTF_Init()) << TTF_GetError();
    TTF_Font* small = TTF_OpenFont(dataFile(DATA_FONT), 50);
    TTF_Font* large = TTF_OpenFont(dataFile(DATA_FONT), 100);
    ASSERT_TRUE(small && large) << TTF_GetError();
    struct Placed {
        TTF_Font* font;
        std::string text;
        int x, y;
    };
    std::vector<Placed> texts = {{small, "OUT", kOutTextX, kOutTextY},
                                 {small, "POINT LINE", kPointLineTextX, kPointLineTextY},
                                 {large, "CPU won", kWonTextX, kWonTextY},
                                 {large, "Player 1 won", kWonTextX, kWonTextY}};
    // Every score text a match can show, and 7.5 written out in case.
    const char* const scores[] = {"0", "0.5", "1", "1.5", "2", "2.5", "3", "3.5", "4",
                                  "4.5", "5", "5.5", "6", "6.5", "7", "7.5", "8"};
    for (const char* score : scores) {
        texts.push_back({large, score, kCpuScoreX, kCpuScoreY});
        texts.push_back({large, score, kPlayerScoreX, kPlayerScoreY});
    }
    for (const auto& pair : kFieldFiles) {
        auto field = picture(pair[0]);
        ASSERT_TRUE(field->loaded());
        for (const Placed& t : texts) {
            const double share = readableShare(t.font, t.text.c_str(), t.x, t.y, *field);
            EXPECT_GE(share, 0.90) << dataFile(pair[0]) << ": \"" << t.text << "\" at (" << t.x << ", "
                                   << t.y << ")";
        }
    }
    TTF_CloseFont(small);
    TTF_CloseFont(large);
    TTF_Quit();
}

}  // namespace
