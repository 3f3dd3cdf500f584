// SDL for the tests that draw (the dummy driver, set by headless_main.cpp):
// one video subsystem for a whole test program, or a fresh one for each
// test, and one way to read a pixel back.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

// For the whole test program: ::testing::AddGlobalTestEnvironment(new SdlVideo).
struct SdlVideo : ::testing::Environment {
    void SetUp() override { ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};

// For each test on its own, where a test must start from a library that
// has never set a mode or opened the mixer.
struct SdlVideoTest : ::testing::Test {
    void SetUp() override { ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};

// The raw pixel value at (x, y), in the surface's own format, at any depth.
inline Uint32 pixelAt(SDL_Surface* surface, int x, int y) {
    SDL_LockSurface(surface);
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    Uint32 value = 0;
    std::memcpy(&value, p, static_cast<size_t>(bytes));
    if (SDL_BYTEORDER == SDL_BIG_ENDIAN) value >>= 8 * (4 - bytes);
    SDL_UnlockSurface(surface);
    return value;
}
