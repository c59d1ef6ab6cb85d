// Scale rounding of dials and axes (portable, runs natively).
#include <gtest/gtest.h>

#include "RoundScale.h"

TEST(RoundScale, ChoosesTheFirstStepThatFitsTheWantedIntervals) {
    struct Case {
        int32_t minimum, maximum, intervals;
        int direction;
        int32_t roundedMinimum, roundedMaximum, step;
    };
    const Case cases[] = {
        {0, 250, 10, kScaleOutward, 0, 250, 50},       // speed gauge
        {0, 8000, 10, kScaleOutward, 0, 8000, 1000},   // engine-speed gauge
        {100, 180, 10, kScaleOutward, 100, 180, 10},   // A/F bar
        {400, 1200, 5, kScaleOutward, 400, 1200, 200}, // gas bar
        {1, 1, 10, kScaleOutward, 1, 1, 1},
        {1, 1, 10, kScaleInward, 1, 1, 1},
        {3, 247, 10, kScaleOutward, 0, 250, 50},
        {3, 247, 10, kScaleInward, 50, 200, 50},
        {-35, 35, 10, kScaleOutward, -40, 40, 10},     // floor and ceiling below zero
        {-35, 35, 10, kScaleInward, -30, 30, 10},
        {-7, -3, 10, kScaleOutward, -7, -3, 1},
        {10, 5, 10, kScaleOutward, 10, 5, 1},          // reversed range: the smallest step
        {0, 2000000000, 10, kScaleOutward, 0, 2000000000, 20000},  // none fits: the last step
        {1, 999999, 10, kScaleInward, 20000, 980000, 20000},
        {0, 250, 0, kScaleOutward, 0, 500, 500},       // no intervals count as one
        {0, 250, -3, kScaleOutward, 0, 500, 500},
    };
    for (const Case& c : cases) {
        int32_t minimum = c.minimum, maximum = c.maximum, step = c.intervals;
        RoundScale(minimum, maximum, step, c.direction);
        EXPECT_EQ(minimum, c.roundedMinimum) << c.minimum << ".." << c.maximum << " / " << c.intervals << " dir " << c.direction;
        EXPECT_EQ(maximum, c.roundedMaximum) << c.minimum << ".." << c.maximum << " / " << c.intervals << " dir " << c.direction;
        EXPECT_EQ(step, c.step) << c.minimum << ".." << c.maximum << " / " << c.intervals << " dir " << c.direction;
    }
}

TEST(RoundScale, RoundedEndsStayWithinThirtyTwoBits) {
    int32_t minimum = -2147483647 - 1, maximum = 2147483647, step = 10;
    RoundScale(minimum, maximum, step, kScaleOutward);
    EXPECT_EQ(step, 20000);
    EXPECT_EQ(minimum, -2147483647 - 1);
    EXPECT_EQ(maximum, 2147483647);
}
