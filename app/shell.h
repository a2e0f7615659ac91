// State and calls of the application shell itself: the one-copy mutex, the pending tray double click,
// the context-menu target, the side-bar animation, the busy guard and the Options dialog.
#pragma once
#include "base/app_state.h"

extern HANDLE instanceMutex;
extern bool doubleClickPending;
extern int contextEntry;          // the bookmark whose context menu is wanted

// Side-bar animation of the "Dancy" style.
extern int danceOffset;
extern int danceStep;
extern UINT_PTR danceTimer;

// While a modal dialog is open, brings it forward with an exclamation beep and answers true: the caller
// then opens no menu or further dialog.
bool IsModalBusy();
// Runs the Options dialog (unless busy) and applies what it changed: tray icon, tray menu, menus, watch.
int OpenOptionsDialog();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
