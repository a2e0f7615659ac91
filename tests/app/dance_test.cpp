// The side-bar picture's bounce: down by the step, turning at the menu's bottom and 55 pixels above its top.
#include "app/dance.h"

#include <gtest/gtest.h>

TEST(AdvanceDance, TurnsAtTheEdges)
{
    const struct {
        const char *label;
        int offset, step, height, wantOffset, wantStep;
    } rows[] = {
        {"first tick from the start", 0, DANCE_START_STEP, 400, 2, 2},
        {"reaches the bottom exactly", 198, 2, 400, 200, 2},
        {"passes the bottom: clamped and turned", 199, 2, 400, 200, -2},
        {"moving up inside", 50, -2, 400, 48, -2},
        {"54 pixels above the top: goes on", -52, -2, 400, -54, -2},
        {"55 pixels above the top: turns", -53, -2, 400, -55, 2},
        {"menu lower than the picture: pinned above the top and turned", 0, 2, 150, -50, -2},
        {"very low menu: clamped below -55, turned twice", 0, 2, 100, -100, 2},
    };
    for (const auto &row : rows) {
        int offset = row.offset, step = row.step;
        AdvanceDance(&offset, &step, row.height);
        EXPECT_EQ(offset, row.wantOffset) << row.label;
        EXPECT_EQ(step, row.wantStep) << row.label;
    }
}
