// The match one frame at a time (match.h, used by the benchmark) is the same
// match as runMatch, and the match's texts, blitted in the display's format,
// draw exactly the pixels of the renderer's own 8-bit images.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <cstdint>
#include <vector>

#include "platform/i_video.h"
#include "match/match.h"
#include "scripted_io.h"
#include "sdl_video_env.h"

namespace {

struct FrameRecord {
    int frameStep, pointerX, pointerY, ballX, ballY, shadowY, cpuX, barCoverX;
    bool aiming, playerBallInFlight;
    uint32_t randomDraws;
    bool operator==(const FrameRecord& o) const {
        return frameStep == o.frameStep && pointerX == o.pointerX && pointerY == o.pointerY &&
               ballX == o.ballX && ballY == o.ballY && shadowY == o.shadowY && cpuX == o.cpuX &&
               barCoverX == o.barCoverX && aiming == o.aiming &&
               playerBallInFlight == o.playerBallInFlight && randomDraws == o.randomDraws;
    }
};

// Aim, charge for a while, let go, watch the ball fly, then Escape.
void rallyScript(ScriptedIo& io, int pass) {
    io.now += 7;
    io.buttons = 0;
    if (pass == 2) io.buttons = SDL_BUTTON(3);
    if (pass == 3) io.pushMotion(460, 430);
    if (pass >= 4 && pass < 90) io.buttons = SDL_BUTTON(1);
    if (pass == 200) io.keys = {SDLK_ESCAPE};
}

uint64_t displayChecksum() {
    SDL_Surface* display = SDL_GetVideoSurface();
    SDL_LockSurface(display);
    uint64_t sum = 1469598103934665603ull;
    const auto* bytes = static_cast<const uint8_t*>(display->pixels);
    for (int y = 0; y < display->h; ++y)
        for (int x = 0; x < display->w * 4; ++x)
            sum = (sum ^ bytes[y * display->pitch + x]) * 1099511628211ull;
    SDL_UnlockSurface(display);
    return sum;
}

struct Recorder {
    ScriptedIo s;
    std::vector<FrameRecord> frames;
    Recorder() {
        s.now = 3000;
        s.beforePass = rallyScript;
        s.afterFrame = [this](ScriptedIo& io, const MatchState& m) {
            frames.push_back({m.frameStep, m.pointerX, m.pointerY, m.ballX, m.ballY, m.shadowY,
                              m.cpuX, m.barCoverX, m.aiming, m.playerBallInFlight,
                              static_cast<uint32_t>(io.randomDraws)});
        };
    }
};

using MatchFramesTest = SdlVideoTest;

}  // namespace

TEST_F(MatchFramesTest, FrameByFrameIsTheSameMatchAsRunMatch) {
    Recorder whole;
    EXPECT_EQ(0, runMatch(0, nullptr, 2, 1, 6, 6, 6, whole.s.io_));
    const uint64_t wholePicture = displayChecksum();

    Recorder stepped;
    MatchFrames* frames = openMatchFrames(2, 1, 6, 6, 6, stepped.s.io_);
    while (!matchFramesState(frames).matchOver) runMatchFrame(frames);
    // Closed first, as runMatch is: the match gives the system cursor back
    // as it ends, and the dummy driver draws that one into the display.
    closeMatchFrames(frames);
    const uint64_t steppedPicture = displayChecksum();

    ASSERT_EQ(201u, whole.frames.size());
    ASSERT_EQ(whole.frames.size(), stepped.frames.size());
    bool flew = false;
    for (size_t i = 0; i < whole.frames.size(); ++i) {
        EXPECT_TRUE(whole.frames[i] == stepped.frames[i]) << "frame " << i;
        flew = flew || whole.frames[i].playerBallInFlight;
    }
    EXPECT_TRUE(flew) << "the script shoots";
    EXPECT_EQ(wholePicture, steppedPicture);
    EXPECT_EQ(whole.s.played, stepped.s.played);
}

TEST_F(MatchFramesTest, TextsDrawTheRenderersPixels) {
    ScriptedIo s;
    s.now = 5000;
    MatchFrames* frames = openMatchFrames(1, 1, 6, 6, 6, s.io_);
    MatchState& m = matchFramesState(frames);
    m.pointLineShown = true;
    m.messageArmed = false;
    m.messageStart = m.lastMessageTime = s.now;
    m.cpuScore = 3.5f;
    m.playerScore = 6.0f;
    runMatchFrame(frames);
    ASSERT_TRUE(m.showScores);

    // What the renderer's own images give over the field, where nothing
    // else of this frame is drawn.
    SDL_Surface* display = SDL_GetVideoSurface();
    SDL_Surface* expected = loadImage("data/VMFeld.bmp");
    TTF_Font* small = openFont("data/Font.ttf", 50);
    TTF_Font* large = openFont("data/Font.ttf", 100);
    const SDL_Color colour = {50, 100, 0, 0};
    struct Text {
        TTF_Font* font;
        const char* text;
        int x, y;
    } texts[] = {{small, "POINT LINE", 400, 350}, {large, "3.5", 800, 100}, {large, "6", 800, 550}};
    for (const Text& t : texts) {
        SDL_Surface* image = TTF_RenderText_Solid(t.font, t.text, colour);
        ASSERT_NE(nullptr, image);
        ASSERT_EQ(8, image->format->BitsPerPixel);
        blitAt(image, expected, t.x, t.y);
        SDL_LockSurface(display);
        int differing = 0, inked = 0;
        for (int y = t.y; y < t.y + image->h; ++y)
            for (int x = t.x; x < t.x + image->w && x < 1024; ++x) {
                if (pixelAt(display, x, y) != pixelAt(expected, x, y)) ++differing;
                if (pixelAt(display, x, y) == SDL_MapRGB(display->format, 50, 100, 0)) ++inked;
            }
        SDL_UnlockSurface(display);
        EXPECT_EQ(0, differing) << t.text;
        EXPECT_GT(inked, 100) << t.text << " is drawn";
        SDL_FreeSurface(image);
    }
    TTF_CloseFont(small);
    TTF_CloseFont(large);
    SDL_FreeSurface(expected);
    closeMatchFrames(frames);
}
