// What happens inside the open bookmark menu: hooks for the context menu, first-letter jumps, submenu placement.
#pragma once
#include <windows.h>

extern int targetX, targetY;  // where the bookmark context menu opens

void InstallKeyboardHook();
void RemoveKeyboardHook();
void InstallMouseHook();
void RemoveMouseHook();
int FindHighlightedEntry();
LRESULT OnBookmarkMenuChar(WPARAM wParam, LPARAM lParam);
LRESULT OnCommandMenuChar(WPARAM wParam, LPARAM lParam);
// Works out where a submenu that is opening should go (WM_INITMENUPOPUP) and moves it (timer 4).
void PrepareSubmenuPosition(HMENU popup);
void PlaceSubmenu();
