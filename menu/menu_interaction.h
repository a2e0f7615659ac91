// What happens inside the open bookmark menu: hooks for the context menu, first-letter jumps, submenu placement.
#pragma once
#include <windows.h>

extern int targetX, targetY;  // where the bookmark context menu opens; targetX also where a submenu moves
extern bool contextKeyToggle;     // flips at every context-key release seen in menu mode; never reset
extern bool contextFromKeyboard;  // the pending context-menu request came from the keyboard

void InstallKeyboardHook();
void RemoveKeyboardHook();
void InstallMouseHook();
void RemoveMouseHook();
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM virtualKey, LPARAM keyData);
LRESULT CALLBACK MouseHookProc(int code, WPARAM mouseMessage, LPARAM hookRecord);
int FindHighlightedEntry();
// MSG_ITEM_CONTEXT, once contextEntry is known: where the context menu opens (the item's corner for a
// keyboard request, the cursor position in lParam for a mouse request).
void SetContextMenuTarget(LPARAM lParam);
LRESULT OnBookmarkMenuChar(WPARAM wParam, LPARAM lParam);
LRESULT OnCommandMenuChar(WPARAM wParam, LPARAM lParam);
// Works out where a submenu that is opening should go (WM_INITMENUPOPUP; itemPosition is the low word of
// its lParam, or -1 for the folder's recorded position); the caller then starts TIMER_SUBMENU_POSITION,
// whose PlaceSubmenu moves it.
void PrepareSubmenuPosition(HMENU popup, int itemPosition = -1);
void PlaceSubmenu();
