// The Windows fatal error report: a message box owned by the main window, the tray icon removed, and the
// process ended with the code.
#include "base/fatal_error.h"

#include "base/app_state.h"
#include "base/settings.h"

#include <shellapi.h>

#include <cstdlib>

// The shell added the icon for mainWindow under TRAY_ICON_ID; that pair is all a removal needs.
static void RemoveTrayIcon()
{
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = mainWindow;
    icon.uID = TRAY_ICON_ID;
    Shell_NotifyIconA(NIM_DELETE, &icon);
}

void ShowFatalError(int code)
{
    DWORD lastError = GetLastError();
    char message[512];
    FormatFatalError(code, lastError, settings.bookmarkFile, message, sizeof message);
    MessageBoxA(mainWindow, message, "Tresk Fatal Error", MB_ICONHAND);
    RemoveTrayIcon();
    std::exit(code);
}
