// The fixed popup menus, the tray and bookmark menus, and the commands they return.
#include "app/popup_menus.h"

#include "app/refresh.h"
#include "app/shell.h"
#include "base/launch_url.h"
#include "base/settings.h"
#include "base/trace.h"
#include "bookmarks/bookmark_table.h"
#include "menu/menu_builder.h"
#include "menu/menu_interaction.h"
#include "menu/owner_draw.h"
#include "res/resource.h"
#include "tools/about_dialog.h"
#include "tools/context_menu.h"
#include "tools/prompt_dialog.h"
#include "tools/search_dialog.h"
#include "verify/verify_dialog.h"

HMENU trayMenu;

// The loaded menu resource, kept to destroy it; trayMenu is its first submenu.
static HMENU trayMenuResource;

void LoadPopupMenus()
{
    trayMenu = LoadOwnerDrawnPopup(IDM_TRAY_MENU, &trayMenuResource);
    LoadContextMenus();
}

void DestroyPopupMenus()
{
    DestroyLoadedPopup(&trayMenuResource, &trayMenu);
    DestroyContextMenus();
}

int PopupTrayMenu()
{
    TraceEnter("PopupTrayMenu");
    // A popup menu of a background window closes on an outside click only when that window is in front.
    SetForegroundWindow(mainWindow);
    if (IsModalBusy()) {
        TraceExit("PopupTrayMenu");
        return 0;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    // The item that a double click would run is shown in bold.
    SetMenuDefaultItem(trayMenu, settings.doubleClickAction, FALSE);
    int result = TrackPopupMenu(trayMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, mainWindow, nullptr);
    HandleCommand(result);
    // Without a message after the menu, the next click on the tray icon may be lost.
    PostMessageA(mainWindow, WM_NULL, 0, 0);
    modalOpen = FALSE;
    TraceExit("PopupTrayMenu");
    return 1;
}

int BookmarkPositionFromCommand(int commandId)
{
    int position = EntryForCommandId(commandId);
    if (position < 0 || position >= bookmarkTable.entryCount || !IsBookmark(bookmarkTable.entries[position]))
        return -1;
    return position;
}

void PopupBookmarkMenu()
{
    TraceEnter("PopupBookmarkMenu");
    POINT cursor;
    GetCursorPos(&cursor);
    if (settings.snapMenuLeft) {
        SetCursorPos(10, cursor.y + 10);
        cursor.x = 0;
    }
    Trace("PopupBookmarkMenu - cursor_pos  x:%d  y:%d", static_cast<int>(cursor.x), static_cast<int>(cursor.y));
    Trace("PopupBookmarkMenu - check_state: %d", GetKeyState(VK_RBUTTON));
    SetForegroundWindow(mainWindow);
    Trace("PopupBookmarkMenu - after SetForegroundWindow(%d)", static_cast<int>(reinterpret_cast<INT_PTR>(mainWindow)));
    Trace("PopupBookmarkMenu - before TrackPopupMenuEx");
    InstallKeyboardHook();
    InstallMouseHook();
    int result = TrackPopupMenuEx(static_cast<HMENU>(bookmarkTable.rootMenu), TPM_RETURNCMD, cursor.x, cursor.y,
                                  mainWindow, nullptr);
    RemoveKeyboardHook();
    RemoveMouseHook();
    Trace("PopupBookmarkMenu - after TrackPopupMenuEx - res=%d", result);
    if (result == 0)
        Trace("PopupBookmarkMenu - Error from TrackPopupMenuEx: %d", static_cast<int>(GetLastError()));
    PostMessageA(mainWindow, WM_NULL, 0, 0);
    Trace("PopupBookmarkMenu - after PostMessage(WM_NULL)");
    int position = BookmarkPositionFromCommand(result);
    if (position >= 0)
        LaunchURL(bookmarkTable.entries[position].url);
    TraceExit("PopupBookmarkMenu");
}

static void OnRefreshCommand()
{
    // On systems that nest menus an open menu of the main window would outlive the menus it shows.
    if (nestedMenusSupported)
        SendMessageA(mainWindow, WM_CANCELMODE, 0, 0);
    DestroyBookmarkMenus();
    RefreshBookmarks();
}

static void OnVerifyCommand()
{
    if (HWND verify = g_verifyDialog) {
        SetForegroundWindow(verify);
        if (IsIconic(verify))
            ShowWindow(verify, SW_RESTORE);
        return;
    }
    SetForegroundWindow(mainWindow);
    if (IsModalBusy())
        return;
    OpenVerifyDialog();
}

void HandleCommand(int commandId)
{
    switch (commandId) {
    case IDC_CMD_OPTIONS:
        OpenOptionsDialog();
        break;
    case IDC_CMD_REFRESH:
        OnRefreshCommand();
        break;
    case IDC_CMD_ABOUT:
        OpenAboutDialog();
        break;
    case IDC_CMD_EXIT:
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        break;
    case IDC_CMD_SEARCH:
        SetForegroundWindow(mainWindow);
        if (!IsModalBusy())
            OpenSearchDialog();
        break;
    case IDC_CMD_VERIFY:
        OnVerifyCommand();
        break;
    case IDC_CMD_QUICK_URL:
        QuickUrlEntry();
        break;
    default:
        break;  // the context menu's commands are carried out where that menu is tracked
    }
}
