// Screen tests share one video subsystem for the whole test program (the
// dummy driver, set by headless_main.cpp).
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

struct SdlVideo : ::testing::Environment {
    void SetUp() override { ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};
