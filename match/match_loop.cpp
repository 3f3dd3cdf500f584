// runMatch: set-up, the frame loop with its fixed stage order, drawing and
// teardown. The rules live in the stage files; this file is the SDL side.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/data_files.h"
#include "platform/i_pad.h"
#include "platform/i_sound.h"
#include "platform/i_video.h"
#include "match/match.h"
#include "match/stages.h"

namespace {

using namespace layout;

constexpr SDL_Color kMatchTextColour = {50, 100, 0, 0};

// In MatchSound order.
const DataFile kSoundFiles[SOUND_COUNT] = {
    DATA_CHARGE_SOUND,   DATA_SHOT_SOUND,          DATA_CPU_BLOCK_SOUND,
    DATA_CATCH_SOUND,    DATA_PLAYER_SCORES_SOUND, DATA_CPU_SCORES_SOUND,
};

struct MatchMedia {
    SDL_Surface* display = nullptr;
    TTF_Font* smallFont = nullptr;
    TTF_Font* largeFont = nullptr;
    SDL_Surface* outText = nullptr;
    SDL_Surface* pointLineText = nullptr;
    SDL_Surface* playerWonText = nullptr;
    SDL_Surface* cpuWonText = nullptr;
    SDL_Surface* cpuScoreText = nullptr;
    SDL_Surface* playerScoreText = nullptr;
    char cpuScoreShown[16] = "";
    char playerScoreShown[16] = "";
    SDL_Surface* field = nullptr;
    SDL_Surface* fieldPatch = nullptr;
    SDL_Surface* cpuFigure = nullptr;
    SDL_Surface* playerFigure = nullptr;
    SDL_Surface* ball = nullptr;
    SDL_Surface* shadow = nullptr;
    SDL_Surface* crosshair = nullptr;
    SDL_Surface* targetWindow = nullptr;
    SDL_Surface* powerBar = nullptr;
    SDL_Surface* barCover = nullptr;
    Mix_Chunk* sounds[SOUND_COUNT] = {};
    HiddenCursor hiddenCursor;
};

void loadMedia(MatchMedia& media, int fieldKind) {
    initFonts();
    media.smallFont = openFont(dataFile(DATA_FONT), 50);
    media.largeFont = openFont(dataFile(DATA_FONT), 100);
    media.outText = renderText(media.smallFont, "OUT", kMatchTextColour);
    media.pointLineText = renderText(media.smallFont, "POINT LINE", kMatchTextColour);
    media.playerWonText = renderText(media.largeFont, "Player 1 won", kMatchTextColour);
    media.cpuWonText = renderText(media.largeFont, "CPU won", kMatchTextColour);

    openAudio();
    media.display = setGameVideoMode();
    fillDisplay(media.display, 255, 255, 255);
    for (SDL_Surface** text :
         {&media.outText, &media.pointLineText, &media.playerWonText, &media.cpuWonText})
        textToDisplayFormat(*text);

    // The menus only offer 1..4; any other value plays on the standard field
    // rather than draw without one.
    const int kind = (fieldKind >= 1 && fieldKind <= 4) ? fieldKind : 1;
    media.field = loadImage(dataFile(kFieldFiles[kind - 1][0]));
    media.fieldPatch = loadImage(dataFile(kFieldFiles[kind - 1][1]));

    static const ColourKey kWindowKey = {250, 200, 200};
    media.cpuFigure = loadImage(dataFile(DATA_CPU_FIGURE), &kWhiteKey);
    media.playerFigure = loadImage(dataFile(DATA_PLAYER_FIGURE), &kWhiteKey);
    media.ball = loadImage(dataFile(DATA_BALL), &kWhiteKey);
    media.shadow = loadImage(dataFile(DATA_BALL_SHADOW), &kWhiteKey, 128);
    media.crosshair = loadImage(dataFile(DATA_CROSSHAIR), &kWhiteKey);
    media.targetWindow = loadImage(dataFile(DATA_TARGET_WINDOW), &kWindowKey);
    media.powerBar = loadImage(dataFile(DATA_POWER_BAR));
    media.barCover = loadImage(dataFile(DATA_BAR_COVER));

    for (int i = 0; i < SOUND_COUNT; ++i) media.sounds[i] = loadSound(dataFile(kSoundFiles[i]));
}

// A sound still playing stops before its chunk goes.
void freeMedia(MatchMedia& media, const GameIo& io) {
    io.haltChannel(io.ctx);
    SDL_Surface** surfaces[] = {&media.field,         &media.fieldPatch,  &media.cpuFigure,
                                &media.playerFigure,  &media.ball,        &media.shadow,
                                &media.crosshair,     &media.targetWindow, &media.powerBar,
                                &media.barCover,      &media.outText,     &media.pointLineText,
                                &media.cpuScoreText,  &media.playerScoreText,
                                &media.playerWonText, &media.cpuWonText};
    for (SDL_Surface** surface : surfaces) freeImage(*surface);
    for (Mix_Chunk*& chunk : media.sounds) freeSound(chunk);
    closeFont(media.smallFont);
    closeFont(media.largeFont);
    restoreSystemCursor(media.hiddenCursor);
}

// A score image is rendered only when its text changes; what is drawn is
// the same as rendering it every frame.
void refreshScoreText(MatchMedia& media, SDL_Surface*& image, char* shown, const char* text) {
    if (image && std::strcmp(shown, text) == 0) return;
    freeImage(image);
    image = renderText(media.largeFont, text, kMatchTextColour);
    textToDisplayFormat(image);
    std::snprintf(shown, 16, "%s", text);
}

// Stage 2 and 3: events, then the Escape key.
void pollMatchEvents(MatchState& m, const GameIo& io) {
    SDL_Event event;
    while (io.pollEvent(io.ctx, &event)) {
        if (event.type == SDL_QUIT) {
            m.matchOver = true;
        } else if (event.type == SDL_MOUSEMOTION) {
            m.pointerX = event.motion.x;
            m.pointerY = event.motion.y;
        } else if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
            m.pointerX = event.button.x;
            m.pointerY = event.button.y;
        }
    }
    if (io.keyDown(io.ctx, SDLK_ESCAPE)) m.matchOver = true;
}

