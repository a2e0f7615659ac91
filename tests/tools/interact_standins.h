// Test-only stand-ins for the shell, its popup menus and the owner drawing, with a main window that routes
// menu messages as the shell does and records what the code under test asked of it.
#pragma once
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

extern std::vector<int> handledCommands;     // HandleCommand calls
extern std::vector<std::string> launchedURLs;  // LaunchURL calls
extern std::vector<LRESULT> menuCharResults;   // every WM_MENUCHAR answer
extern int cancelModeCount;                    // WM_CANCELMODE sent to the main window
extern std::vector<LPARAM> itemContextRequests;  // lParam of every MSG_ITEM_CONTEXT
extern std::vector<int> itemContextEntries;      // contextEntry found for each of them

// Posted to the main window from a driving thread: runs testProbe(wParam) on the menu loop's thread.
const UINT MSG_TEST_PROBE = WM_APP + 5;
extern void (*testProbe)(WPARAM);

// appInstance, a hidden mainWindow, the tray and context menus from the test's string table (owner-drawn
// like the program's).
void CreateTestShell();
void DestroyTestShell();
// One menu item per shown record of bookmarkTable, owner-drawn, id = position + 1, folders as submenus.
void BuildTestMenus();
void FreeTestTable();

struct MenuKey {
    UINT message;   // WM_KEYDOWN or WM_CHAR to the menu, or MSG_TEST_PROBE to the main window
    WPARAM wParam;
};
// On another thread: waits until a popup menu is shown, then posts the keys to it one by one.
std::thread DriveMenu(std::vector<MenuKey> keys, int pauseMs = 150);
// Waits (up to `ms`) for a visible top-level window of the class and title (title may be null).
HWND WaitForWindow(const char *windowClass, const char *title, int ms = 3000);
// The visible menu windows, top first.
std::vector<HWND> VisibleMenuWindows();
std::string ReadClipboardText();
