// Placement arithmetic of the context menu and of repositioned submenus.
#include "menu/menu_geometry.h"

static const int SIDE_BAR_WIDTH = 24;
static const int ICON_SIZE = 16;
static const uintptr_t SIDE_BAR_COLUMN_FLAG = 0x10000;

int ContextMenuTargetX(int itemLeft, uintptr_t itemData, int menuStyle)
{
    if ((itemData & SIDE_BAR_COLUMN_FLAG) && menuStyle >= 2)
        return itemLeft + SIDE_BAR_WIDTH;
    return itemLeft;
}

int SubmenuTargetX(const ItemRect &item, int clientLeft, bool inRootMenu, int menuStyle, int nameWidth)
{
    int offset = item.bottom - item.top + 5;  // the icon cell is as wide as the item is high
    // An item at the very left of the root menu's client area stands in the side-bar column.
    if (menuStyle >= 2 && inRootMenu && item.left == clientLeft)
        offset += SIDE_BAR_WIDTH;
    int x = item.left + offset + nameWidth;
    if (menuStyle >= 1)
        x += ICON_SIZE;
    return x;
}

int ClampSubmenuX(int targetX, int width, int workLeft, int workRight)
{
    int x = targetX;
    if (x + width > workRight)
        x = workRight - width;
    if (x < workLeft)
        x = workLeft;
    return x;
}
