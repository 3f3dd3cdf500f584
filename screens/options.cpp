#include "screens/options.h"


#include "platform/data_files.h"
#include "platform/i_video.h"
#include "screens/menu_common.h"
#include "screens/screens.h"
#include "screens/settings.h"

int optionsTargetAt(int hotX, int hotY) {
    for (int i = 0; i < kOptionsTargetCount; ++i) {
        const OptionsTarget& t = kOptionsTargets[i];
        if (insideStrict(hotX, hotY, t.left, t.top, t.right, t.bottom)) return i;
    }
    return -1;
}

void applyOptionsChoice(const OptionsTarget& target, OptionsMarkers& markers,
                        const SettingsRefs& settings) {
    const MarkerPos to = {target.markerX, target.markerY};
    switch (target.action) {
        case OPTIONS_FIELD:
            settings.fieldKind = target.value;
            markers.field = to;
            break;
        case OPTIONS_ENEMY:
            settings.enemyLevel = target.value;
            markers.enemy = to;
            break;
        case OPTIONS_CLUB: {
            const ClubValues& club = kClubs[target.value - 1];
            settings.clubHeight = club.height;
            settings.clubSpeed = club.speed;
            settings.clubPrecision = club.precision;
            markers.club = to;
            break;
        }
        case OPTIONS_BACK:
        case OPTIONS_CREDITS:
            break;
    }
}

void forceUnchosenDefaults(const OptionsMarkers& markers, const SettingsRefs& settings) {
    // Every choice of a row puts its marker on that row's coordinate; the
    // hidden position has none of them.
    const GameSettings defaults;
    if (markers.field.x != 250) settings.fieldKind = defaults.fieldKind;
    if (markers.enemy.y != 400) settings.enemyLevel = defaults.enemyLevel;
    if (markers.club.y != 500) {
        settings.clubHeight = defaults.clubHeight;
        settings.clubSpeed = defaults.clubSpeed;
        settings.clubPrecision = defaults.clubPrecision;
    }
}

int runOptionsScreen(int argc, char** argv, int& fieldKind, int& enemyLevel, int& clubHeight,
                     int& clubSpeed, int& clubPrecision, const GameIo& io) {
    const SettingsRefs settings = {fieldKind, enemyLevel, clubHeight, clubSpeed, clubPrecision};
    bool leaveScreen = false;
    // Zero, not the clock: clicks count from the first pass of a visit.
    Clock clickGateStart = 0;

    initFonts();
    TTF_Font* smallFont = openFont(dataFile(DATA_FONT), 30);
    TTF_Font* largeFont = openFont(dataFile(DATA_FONT), 50);
    SDL_Surface* texts[kOptionsTextCount];
    for (int i = 0; i < kOptionsTextCount; ++i) {
        const OptionsText& t = kOptionsTexts[i];
        texts[i] = renderText(t.fontSize == 50 ? largeFont : smallFont, t.text, kMenuTextColour);
    }

    SDL_Surface* display = setGameVideoMode();
    SDL_Surface* crosshair = loadImage(dataFile(DATA_CROSSHAIR), &kWhiteKey);
    SDL_Surface* marker = loadImage(dataFile(DATA_MENU_MARKER), &kWhiteKey);

    MenuCursor cursor;
    OptionsMarkers markers;
    HiddenCursor hiddenCursor = hideSystemCursor();

    auto act = [&] {
        if (clickGateOpen(io.clock(io.ctx), clickGateStart) && leftButtonDown(io)) {
            const int hit = optionsTargetAt(cursor.hotX, cursor.hotY);
            if (hit >= 0) {
                const OptionsTarget& target = kOptionsTargets[hit];
                applyOptionsChoice(target, markers, settings);
                if (target.action == OPTIONS_BACK) leaveScreen = true;
                if (target.action == OPTIONS_CREDITS) {
                    runCreditsScreen(argc, argv, io);
                    // The button or Escape that left the credits may still be
                    // held; give the player time to let go.
                    clickGateStart = io.clock(io.ctx);
                    display = currentDisplay();
                }
            }
        }

        if (clickGateOpen(io.clock(io.ctx), clickGateStart) && io.keyDown(io.ctx, SDLK_ESCAPE))
            leaveScreen = true;

        forceUnchosenDefaults(markers, settings);
    };
    auto draw = [&] {
        for (int i = 0; i < kOptionsTextCount; ++i)
            blitAt(texts[i], display, kOptionsTexts[i].x, kOptionsTexts[i].y);
        blitAt(marker, display, markers.field.x, markers.field.y);
        blitAt(marker, display, markers.enemy.x, markers.enemy.y);
        blitAt(marker, display, markers.club.x, markers.club.y);
    };
    runMenuPasses(io, cursor, display, crosshair, leaveScreen, act, draw);

    for (SDL_Surface*& text : texts) freeImage(text);
    freeImage(marker);
    freeImage(crosshair);
    closeFont(smallFont);
    closeFont(largeFont);
    restoreSystemCursor(hiddenCursor);
    return 0;
}
