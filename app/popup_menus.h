// The fixed popup menus, the tray and bookmark menus, and the commands they return.
#pragma once
#include <windows.h>

extern HMENU trayMenu;          // popup of menu 4000
extern HMENU itemContextMenu;   // popup of menu 114
extern HMENU shortContextMenu;  // menu 114 less Refresh, About and the separator before them

void LoadPopupMenus();
void DestroyPopupMenus();
int PopupTrayMenu();
void PopupBookmarkMenu();
void HandleCommand(int commandId);
// Every browser launch: the application-starting cursor, ShellExecute "open" with the URL as stored and
// the "Startup Style" show command, the cursor restored.
void LaunchURL(const char *url);
// The bookmark menu's items carry the entry's table position + 1 as command id, so that the first entry
// stays reachable (a menu result of 0 means nothing was chosen). Returns the position of the bookmark
// a menu result names, or -1 when it names none.
int BookmarkPositionFromCommand(int commandId);
