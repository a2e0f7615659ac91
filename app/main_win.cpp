// Process entry: the one-copy rule, the start-up order and the message loop.
#include "app/main_window.h"
#include "app/popup_menus.h"
#include "app/shell.h"
#include "app/tray_icon.h"
#include "app/refresh.h"
#include "menu/icon_sets.h"
#include "base/settings.h"
#include "settings/settings_store.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceMutex = CreateMutexA(nullptr, FALSE, "TreskUniqueMutex");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        SignalRunningInstance();
        return 0;
    }
    appInstance = instance;
    RegisterDialogControls();
    CreateMainWindow(instance);
    LoadIconSets();
    LoadPopupMenus();
    LoadSettings();
    LoadBrowserIcons();
    highlightColorCache = GetSysColor(COLOR_HIGHLIGHT);
    menuColorCache = GetSysColor(COLOR_MENU);
    DetectNestedMenus();
    if (settings.trayIcon && !AddTrayIcon()) {
        MessageBoxA(mainWindow, "Unable to create the Taskbar icon.  This is required for the application to run.",
                    "Tresk", MB_ICONHAND);
        return 0;
    }
    RefreshBookmarks();

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
