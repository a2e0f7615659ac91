// The bookmark context menu, the list context menu and the clipboard copies.
#pragma once
#include <windows.h>

#include <vector>

#include "tools/bookmark_copy.h"

extern HMENU itemContextMenu;   // popup of menu 114
extern HMENU shortContextMenu;  // menu 114 less Refresh, About and the separator before them

void LoadContextMenus();
void DestroyContextMenus();
// Opens itemContextMenu at (targetX, targetY) over the bookmark menu and runs the chosen bookmark command
// on the record at position. Refresh and About are the shell's: they come back as the result, which is
// 0 for everything else.
int BookmarkContextMenu(int position);
// Opens shortContextMenu at the cursor and runs the chosen command on the selected row of a result list,
// whose item data index rows; beeps when no row is selected.
void ListContextMenu(HWND dialog, HWND list, const std::vector<BookmarkCopy> &rows);
bool CopyTextToClipboard(const char *text);
