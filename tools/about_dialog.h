// The About dialog (resource 100): name, version, build date, copyright and the home-page link.
#pragma once
#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Paints the link blue and underlined (hot) or in the dialog's own colours.
void DrawAboutLink(HWND dialog, bool hot);
// Runs the dialog modally, owned by the main window.
void OpenAboutDialog();
