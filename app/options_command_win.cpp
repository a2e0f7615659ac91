// Opening the Options dialog and carrying out what its OK changed once it has closed.
#include "app/popup_menus.h"
#include "app/refresh.h"
#include "app/shell.h"
#include "app/tray_icon.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/change_watch.h"
#include "res/options_ids.h"
#include "settings/options_dialog.h"

static const char NO_BOOKMARK_FILE_TEXT[] =
    "Tresk cannot be run without knowing the location of a valid Netscape bookmarks file.";

static void ApplyOptionChanges(int changes)
{
    if (changes & OPTIONS_NO_BOOKMARK_FILE) {
        MessageBoxA(mainWindow, NO_BOOKMARK_FILE_TEXT, "Tresk", MB_ICONEXCLAMATION);
        DeleteTrayIcon();
        ExitProcess(0);
    }
    if (changes & OPTIONS_TRAY_ICON) {
        if (settings.trayIcon)
            AddTrayIcon();
        else
            DeleteTrayIcon();
    }
    // The tray menu shows the double-click action as its default item.
    if (changes & OPTIONS_TRAY_MENU) {
        DestroyPopupMenus();
        LoadPopupMenus();
    }
    if (changes & OPTIONS_MENUS) {
        DestroyBookmarkMenus();
        RefreshBookmarks();
    }
    if (changes & OPTIONS_WATCH_SWITCH) {
        if (settings.refreshMenu)
            StartChangeWatch();
        else
            RequestWatchStop();
    }
    if (changes & OPTIONS_WATCH_RESTART) {
        StopChangeWatch();
        StartChangeWatch();
    }
}

int OpenOptionsDialog()
{
    if (IsModalBusy())
        return 0;
    INT_PTR changes = DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_OPTIONS), mainWindow, OptionsDialogProc, 0);
    // The dialog's exit button has ended the program by then: nothing is left to apply the changes to.
    if (changes > 0 && IsWindow(mainWindow))
        ApplyOptionChanges(static_cast<int>(changes));
    return 1;
}
