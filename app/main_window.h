// Pieces of the application shell shared between its own files (entry, main window, tray, animation).
#pragma once
#include <windows.h>

// Registers the window class "Tresk" and creates the hidden main window; returns it (also in mainWindow).
HWND CreateMainWindow(HINSTANCE instance);
// Registers the common-control classes that the dialogs are made of (hot key, up-down, list view);
// a dialog whose template names an unregistered class does not open at all.
void RegisterDialogControls();
// A second copy asks the running one for its Options dialog.
void SignalRunningInstance();
// Reads the operating-system version into nestedMenusSupported.
void DetectNestedMenus();

// The bookmark menu is open and no context menu is tracked over it.
bool IsBookmarkMenuActive();

LRESULT OnTrayNotify(LPARAM mouseMessage);
void CALLBACK MenuTimerProc(HWND window, UINT message, UINT_PTR timer, DWORD time);
void CALLBACK DanceTimerProc(HWND window, UINT message, UINT_PTR timer, DWORD time);
// Stops the side-bar animation and frees its drawing resources; offset and step return to 0 and 2.
void StopDanceAnimation();
// Releases the device context of menuWindow if one is held.
void ReleaseMenuWindowDC();
