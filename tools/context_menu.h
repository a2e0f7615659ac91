// The bookmark context menu, the list context menu and the clipboard copies.
#pragma once
#include <windows.h>

void BookmarkContextMenu(int position);
void ListContextMenu(HWND dialog, HWND list);
bool CopyTextToClipboard(const char *text);
