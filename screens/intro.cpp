#include "screens/intro.h"

#include "platform/data_files.h"
#include "platform/i_video.h"
#include "screens/screens.h"

bool advanceIntroSlide(IntroSlide& slide, Clock elapsed) {
    if (elapsed > kIntroStillMs) slide.started = true;
    if (slide.started) slide.y += slide.frameStep * 3 / 10;
    return slide.y >= kIntroSlideEndY;
}

int runIntroScreen(int, char**, const GameIo& io) {
    bool leaveScreen = false;

    SDL_Surface* display = setGameVideoMode();
    SDL_Surface* title = loadImage(dataFile(DATA_TITLE), &kWhiteKey);
    SDL_Surface* cover = loadImage(dataFile(DATA_INTRO_CURTAIN));
    SDL_Surface* laser = loadImage(dataFile(DATA_INTRO_LASERS), &kWhiteKey);
    IntroSlide slide;
    HiddenCursor hiddenCursor = hideSystemCursor();

    const Clock introStart = io.clock(io.ctx);
    while (!leaveScreen) {
        const Clock frameStart = io.clock(io.ctx);
        const Clock elapsed = io.clock(io.ctx) - introStart;

        SDL_Event event;
        while (io.pollEvent(io.ctx, &event))
            if (event.type == SDL_QUIT) leaveScreen = true;
        if (io.keyDown(io.ctx, SDLK_RETURN)) leaveScreen = true;
        if (io.mouseButtons(io.ctx) & SDL_BUTTON(1)) leaveScreen = true;

        if (advanceIntroSlide(slide, elapsed)) {
            leaveScreen = true;
            // The last slide picture stays up while we hold.
            io.delay(io.ctx, kIntroHoldMs);
        }

        fillDisplay(display, 0, 0, 0);
        blitAt(title, display, 300, 7);
        // Below the display they show nothing; skipping them also keeps a
        // long stalled pass from wrapping the 16-bit blit position.
        if (slide.y < 768) {
            blitAt(cover, display, 0, slide.y);
            blitAt(laser, display, 0, slide.y);
        }
        flipDisplay(display);
        io.delay(io.ctx, kIntroPassWaitMs);
        slide.frameStep = static_cast<int32_t>((io.clock(io.ctx) - frameStart) / 2);
    }

    freeImage(title);
    freeImage(cover);
    freeImage(laser);
    restoreSystemCursor(hiddenCursor);
    return 0;
}
