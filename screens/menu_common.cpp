#include "screens/menu_common.h"

#include "platform/i_video.h"

bool pollMenuEvents(const GameIo& io, MenuCursor& cursor) {
    bool quit = false;
    SDL_Event event;
    while (io.pollEvent(io.ctx, &event)) {
        switch (event.type) {
            case SDL_QUIT:
                quit = true;
                break;
            case SDL_MOUSEMOTION:
                cursor.x = static_cast<Sint16>(event.motion.x);
                cursor.y = static_cast<Sint16>(event.motion.y);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                cursor.x = static_cast<Sint16>(event.button.x);
                cursor.y = static_cast<Sint16>(event.button.y);
                break;
            default:
                break;
        }
    }
    return quit;
}

void fillMenuBackground(SDL_Surface* display) {
    fillDisplay(display, 0, 50, 100);
}
