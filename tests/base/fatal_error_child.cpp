// A child program for the fatal error tests: makes the main window and reports the fatal code it is given.
#include "base/fatal_error.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "app/tray_icon.h"
#include "base/settings.h"

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 100;
    appInstance = GetModuleHandleA(nullptr);
    CreateMainWindow(appInstance);
    settings.trayIcon = 1;
    AddTrayIcon();
    std::strcpy(settings.bookmarkFile, "C:\\data\\bookmark.htm");
    SetLastError(4321);
    ShowFatalError(std::atoi(argv[1]));
}
