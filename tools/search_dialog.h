// The Search Bookmarks dialog (resource 118): finds bookmarks by a piece of their name or address.
#pragma once
#include <windows.h>

// Runs the dialog modally, owned by the main window; the shell's command asks the busy guard first.
void OpenSearchDialog();
INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Timer 1 of the dialog: runs a search for the text in the box unless it is the one last searched.
void CALLBACK SearchTimerProc(HWND dialog, UINT message, UINT_PTR timer, DWORD time);
// Fills the result list with the bookmarks whose name or address contains text.
void RunSearch(HWND dialog, const char *text);
