// The options screen with the real font: renders its texts, finds the ink of
// each label and number, and checks that what the player points at is where
// the click targets are. Prints the measured figures.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "screens/options.h"

namespace {

// Ink bounding box in display coordinates; right and bottom are exclusive.
struct Ink {
    int left, top, right, bottom;
};

class OptionsLayout : public ::testing::Test {
protected:
    static TTF_Font* small;
    static TTF_Font* large;

    static void SetUpTestSuite() {
        ASSERT_EQ(0, TTF_Init()) << TTF_GetError();
        small = TTF_OpenFont("data/Font.ttf", 30);
        large = TTF_OpenFont("data/Font.ttf", 50);
        ASSERT_NE(nullptr, small) << TTF_GetError();
        ASSERT_NE(nullptr, large) << TTF_GetError();
    }
    static void TearDownTestSuite() {
        if (small) TTF_CloseFont(small);
        if (large) TTF_CloseFont(large);
        TTF_Quit();
    }

    static TTF_Font* fontFor(const OptionsText& t) { return t.fontSize == 50 ? large : small; }

    static int prefixWidth(const OptionsText& t, size_t length) {
        int w = 0, h = 0;
        TTF_SizeText(fontFor(t), std::string(t.text, length).c_str(), &w, &h);
        return length == 0 ? 0 : w;
    }

    // The ink of characters [from, to) of a text, as drawn on the screen:
    // the whole text is rendered as the screen renders it, and the pixels
    // between the advance widths of the two prefixes are scanned.
    static Ink inkOf(const OptionsText& t, size_t from, size_t to) {
        const SDL_Color colour = {100, 100, 80, 0};
        SDL_Surface* image = TTF_RenderText_Solid(fontFor(t), t.text, colour);
        Ink ink = {1 << 20, 1 << 20, -1, -1};
        if (!image) {
            ADD_FAILURE() << "cannot render " << t.text << ": " << TTF_GetError();
            return ink;
        }
        const int x0 = prefixWidth(t, from);
        const int x1 = std::min(prefixWidth(t, to), image->w);
        SDL_LockSurface(image);
        const Uint8* pixels = static_cast<const Uint8*>(image->pixels);
        for (int y = 0; y < image->h; ++y)
            for (int x = x0; x < x1; ++x)
                if (pixels[y * image->pitch + x] != 0) {  // index 0 is the background
                    ink.left = std::min(ink.left, t.x + x);
                    ink.right = std::max(ink.right, t.x + x + 1);
                    ink.top = std::min(ink.top, t.y + y);
                    ink.bottom = std::max(ink.bottom, t.y + y + 1);
                }
        SDL_UnlockSurface(image);
        SDL_FreeSurface(image);
        EXPECT_LT(ink.left, ink.right) << "no ink in \"" << t.text << "\" at " << from;
        return ink;
    }

    // The character range of the n-th number (1-based) in a text; {0, 0}
    // when there is none.
    static std::pair<size_t, size_t> nthNumber(const char* text, int n) {
        const std::string s = text;
        const char* const digits = "0123456789";
        size_t end = 0;
        for (int i = 1; i <= n; ++i) {
            const size_t start = s.find_first_of(digits, end);
            if (start == std::string::npos) return {0, 0};
            end = std::min(s.find_first_not_of(digits, start), s.size());
            if (i == n) return {start, end};
        }
        return {0, 0};
    }

    static int columnsInside(const Ink& ink, const OptionsTarget& t) {
        // Strict bounds: columns left + 1 .. right - 1 can hold the click point.
        return std::max(0, std::min(ink.right, t.right) - std::max(ink.left, t.left + 1));
    }

