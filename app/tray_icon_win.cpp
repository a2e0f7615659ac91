// The notification-area icon and what its mouse notifications do.
#include "app/tray_icon.h"

#include "app/main_window.h"
#include "app/popup_menus.h"
#include "app/shell.h"
#include "res/resource.h"
#include "base/settings.h"

#include <shellapi.h>

#include <cstring>

// The first version of the record (88 bytes in 32-bit Windows) is what every shell understands.
static NOTIFYICONDATAA trayIconData;

static HICON LoadSmallIcon(int resource)
{
    return static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(resource), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

static void SetTip(const char *text)
{
    std::strncpy(trayIconData.szTip, text, 63);
    trayIconData.szTip[63] = '\0';
}

bool AddTrayIcon()
{
    if (!settings.trayIcon)
        return false;
    std::memset(&trayIconData, 0, sizeof trayIconData);
    trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    trayIconData.hWnd = mainWindow;
    trayIconData.uID = TRAY_ICON_ID;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = MSG_TRAY_NOTIFY;
    trayIconData.hIcon = LoadSmallIcon(IDI_TRAY);
    SetTip("Tresk");
    return Shell_NotifyIconA(NIM_ADD, &trayIconData) != FALSE;
}

bool UpdateTrayIcon(int iconResource, const char *tipText)
{
    if (!settings.trayIcon)
        return false;
    trayIconData.hIcon = LoadSmallIcon(iconResource);
    SetTip(tipText);
    return Shell_NotifyIconA(NIM_MODIFY, &trayIconData) != FALSE;
}

bool DeleteTrayIcon()
{
    return Shell_NotifyIconA(NIM_DELETE, &trayIconData) != FALSE;
}

// A double click arrives as button-up, double-click, button-up: the second release must not open the
// bookmark menu again, and the action runs from a timer, outside the shell's notification.
LRESULT OnTrayNotify(LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        if (IsModalBusy() || doubleClickPending) {
            doubleClickPending = false;
            return 1;
        }
        // A menu that is tracked already cannot be tracked again; asking would only install second hooks.
        if (bookmarkMenuOpen)
            return 1;
        bookmarkMenuOpen = true;
        PopupBookmarkMenu();
        // The end of the menu loop has cleared it, unless the menu could not open (no menu yet, or another
        // menu of this thread tracked without nesting): then no loop ended, and the flag would stay set.
        bookmarkMenuOpen = false;
        return 1;
    case WM_LBUTTONDBLCLK:
        doubleClickPending = true;
        SetTimer(mainWindow, TIMER_DOUBLE_CLICK, 0, MenuTimerProc);
        return 0;
    case WM_RBUTTONUP:
        PopupTrayMenu();
        return 1;
    }
    return 1;
}
