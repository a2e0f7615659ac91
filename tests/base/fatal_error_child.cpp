// A child program for the fatal error test: the main window with its tray icon, then the fatal code it is
// given. The icon must be gone by the time the process ends: one still there makes the exit code 99.
#include "app/main_window.h"
#include "app/tray_icon.h"
#include "base/app_state.h"
#include "base/fatal_error.h"
#include "base/settings.h"

#include <cstdlib>
#include <cstring>

int main(int, char **argv)
{
    appInstance = GetModuleHandleA(nullptr);
    CreateMainWindow(appInstance);
    settings.trayIcon = 1;
    if (!AddTrayIcon())
        return 98;
    std::atexit([] {
        if (DeleteTrayIcon())
            std::_Exit(99);
    });
    std::strcpy(settings.bookmarkFile, "C:\\data\\bookmark.htm");
    SetLastError(4321);
    ShowFatalError(std::atoi(argv[1]));
}
