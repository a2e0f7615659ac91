// The Windows fatal error report: a message box owned by the main window, the tray icon removed, and the
// process ended with the code.
#include "app/fatal_error.h"

#include "app/shell.h"
#include "app/tray_icon.h"
#include "settings/settings.h"

#include <cstdlib>

void ShowFatalError(int code)
{
    DWORD lastError = GetLastError();
    char message[512];
    FormatFatalError(code, lastError, settings.bookmarkFile, message, sizeof message);
    MessageBoxA(mainWindow, message, "Tresk Fatal Error", MB_ICONHAND);
    DeleteTrayIcon();
    std::exit(code);
}
