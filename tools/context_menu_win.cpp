// The bookmark context menu of the open bookmark menu, the context menu of the result lists, and the
// clipboard copies they offer.
#include "tools/context_menu.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "base/app_state.h"
#include "base/launch_url.h"
#include "bookmarks/bookmark_table.h"
#include "menu/menu_interaction.h"
#include "menu/owner_draw.h"
#include "res/resource.h"
#include "tools/clipboard_text.h"
#include "tools/properties_dialog.h"
#include "tools/result_list.h"

HMENU itemContextMenu;
HMENU shortContextMenu;

// The loaded menu resources, kept to destroy them; the popups above are their first submenus.
static HMENU itemContextMenuResource;
static HMENU shortContextMenuResource;

void LoadContextMenus()
{
    itemContextMenu = LoadOwnerDrawnPopup(IDM_ITEM_CONTEXT_MENU, &itemContextMenuResource);
    if (itemContextMenu)
        SetMenuDefaultItem(itemContextMenu, IDC_CMD_BROWSE, FALSE);
    shortContextMenu = LoadOwnerDrawnPopup(IDM_ITEM_CONTEXT_MENU, &shortContextMenuResource);
    if (shortContextMenu) {
        DeleteMenu(shortContextMenu, IDC_CMD_ABOUT, MF_BYCOMMAND);
        DeleteMenu(shortContextMenu, IDC_CMD_REFRESH, MF_BYCOMMAND);
        DeleteMenu(shortContextMenu, GetMenuItemCount(shortContextMenu) - 1, MF_BYPOSITION);
        SetMenuDefaultItem(shortContextMenu, 0, TRUE);
    }
}

void DestroyContextMenus()
{
    DestroyLoadedPopup(&itemContextMenuResource, &itemContextMenu);
    DestroyLoadedPopup(&shortContextMenuResource, &shortContextMenu);
}

bool CopyTextToClipboard(const char *text)
{
    if (!OpenClipboard(mainWindow))
        return false;
    size_t size = std::strlen(text) + 1;
    // SetClipboardData wants a moveable block; it belongs to the clipboard once handed over.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size);
    char *copy = block ? static_cast<char *>(GlobalLock(block)) : nullptr;
    if (!copy) {
        if (block)
            GlobalFree(block);
        CloseClipboard();
        return false;
    }
    std::memcpy(copy, text, size);
    GlobalUnlock(block);
    EmptyClipboard();
    bool handedOver = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!handedOver)
        GlobalFree(block);
    CloseClipboard();
    return handedOver;
}

// The commands both context menus share; the bookmark menu's own ones are run by the caller.
static void RunBookmarkCommand(int command, const BookmarkCopy &entry, bool cancelBookmarkMenu)
{
    switch (command) {
    case IDC_CMD_BROWSE:
        if (cancelBookmarkMenu)
            SendMessageA(mainWindow, WM_CANCELMODE, 0, 0);  // the bookmark menu closes before the browser opens
        LaunchURL(entry.url.c_str());
        break;
    case IDC_CMD_PROPERTIES:
        OpenPropertiesDialog(entry);
        break;
    case IDC_CMD_COPY_NAME:
    case IDC_CMD_COPY_LOCATION:
    case IDC_CMD_COPY_HTML:
        CopyTextToClipboard(ClipboardTextFor(command, entry).c_str());
        break;
    }
}

int BookmarkContextMenu(int position)
{
    LockWindowUpdate(nullptr);
    SetForegroundWindow(mainWindow);
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    // Windows 98 and later can track this menu over the still open bookmark menu.
    if (nestedMenusSupported)
        flags |= TPM_RECURSE;
    contextMenuOpen = true;
    int command = TrackPopupMenu(itemContextMenu, flags, targetX, targetY, 0, mainWindow, nullptr);
    contextMenuOpen = false;
    PostMessageA(mainWindow, WM_NULL, 0, 0);
    bool shellCommand = command == IDC_CMD_REFRESH || command == IDC_CMD_ABOUT;
    // The menu was tracked over the open bookmark menu: the position still names the same record.
    if (!shellCommand && position >= 0 && position < bookmarkTable.entryCount)
        RunBookmarkCommand(command, CopyBookmark(position), nestedMenusSupported);
    modalOpen = FALSE;
    return shellCommand ? command : 0;
}

void ListContextMenu(HWND, HWND list, const std::vector<BookmarkCopy> &rows)
{
    POINT cursor;
    GetCursorPos(&cursor);
    int command = TrackPopupMenu(shortContextMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                                 mainWindow, nullptr);
    int row = SelectedRow(list);
    if (row < 0 || row >= static_cast<int>(rows.size())) {
        MessageBeep(0);  // no row is selected
        return;
    }
    RunBookmarkCommand(command, rows[static_cast<size_t>(row)], false);
}
