// Test-only definitions of the shell state and calls that the builder, refresh and watch use.
#include "app/shell.h"
#include "app/tray_icon.h"
#include "tests/menu/standins.h"

HWND mainWindow = nullptr;
LONG modalOpen = 0;
bool bookmarkMenuOpen = false;
bool contextMenuOpen = false;

std::vector<std::pair<int, std::string>> trayUpdates;
std::function<void()> optionsDialogHook;
int optionsDialogCalls = 0;

void ResetShellStandins()
{
    trayUpdates.clear();
    optionsDialogHook = nullptr;
    optionsDialogCalls = 0;
    modalOpen = 0;
    bookmarkMenuOpen = false;
    contextMenuOpen = false;
}

bool UpdateTrayIcon(int iconResource, const char *tipText)
{
    trayUpdates.emplace_back(iconResource, tipText);
    return true;
}

int OpenOptionsDialog()
{
    optionsDialogCalls++;
    if (optionsDialogHook)
        optionsDialogHook();
    return 1;
}
