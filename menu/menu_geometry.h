// Where the bookmark context menu and a repositioned submenu go: the arithmetic, apart from the windows.
#pragma once
#include <cstdint>

struct ItemRect {
    int left, top, right, bottom;
};

// Left edge of the context menu asked for from the keyboard: the item's left edge, past the side bar when
// the item stands in the root menu's first column of a side-bar style.
int ContextMenuTargetX(int itemLeft, uintptr_t itemData, int menuStyle);

// Where an opening submenu should start: just right of its folder's name. `item` is the folder item's
// screen rectangle, `clientLeft` the screen x of its menu window's client area, `nameWidth` the folder
// name's width in the menu font.
int SubmenuTargetX(const ItemRect &item, int clientLeft, bool inRootMenu, int menuStyle, int nameWidth);

// The submenu's final left edge: `targetX`, pushed left to fit the work area, but never left of it.
int ClampSubmenuX(int targetX, int width, int workLeft, int workRight);
