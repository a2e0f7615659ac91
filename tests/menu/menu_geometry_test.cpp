// Where the keyboard context menu and repositioned submenus go.
#include <gtest/gtest.h>

#include "menu/menu_geometry.h"

namespace {

TEST(ContextMenuTargetX, PastTheSideBarOnlyInItsColumnOfASideBarStyle)
{
    struct Case {
        const char *label;
        uintptr_t itemData;
        int style;
        int expected;
    } cases[] = {
        {"side-bar column, Very Fancy", 0x10000 | 0x1234, 2, 124},
        {"side-bar column, Dancy", 0x10000, 3, 124},
        {"side-bar column flag but Fancy has no bar", 0x10000, 1, 100},
        {"Plain", 0x10000, 0, 100},
        {"second column, Very Fancy", 0x1234, 2, 100},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ContextMenuTargetX(100, c.itemData, c.style), c.expected) << c.label;
}

TEST(SubmenuTargetX, JustRightOfTheFolderName)
{
    // Item 19 px high: icon cell plus gap = 24; folder name 40 px wide.
    struct Case {
        const char *label;
        ItemRect item;
        int clientLeft;
        bool inRoot;
        int style;
        int expected;
    } cases[] = {
        {"Plain: no icon", {100, 50, 300, 69}, 100, true, 0, 100 + 24 + 40},
        {"Fancy: icon width added", {100, 50, 300, 69}, 100, true, 1, 100 + 24 + 40 + 16},
        {"Very Fancy, root first column: side bar added", {100, 50, 300, 69}, 100, true, 2, 100 + 24 + 24 + 40 + 16},
        {"Dancy, root first column", {100, 50, 300, 69}, 100, true, 3, 100 + 24 + 24 + 40 + 16},
        {"Very Fancy, second root column", {303, 50, 500, 69}, 100, true, 2, 303 + 24 + 40 + 16},
        {"Very Fancy, a submenu has no side bar", {100, 50, 300, 69}, 100, false, 2, 100 + 24 + 40 + 16},
        {"taller items take a wider icon cell", {0, 0, 200, 31}, 0, true, 1, 36 + 40 + 16},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SubmenuTargetX(c.item, c.clientLeft, c.inRoot, c.style, 40), c.expected) << c.label;
}

TEST(ClampSubmenuX, InsideTheWorkArea)
{
    struct Case {
        const char *label;
        int target, width, workLeft, workRight;
        int expected;
    } cases[] = {
        {"fits", 500, 200, 0, 1024, 500},
        {"exactly fits at the right edge", 824, 200, 0, 1024, 824},
        {"one pixel too far: pushed left", 825, 200, 0, 1024, 824},
        {"far right: pushed left to fit", 900, 200, 0, 1024, 824},
        {"wider than the work area: held at its left edge", 900, 1200, 0, 1024, 0},
        {"taskbar on the left: never left of the work area", 50, 200, 100, 1024, 100},
        {"monitor left of the primary one", -500, 200, -1280, 0, -500},
        {"monitor left of the primary one, right edge", -100, 200, -1280, 0, -200},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ClampSubmenuX(c.target, c.width, c.workLeft, c.workRight), c.expected) << c.label;
}

}  // namespace
