// A damaged font must end the game with its name, never open and draw blank
// text. Runs from the build folder, which holds data/Font.ttf.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/i_video.h"

namespace {

std::vector<char> readAll(const char* file) {
    std::vector<char> bytes;
    std::FILE* in = std::fopen(file, "rb");
    if (!in) return bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(in);
    return bytes;
}

std::string writeCopy(const std::vector<char>& bytes, size_t length) {
    const std::string path = ::testing::TempDir() + "velmora_font_" + std::to_string(length) + ".ttf";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, length, out);
    std::fclose(out);
    return path;
}

}  // namespace

TEST(FontDamage, CutShortFontsEndTheGameWithTheirName) {
    const std::vector<char> font = readAll("data/Font.ttf");
    ASSERT_GT(font.size(), 1000u);
    initFonts();

    // The whole file opens and draws.
    TTF_Font* whole = openFont(writeCopy(font, font.size()).c_str(), 30);
    SDL_Surface* text = renderText(whole, "Start", SDL_Color{1, 2, 3, 0});
    EXPECT_GT(text->w, 0);
    SDL_FreeSurface(text);
    TTF_CloseFont(whole);

    // One byte missing from the last table; half the file (FreeType opens
    // that one and draws nothing); the directory itself cut.
    for (size_t length : {font.size() - 1, font.size() / 2, size_t{40}}) {
        const std::string path = writeCopy(font, length);
        EXPECT_EXIT(openFont(path.c_str(), 30), ::testing::ExitedWithCode(1),
                    path + ": the font file (is cut short|ends inside its table directory)")
            << length << " bytes";
    }
}

TEST(FontDamage, NonFontIsNamedWithTheLibrarysReason) {
    const std::string path = ::testing::TempDir() + "velmora_not_a_font.ttf";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fputs("This is not a font.\n", out);
    std::fclose(out);
    initFonts();
    EXPECT_EXIT(openFont(path.c_str(), 30), ::testing::ExitedWithCode(1), path + ": .");
}
