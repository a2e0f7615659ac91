// The Options dialog (resource 200).
#pragma once
#include <windows.h>

// What the dialog's OK changed outside the dialog, as its result; the caller applies it once the dialog
// has closed. Cancel gives 0, or OPTIONS_NO_BOOKMARK_FILE when there is still no bookmark file.
enum OptionsChange {
    OPTIONS_TRAY_ICON = 1,         // "Tray Icon" switched on or off
    OPTIONS_TRAY_MENU = 2,         // the double-click action, the tray menu's bold item
    OPTIONS_MENUS = 4,             // a setting the menus are built from, or the bookmark file
    OPTIONS_WATCH_SWITCH = 8,      // "Refresh Menu" switched on or off
    OPTIONS_WATCH_RESTART = 16,    // the watched sources changed
    OPTIONS_NO_BOOKMARK_FILE = 32  // cancelled without a bookmark file: the program cannot go on
};

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
