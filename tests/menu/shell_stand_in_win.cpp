// The shell state the menu drawing reads, for the menu tests (the shell itself is not linked into them).
#include "app/shell.h"

HINSTANCE appInstance = GetModuleHandleA(nullptr);
HWND mainWindow = nullptr;
HWND menuWindow = nullptr;
HMENU currentOtherPopup = nullptr;
COLORREF highlightColorCache = 0;
COLORREF menuColorCache = 0;
bool bookmarkMenuOpen = false;
bool contextMenuOpen = false;