// Stage 19's end: the winner's text over the last frame, held for 2000 ms.
void announceWinners(MatchMedia& media, const GameIo& io, int winners) {
    if (winners & WINNER_CPU) {
        blitAt(media.cpuWonText, media.display, kWonTextX, kWonTextY);
        flipDisplay(media.display);
        io.delay(io.ctx, 2000);
    }
    if (winners & WINNER_PLAYER) {
        blitAt(media.playerWonText, media.display, kWonTextX, kWonTextY);
        flipDisplay(media.display);
        io.delay(io.ctx, 2000);
    }
}

// Stage 20.
void drawFrame(MatchState& m, MatchMedia& media) {
    refreshDrawPositions(m);
    refreshScoreText(media, media.cpuScoreText, media.cpuScoreShown, m.cpuScoreText);
    refreshScoreText(media, media.playerScoreText, media.playerScoreShown, m.playerScoreText);

    SDL_Surface* d = media.display;
    blitAt(media.field, d, 0, 0);
    blitAt(media.cpuFigure, d, m.cpuX, kCpuY);
    blitAt(media.playerFigure, d, m.playerX, kPlayerY);
    blitAt(media.shadow, d, m.ballX, m.shadowY);
    blitAt(media.ball, d, m.ballX, m.ballY);
    if (m.aiming) {
        blitAt(media.powerBar, d, kBarX, kBarY);
        blitAt(media.barCover, d, m.barCoverX, kBarCoverY);
        blitAt(media.fieldPatch, d, kPatchX, kPatchY);
        blitAt(media.targetWindow, d, kWindowX, kWindowY);
        // The blit leaves this rectangle clipped at the left and top edges,
        // as classic SDL 1.2 does on every library; the next frame reads
        // the clipped position back as the crosshair's centre.
        blitAtRect(media.crosshair, d, &m.crosshairRect);
    }
    if (m.outShown) blitAt(media.outText, d, kOutTextX, kOutTextY);
    if (m.pointLineShown) blitAt(media.pointLineText, d, kPointLineTextX, kPointLineTextY);
    if (m.showScores) {
        blitAt(media.cpuScoreText, d, kCpuScoreX, kCpuScoreY);
        blitAt(media.playerScoreText, d, kPlayerScoreX, kPlayerScoreY);
    }
    flipDisplay(d);
}

}  // namespace

// One match's state, media and platform: what runMatch keeps on its stack,
// also handed out one frame at a time (match.h).
struct MatchFrames {
    const GameIo& io;
    MatchState m;
    MatchMedia media;
    MatchIo mio;

    explicit MatchFrames(const GameIo& gameIo) : io(gameIo), mio{&gameIo, media.sounds} {}
    MatchFrames(const MatchFrames&) = delete;  // mio points into media
    MatchFrames& operator=(const MatchFrames&) = delete;
};

namespace {

void openMatch(MatchFrames& f, int fieldKind, int enemyLevel, int clubHeight, int clubSpeed,
               int clubPrecision) {
    setUpMatchState(f.m, f.mio, fieldKind, enemyLevel, clubHeight, clubSpeed, clubPrecision);
    loadMedia(f.media, fieldKind);
    f.media.hiddenCursor = hideSystemCursor();
    padsInMatch(true);
}

// One pass of the frame loop: stages 1 (after the matchOver test) to 21.
void matchFrame(MatchFrames& f) {
    MatchState& m = f.m;
    const GameIo& io = f.io;
    m.frameStart = io.clock(io.ctx);
    pollMatchEvents(m, io);
    const int winners = runFrameStages(m, f.mio);
    announceWinners(f.media, io, winners);
    drawFrame(m, f.media);
    paceFrame(io, m.frameStart);
    m.frameStep = static_cast<int>((io.clock(io.ctx) - m.frameStart) / 2);
    io.frameDone(io.ctx, m);
}

}  // namespace

int runMatch(int, char**, int fieldKind, int enemyLevel, int clubHeight, int clubSpeed,
             int clubPrecision, const GameIo& io) {
    MatchFrames f(io);
    openMatch(f, fieldKind, enemyLevel, clubHeight, clubSpeed, clubPrecision);
    while (!f.m.matchOver) matchFrame(f);
    freeMedia(f.media, f.io);
    padsInMatch(false);
    return 0;
}

MatchFrames* openMatchFrames(int fieldKind, int enemyLevel, int clubHeight, int clubSpeed,
                             int clubPrecision, const GameIo& io) {
    MatchFrames* f = new MatchFrames(io);
    openMatch(*f, fieldKind, enemyLevel, clubHeight, clubSpeed, clubPrecision);
    return f;
}

MatchState& matchFramesState(MatchFrames* frames) { return frames->m; }

void runMatchFrame(MatchFrames* frames) { matchFrame(*frames); }

void closeMatchFrames(MatchFrames* frames) {
    freeMedia(frames->media, frames->io);
    padsInMatch(false);
    delete frames;
}
