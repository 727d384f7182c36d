#include "engine/streams/DeadlineTimer.h"

#include <gtest/gtest.h>

TEST(DeadlineTimer, NeverAndZeroAndLater) {
    EXPECT_FALSE(DeadlineTimer().Expired());
    EXPECT_FALSE(DeadlineTimer(DeadlineTimer::kNever).Expired());
    EXPECT_TRUE(DeadlineTimer(0).Expired());
    DeadlineTimer hour(3600 * 1000);
    EXPECT_FALSE(hour.Expired());
    EXPECT_GE(hour.ElapsedMs(), 0);
    EXPECT_EQ(hour.TimeoutMs(), 3600 * 1000);
}
