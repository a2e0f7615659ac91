// The fixed popup menus, the tray and bookmark menus, and the commands they return.
#pragma once
#include <windows.h>

extern HMENU trayMenu;  // popup of menu 4000

// The tray menu and the two bookmark context menus (tools/context_menu.h).
void LoadPopupMenus();
void DestroyPopupMenus();
int PopupTrayMenu();
void PopupBookmarkMenu();
void HandleCommand(int commandId);
// The position of the bookmark that a bookmark menu result names, or -1 when it names none.
int BookmarkPositionFromCommand(int commandId);
