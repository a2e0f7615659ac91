// The Verify Bookmarks window, opened by the tray command "&Verify Bookmarks...".
#pragma once
#include <windows.h>

// Runs dialog 133 modally, owned by the main window, and returns 1 when it has closed. The shell has
// already brought an open Verify window forward or refused while another dialog is busy. The window does
// not set the busy flag: the tray menu and its other commands stay usable while it is open.
int OpenVerifyDialog();
INT_PTR CALLBACK VerifyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
