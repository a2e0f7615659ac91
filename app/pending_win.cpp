// Stand-ins for what other subsystems provide, so that the shell builds and runs before they land.
// The lead removes each one when its real subsystem arrives; none of them is part of the shell.
#include "bookmarks/refresh.h"
#include "menu/icon_sets.h"
#include "menu/menu_builder.h"
#include "menu/menu_interaction.h"
#include <commctrl.h>  // before owner_draw.h, which names HIMAGELIST
#include "menu/owner_draw.h"
#include "app/shell.h"
#include "settings/hot_key.h"
#include "settings/options_dialog.h"
#include "settings/settings.h"
#include "tools/context_menu.h"

// Stand-in for the icon sets: no icons.
HICON iconSets[3][4];
void LoadIconSets() {}
void DestroyIconSets() {}

// Stand-in for the refresh: start-up goes straight from the tray icon to the message loop.
void RefreshBookmarks() {}
void StartChangeWatch() {}
void StopChangeWatch() {}
void RequestWatchStop() {}

// Stand-in for the menu builder.
void BuildBookmarkMenus() {}
int ComputeMaxItemsPerColumn() { return 25; }

// Stand-in for owner drawing: items measure 16 pixels high and draw nothing.
int highlightedEntry;
DRAWITEMSTRUCT selectedItemRecord;
HBITMAP sideBarBitmap;
HIMAGELIST sideBarImageList;
HDC sideBarStrip;
LRESULT MeasureBookmarkItem(MEASUREITEMSTRUCT *request)
{
    request->itemWidth = 150;
    request->itemHeight = 16;
    return TRUE;
}
LRESULT DrawBookmarkItem(DRAWITEMSTRUCT *) { return TRUE; }
LRESULT MeasureCustomItem(MEASUREITEMSTRUCT *request) { return MeasureBookmarkItem(request); }
LRESULT DrawCustomItem(DRAWITEMSTRUCT *) { return TRUE; }

// Stand-in for the menu interaction: no hooks, no letter jumps, submenus stay where they open.
int targetX, targetY;
void InstallKeyboardHook() {}
void RemoveKeyboardHook() {}
void InstallMouseHook() {}
void RemoveMouseHook() {}
int FindHighlightedEntry() { return -1; }
LRESULT OnBookmarkMenuChar(WPARAM, LPARAM) { return 0; }
LRESULT OnCommandMenuChar(WPARAM, LPARAM) { return 0; }
void PrepareSubmenuPosition(HMENU) {}
void PlaceSubmenu() {}

// Stand-in for the bookmark context menu.
void BookmarkContextMenu(int) {}

// Stand-in for the Options dialog (resource 200 in res/pending.rc): OK and Cancel only. It keeps the
// busy flag and the hot key as the real dialog does.
INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        modalOpen = TRUE;
        modalWindow = dialog;
        if (settings.hotKey)
            UnregisterHotKey(mainWindow, 1);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            if (!RegisterAppHotKey(settings.hotKey))
                return TRUE;
            if (LOWORD(wParam) == IDOK)
                SaveSettings();
            EndDialog(dialog, LOWORD(wParam));
        }
        return TRUE;
    case WM_DESTROY:
        modalOpen = FALSE;
        modalWindow = nullptr;
        return FALSE;
    }
    return FALSE;
}
