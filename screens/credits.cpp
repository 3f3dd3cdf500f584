#include "screens/credits.h"


#include <string>

#include "platform/data_files.h"
#include "platform/i_video.h"
#include "screens/screens.h"

namespace {

struct CreditsText {
    std::string text;
    int fontSize;
    int x, y;
};

}  // namespace

int runCreditsScreen(int, char**, const GameIo& io) {
    bool leaveScreen = false;

    const std::string author = kCreditsAuthor;
    const std::string designer = kCreditsDesigner;
    const CreditsText lines[] = {
        {"Back", 30, 10, 730},
        {"Programming, Graphics and Sounds:", 50, 150, 100},
        {author, 50, 400, 200},
        {"->designed by " + designer, 30, 300, 550},
        {"Velmora rules: " + author + " and " + designer, 30, 200, 400},
    };
    constexpr int kLineCount = static_cast<int>(sizeof lines / sizeof lines[0]);

    initFonts();
    TTF_Font* largeFont = openFont(dataFile(DATA_FONT), 50);
    TTF_Font* smallFont = openFont(dataFile(DATA_FONT), 30);
    SDL_Surface* texts[kLineCount];
    for (int i = 0; i < kLineCount; ++i)
        texts[i] = renderText(lines[i].fontSize == 50 ? largeFont : smallFont, lines[i].text.c_str(),
                              kMenuTextColour);

    SDL_Surface* display = setGameVideoMode();
    SDL_Surface* crosshair = loadImage(dataFile(DATA_CROSSHAIR), &kWhiteKey);
    SDL_Surface* logo = loadImage(dataFile(DATA_CREDITS_LOGO), &kWhiteKey);

    MenuCursor cursor;
    HiddenCursor hiddenCursor = hideSystemCursor();

    auto act = [&] {
        // No click gate: the options screen gates what follows instead.
        if (io.keyDown(io.ctx, SDLK_ESCAPE)) leaveScreen = true;
        if (leftButtonDown(io) && creditsBackHit(cursor.hotX, cursor.hotY)) leaveScreen = true;
    };
    auto draw = [&] {
        for (int i = 0; i < kLineCount; ++i) blitAt(texts[i], display, lines[i].x, lines[i].y);
        blitAt(logo, display, 250, 520);
    };
    runMenuPasses(io, cursor, display, crosshair, leaveScreen, act, draw);

    for (SDL_Surface*& text : texts) freeImage(text);
    freeImage(logo);
    freeImage(crosshair);
    closeFont(largeFont);
    closeFont(smallFont);
    restoreSystemCursor(hiddenCursor);
    return 0;
}
