// The side-bar picture's bounce: down by the step, turning at the menu's bottom and 55 pixels above its top.
#include "app/dance.h"

#include <gtest/gtest.h>

TEST(AdvanceDance, TurnsAtTheEdges)
{
    struct Row {
        const char *label;
        int offset, step, height;
        int wantOffset, wantStep;
    };
    const Row rows[] = {
        {"first tick from the start", 0, 2, 400, 2, 2},
        {"moving down inside", 100, 2, 400, 102, 2},
        {"reaches the bottom exactly", 198, 2, 400, 200, 2},
        {"passes the bottom: clamped and turned", 199, 2, 400, 200, -2},
        {"moving up inside", 50, -2, 400, 48, -2},
        {"55 pixels above the top: turns", -53, -2, 400, -55, 2},
        {"menu lower than the picture: pinned above the top and turned", 0, 2, 150, -50, -2},
        {"very low menu: clamped below -55, turned twice", 0, 2, 100, -100, 2},
    };
    for (const Row &row : rows) {
        int offset = row.offset, step = row.step;
        AdvanceDance(&offset, &step, row.height);
        EXPECT_EQ(offset, row.wantOffset) << row.label;
        EXPECT_EQ(step, row.wantStep) << row.label;
    }
}

TEST(AdvanceDance, BouncesForeverWithinItsRange)
{
    int offset = 0, step = DANCE_START_STEP;
    int lowest = 0, highest = 0;
    for (int tick = 0; tick < 2000; ++tick) {
        AdvanceDance(&offset, &step, 300);
        lowest = std::min(lowest, offset);
        highest = std::max(highest, offset);
    }
    EXPECT_EQ(highest, 100);
    EXPECT_LE(lowest, -55);
    EXPECT_GE(lowest, -57);
}
