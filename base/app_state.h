// Process-wide state that the shell and the subsystems share: the main window, the busy flag of the modal
// dialogs, which menu is open, and the private messages and timers of the main window.
#pragma once
#include <windows.h>

// Private messages of the main window.
const UINT MSG_OPEN_OPTIONS = WM_USER + 1;     // a second instance asks for the Options dialog
const UINT MSG_TRAY_NOTIFY = WM_USER + 2;      // tray icon notification, mouse message in lParam
const UINT MSG_ITEM_CONTEXT = WM_USER + 3;     // the menu hooks ask for a bookmark item's context menu
// The change watch never touches the table, which the user-interface thread may be using (an open menu, a
// dialog, a refresh of its own): it posts this and the main window refreshes when the table is free.
const UINT MSG_SOURCES_CHANGED = WM_USER + 4;

// Timers of the main window.
const UINT_PTR TIMER_DANCE = 1;             // 10 ms: one frame of the side-bar animation
const UINT_PTR TIMER_DOUBLE_CLICK = 2;      // 0 ms: the tray double-click action
const UINT_PTR TIMER_CONTEXT_MENU = 3;      // 0 ms: the bookmark context menu
const UINT_PTR TIMER_SUBMENU_POSITION = 4;  // 0 ms: move an opened submenu
const UINT_PTR TIMER_SOURCES_RETRY = 5;     // 250 ms: retry a refresh the watch asked for while the table was busy

// The main window's tray icon; removing it needs no more than the window and this id.
const UINT TRAY_ICON_ID = 1;

extern HINSTANCE appInstance;
extern HWND mainWindow;
extern bool nestedMenusSupported;  // a popup menu can be tracked while another is open
extern LONG modalOpen;             // one of the program's modal dialogs is open
extern HWND modalWindow;
extern bool bookmarkMenuOpen;
extern bool contextMenuOpen;
extern HMENU currentOtherPopup;    // the tray or a context menu most recently initialised
extern COLORREF highlightColorCache;
extern COLORREF menuColorCache;
extern HWND menuWindow;            // the bookmark menu's window while it is open
// The open Verify window, or null. It runs without the busy flag, so the tray command and the Properties
// dialog look it up here.
extern HWND g_verifyDialog;

// Dispatches one waiting message; false when the queue is empty. A WM_QUIT taken here is kept and posted
// again by PumpMessages once the queue is empty, so a quit asked for during a wait still ends the program.
bool PumpOneMessage();
void PumpMessages();
