// Process-wide state of the application shell, shared with the subsystems that open dialogs and menus.
#pragma once
#include <windows.h>

// Private messages of the main window.
const UINT MSG_OPEN_OPTIONS = WM_USER + 1;  // a second instance asks for the Options dialog
const UINT MSG_TRAY_NOTIFY = WM_USER + 2;   // tray icon notification, mouse message in lParam
const UINT MSG_ITEM_CONTEXT = WM_USER + 3;  // the menu hooks ask for a bookmark item's context menu

// Timers of the main window.
const UINT_PTR TIMER_DANCE = 1;             // 10 ms: one frame of the side-bar animation
const UINT_PTR TIMER_DOUBLE_CLICK = 2;      // 0 ms: the tray double-click action
const UINT_PTR TIMER_CONTEXT_MENU = 3;      // 0 ms: the bookmark context menu
const UINT_PTR TIMER_SUBMENU_POSITION = 4;  // 0 ms: move an opened submenu

extern HINSTANCE appInstance;
extern HWND mainWindow;
extern HANDLE instanceMutex;
extern bool nestedMenusSupported;
extern LONG modalOpen;            // one of the program's modal dialogs is open
extern HWND modalWindow;
extern bool bookmarkMenuOpen;
extern bool contextMenuOpen;
extern bool doubleClickPending;
extern HMENU currentOtherPopup;   // the tray or a context menu most recently initialised
extern COLORREF highlightColorCache;
extern COLORREF menuColorCache;
extern int contextEntry;          // the bookmark whose context menu is wanted

// Side-bar animation of the "Dancy" style.
extern HWND menuWindow;
extern int danceOffset;
extern int danceStep;
extern UINT_PTR danceTimer;

bool IsModalBusy();
int OpenOptionsDialog();
bool PumpOneMessage();
void PumpMessages();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
