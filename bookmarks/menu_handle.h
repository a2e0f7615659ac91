// Popup menus as the portable bookmark code sees them: an HMENU in the Windows build, a counted token on the host.
#pragma once

using MenuHandle = void *;

MenuHandle NewPopupMenu();
bool IsLiveMenu(MenuHandle menu);
void DestroyPopupMenu(MenuHandle menu);
// How many menus made by NewPopupMenu are still alive (the host build counts; Windows answers -1).
int LiveMenuCount();