    // A label or number is clickable where it is drawn when all its height
    // and its middle lie inside its target, three quarters of its width at
    // least, and it touches no other target.
    static void expectClickable(const char* what, const Ink& ink, int target) {
        const OptionsTarget& t = kOptionsTargets[target];
        const int width = ink.right - ink.left;
        const int inside = columnsInside(ink, t);
        std::printf("%-12s ink x %4d..%4d y %3d..%3d   target x %4d..%4d y %3d..%3d   "
                    "%3d of %3d columns inside\n",
                    what, ink.left, ink.right - 1, ink.top, ink.bottom - 1, t.left, t.right, t.top,
                    t.bottom, inside, width);
        EXPECT_GT(ink.top, t.top) << what;
        EXPECT_LT(ink.bottom - 1, t.bottom) << what;
        const int middle2 = ink.left + ink.right - 1;  // twice the middle column
        EXPECT_GT(middle2, 2 * t.left) << what;
        EXPECT_LT(middle2, 2 * t.right) << what;
        EXPECT_GE(4 * inside, 3 * width) << what;
        for (int other = 0; other < kOptionsTargetCount; ++other) {
            if (other == target) continue;
            const OptionsTarget& o = kOptionsTargets[other];
            const bool overlaps = ink.left < o.right && o.left < ink.right && ink.top < o.bottom &&
                                  o.top < ink.bottom;
            EXPECT_FALSE(overlaps) << what << " reaches into target " << other;
        }
    }
};

TTF_Font* OptionsLayout::small = nullptr;
TTF_Font* OptionsLayout::large = nullptr;

enum TextIndex { FIELD_TITLE, STANDARD, CEL_SHADING, STREET, LAWN, ENEMY, CLUB, HEIGHT, SPEED,
                 PRECISION, BACK, CREDITS };
enum TargetIndex { T_STANDARD, T_CEL_SHADING, T_STREET, T_LAWN, T_ENEMY_1, T_CLUB_1 = 7,
                   T_BACK = 11, T_CREDITS = 12 };

}  // namespace

TEST_F(OptionsLayout, EveryTextFitsOnTheDisplay) {
    for (const OptionsText& t : kOptionsTexts) {
        int w = 0, h = 0;
        ASSERT_EQ(0, TTF_SizeText(fontFor(t), t.text, &w, &h));
        EXPECT_LE(t.x + w, 1024) << t.text;
        EXPECT_LE(t.y + h, 768) << t.text;
    }
}

TEST_F(OptionsLayout, LabelsLieOnTheirTargets) {
    const struct {
        int text, target;
    } labels[] = {{STANDARD, T_STANDARD}, {CEL_SHADING, T_CEL_SHADING}, {STREET, T_STREET},
                  {LAWN, T_LAWN},         {BACK, T_BACK},               {CREDITS, T_CREDITS}};
    for (const auto& l : labels) {
        const OptionsText& t = kOptionsTexts[l.text];
        expectClickable(t.text, inkOf(t, 0, std::string(t.text).size()), l.target);
    }
}

TEST_F(OptionsLayout, EnemyAndClubDigitsLieOnTheirTargets) {
    for (int level = 1; level <= 3; ++level) {
        const auto digit = nthNumber(kOptionsTexts[ENEMY].text, level);
        const std::string name = "Enemy " + std::to_string(level);
        expectClickable(name.c_str(), inkOf(kOptionsTexts[ENEMY], digit.first, digit.second),
                        T_ENEMY_1 + level - 1);
    }
    for (int club = 1; club <= 4; ++club) {
        const auto digit = nthNumber(kOptionsTexts[CLUB].text, club);
        const std::string name = "Club " + std::to_string(club);
        expectClickable(name.c_str(), inkOf(kOptionsTexts[CLUB], digit.first, digit.second),
                        T_CLUB_1 + club - 1);
    }
    EXPECT_EQ(0u, nthNumber(kOptionsTexts[ENEMY].text, 4).first) << "three levels only";
    EXPECT_EQ(0u, nthNumber(kOptionsTexts[CLUB].text, 5).first) << "four clubs only";
}

// A number of the club table stands under its club when its middle lies
// within that club's click range.
TEST_F(OptionsLayout, ClubTableColumnsStandUnderTheirClubs) {
    for (int row : {HEIGHT, SPEED, PRECISION}) {
        const OptionsText& t = kOptionsTexts[row];
        for (int club = 1; club <= 4; ++club) {
            const auto number = nthNumber(t.text, club);
            ASSERT_LT(number.first, number.second) << t.text << " has no column " << club;
            const Ink ink = inkOf(t, number.first, number.second);
            const OptionsTarget& target = kOptionsTargets[T_CLUB_1 + club - 1];
            const double middle = (ink.left + ink.right - 1) / 2.0;
            std::printf("%-10.10s club %d: \"%s\" ink x %d..%d, middle %.1f, club target x %d..%d\n",
                        t.text, club, std::string(t.text + number.first, number.second - number.first).c_str(),
                        ink.left, ink.right - 1, middle, target.left, target.right);
            EXPECT_GT(middle, target.left) << t.text << " column " << club;
            EXPECT_LT(middle, target.right) << t.text << " column " << club;
        }
        EXPECT_EQ(0u, nthNumber(t.text, 5).first) << t.text << " has four columns";
    }
}
