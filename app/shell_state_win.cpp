// The process-wide state of the application shell.
#include "app/shell.h"

HINSTANCE appInstance;
HWND mainWindow;
HANDLE instanceMutex;
bool nestedMenusSupported;
LONG modalOpen;
HWND modalWindow;
bool bookmarkMenuOpen;
bool contextMenuOpen;
bool doubleClickPending;
HMENU currentOtherPopup;
COLORREF highlightColorCache;
COLORREF menuColorCache;
int contextEntry;

HWND menuWindow;
int danceOffset = 0;
int danceStep = 2;
UINT_PTR danceTimer;
