#include <gtest/gtest.h>

#include "scripted_io.h"

TEST(AimDriftRate, PrecisionSixDriftsAtTwo) { EXPECT_EQ(2, aimDriftRateFor(6)); }
