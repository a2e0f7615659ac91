// Popup menus of the Windows build.
#include "bookmarks/menu_handle.h"

#include <windows.h>

MenuHandle NewPopupMenu()
{
    return CreatePopupMenu();
}

bool IsLiveMenu(MenuHandle menu)
{
    return menu && IsMenu(static_cast<HMENU>(menu));
}

void DestroyPopupMenu(MenuHandle menu)
{
    DestroyMenu(static_cast<HMENU>(menu));
}

int LiveMenuCount()
{
    return -1;
}
