// Where the keyboard context menu and repositioned submenus go.
#include <gtest/gtest.h>

#include "menu/menu_geometry.h"

TEST(ContextMenuTargetX, PastTheSideBarOnlyInItsColumnOfASideBarStyle)
{
    const struct { const char *label; uintptr_t itemData; int style, expected; } rows[] = {
        {"side-bar column, Very Fancy", 0x10000 | 0x1234, 2, 124}, {"side-bar column, Dancy", 0x10000, 3, 124},
        {"Fancy has no side bar", 0x10000, 1, 100}, {"second column, Very Fancy", 0x1234, 2, 100},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ContextMenuTargetX(100, row.itemData, row.style), row.expected) << row.label;
}

TEST(SubmenuTargetX, JustRightOfTheFolderName)
{
    // Items 19 pixels high: icon cell and gap 24; folder name 40 pixels wide; the client area's left at 100.
    const struct { const char *label; ItemRect item; bool inRoot; int style, expected; } rows[] = {
        {"Plain: no icon", {100, 50, 300, 69}, true, 0, 100 + 24 + 40},
        {"Fancy: the icon's width added", {100, 50, 300, 69}, true, 1, 100 + 24 + 40 + 16},
        {"Very Fancy, root's first column: the side bar added", {100, 50, 300, 69}, true, 2, 100 + 24 + 24 + 40 + 16},
        {"Dancy, root's first column", {100, 50, 300, 69}, true, 3, 100 + 24 + 24 + 40 + 16},
        {"Very Fancy, second root column", {303, 50, 500, 69}, true, 2, 303 + 24 + 40 + 16},
        {"Very Fancy, a submenu has no side bar", {100, 50, 300, 69}, false, 2, 100 + 24 + 40 + 16},
        {"taller items take a wider icon cell", {100, 0, 300, 31}, true, 1, 100 + 36 + 40 + 16},
    };
    for (const auto &row : rows)
        EXPECT_EQ(SubmenuTargetX(row.item, 100, row.inRoot, row.style, 40), row.expected) << row.label;
}

TEST(ClampSubmenuX, InsideTheWorkArea)
{
    const struct { const char *label; int target, width, workLeft, workRight, expected; } rows[] = {
        {"fits", 500, 200, 0, 1024, 500}, {"exactly fits at the right edge", 824, 200, 0, 1024, 824},
        {"one pixel too far: pushed left", 825, 200, 0, 1024, 824},
        {"wider than the work area: held at its left edge", 900, 1200, 0, 1024, 0},
        {"taskbar on the left: never left of the work area", 50, 200, 100, 1024, 100},
        {"monitor left of the primary one, right edge", -100, 200, -1280, 0, -200},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ClampSubmenuX(row.target, row.width, row.workLeft, row.workRight), row.expected) << row.label;
}

