#include "app/main_menu.h"

#include <cstdio>
#include <cstdlib>

#include "platform/data_files.h"
#include "platform/i_video.h"
#include "match/match.h"
#include "screens/menu_common.h"
#include "screens/screens.h"
#include "screens/settings.h"

MenuLabel menuLabelAt(int hotX, int hotY) {
    if (insideStrict(hotX, hotY, 400, 300, 500, 350)) return MENU_START;
    if (insideStrict(hotX, hotY, 400, 370, 550, 420)) return MENU_OPTIONS;
    if (insideStrict(hotX, hotY, 400, 440, 500, 490)) return MENU_QUIT;
    return MENU_NONE;
}

int gameMain(int argc, char** argv, const GameIo& io) {
    GameSettings settings;
    bool leaveScreen = false;
    Clock clickGateStart = 0;

    initFonts();
    TTF_Font* font = openFont(dataFile(DATA_FONT), 50);
    SDL_Surface* startText = renderText(font, "Start", kMenuTextColour);
    SDL_Surface* optionsText = renderText(font, "Options", kMenuTextColour);
    SDL_Surface* quitText = renderText(font, "Quit", kMenuTextColour);

    setLibraryDefaults();
    initVideo();

    runIntroScreen(argc, argv, io);

    // Hidden before the mode is set again, so that the arrow the intro gave
    // back never shows between the two screens.
    HiddenCursor hiddenCursor = hideSystemCursor();
    SDL_Surface* display = setGameVideoMode();
    SDL_Surface* crosshair = loadImage(dataFile(DATA_CROSSHAIR), &kWhiteKey);
    MenuCursor cursor;

    auto act = [&] {
        if (clickGateOpen(io.clock(io.ctx), clickGateStart) && leftButtonDown(io)) {
            // Each label is tested against the same click point; an action
            // runs to its end (a whole match, a whole options visit) first.
            MenuLabel label = menuLabelAt(cursor.hotX, cursor.hotY);
            if (label == MENU_START) {
                runMatch(argc, argv, settings.fieldKind, settings.enemyLevel, settings.clubHeight,
                         settings.clubSpeed, settings.clubPrecision, io);
            } else if (label == MENU_OPTIONS) {
                runOptionsScreen(argc, argv, settings.fieldKind, settings.enemyLevel,
                                 settings.clubHeight, settings.clubSpeed, settings.clubPrecision, io);
                clickGateStart = io.clock(io.ctx);
            } else if (label == MENU_QUIT) {
                leaveScreen = true;
            }
            // The screen just left set the same mode again; take the display
            // surface afresh rather than trust the old pointer.
            display = currentDisplay();
        }

        if (io.keyDown(io.ctx, SDLK_q)) leaveScreen = true;
    };
    auto draw = [&] {
        blitAt(startText, display, 400, 300);
        blitAt(optionsText, display, 400, 370);
        blitAt(quitText, display, 400, 440);
    };
    runMenuPasses(io, cursor, display, crosshair, leaveScreen, act, draw);

    freeImage(startText);
    freeImage(optionsText);
    freeImage(quitText);
    freeImage(crosshair);
    closeFont(font);
    restoreSystemCursor(hiddenCursor);
    return 0;
}
