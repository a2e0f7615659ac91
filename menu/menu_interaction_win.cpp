// The hooks, first-letter jumps and submenu placement of the open bookmark menu.
#include "base/settings.h"
#include "menu/menu_interaction.h"

#include <commctrl.h>

#include <cstring>

#include "base/app_state.h"
#include "bookmarks/bookmark_table.h"
#include "menu/menu_builder.h"
#include "menu/menu_char.h"
#include "base/ascii_case.h"
#include "menu/menu_geometry.h"
#include "menu/owner_draw.h"

int targetX, targetY;
bool contextKeyToggle = false;
bool contextFromKeyboard = false;

static HHOOK keyboardHook;
static HHOOK mouseHook;
// Set when the first half of a submenu placement found the submenu's folder.
static bool submenuTargetReady = false;

static const char MENU_WINDOW_CLASS[] = "#32768";

static HWND TopMenuWindow()
{
    return FindWindowA(MENU_WINDOW_CLASS, nullptr);
}

void InstallKeyboardHook()
{
    keyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, appInstance, GetCurrentThreadId());
}

void RemoveKeyboardHook()
{
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    keyboardHook = nullptr;
}

void InstallMouseHook()
{
    mouseHook = SetWindowsHookExA(WH_MOUSE, MouseHookProc, appInstance, GetCurrentThreadId());
}

void RemoveMouseHook()
{
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    mouseHook = nullptr;
}

// The context-menu key is seen twice per press in menu mode, so only every other release asks for a menu.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM virtualKey, LPARAM keyData)
{
    if (code >= 0) {
        WORD flags = HIWORD(keyData);
        if ((flags & KF_MENUMODE) && (flags & KF_UP) && virtualKey == VK_APPS) {
            if (!contextKeyToggle) {
                contextFromKeyboard = true;
                SendMessageA(mainWindow, MSG_ITEM_CONTEXT, 0, 0);
            }
            contextKeyToggle = !contextKeyToggle;
        }
    }
    return CallNextHookEx(keyboardHook, code, virtualKey, keyData);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM mouseMessage, LPARAM hookRecord)
{
    if (code >= 0 && mouseMessage == WM_RBUTTONUP) {
        const MOUSEHOOKSTRUCT *record = reinterpret_cast<const MOUSEHOOKSTRUCT *>(hookRecord);
        SendMessageA(mainWindow, MSG_ITEM_CONTEXT, 0, MAKELPARAM(record->pt.x, record->pt.y));
    }
    return CallNextHookEx(mouseHook, code, mouseMessage, hookRecord);
}

int FindHighlightedEntry()
{
    for (int p = 0; p < bookmarkTable.entryCount; p++) {
        const BookmarkEntry &entry = bookmarkTable.entries[p];
        if (_stricmp(entry.url, CLOSE_FOLDER) == 0 || _stricmp(entry.url, SEPARATOR) == 0 ||
            _stricmp(entry.url, OPEN_FOLDER) == 0)
            continue;
        UINT state = GetMenuState(static_cast<HMENU>(entry.parentMenu), CommandIdForEntry(p), MF_BYCOMMAND);
        // A record without a menu item (an empty name) answers -1, in which every bit is set.
        if (state != static_cast<UINT>(-1) && (state & MF_HILITE) && entry.name[0] != '\0')
            return p;
    }
    return -1;
}

void SetContextMenuTarget(LPARAM lParam)
{
    if (!contextFromKeyboard) {
        targetX = static_cast<short>(LOWORD(lParam));
        targetY = static_cast<short>(HIWORD(lParam));
        return;
    }
    RECT item = selectedItemRecord.rcItem;
    MapWindowPoints(TopMenuWindow(), nullptr, reinterpret_cast<POINT *>(&item), 2);
    targetX = ContextMenuTargetX(item.left, selectedItemRecord.itemData, settings.menuStyle);
    targetY = item.top;
    contextFromKeyboard = false;
}

LRESULT OnBookmarkMenuChar(WPARAM wParam, LPARAM lParam)
{
    MenuCharChoice choice =
        FindBookmarkMenuChar(reinterpret_cast<MenuHandle>(lParam), LOWORD(wParam), highlightedEntry);
    if (choice.action == MENU_CHAR_IGNORE)
        return 0;
    return MAKELRESULT(choice.menuPos, choice.action);
}

LRESULT OnCommandMenuChar(WPARAM wParam, LPARAM lParam)
{
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    int letter = LOWORD(wParam);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            continue;
        char text[256] = "";
        if (LoadStringA(appInstance, GetMenuItemID(menu, i), text, sizeof text) <= 0)
            continue;
        if (SameNoCase(static_cast<unsigned char>(CommandKeyLetter(text)), letter))
            return (state & MF_GRAYED) ? 0 : MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

static int FolderForMenu(HMENU popup)
{
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        if (bookmarkTable.folders[k].menu == popup)
            return k;
    return -1;
}

// Width of a folder name in the menu font of the non-client metrics, as the menu builder measures it.
static int MenuTextWidth(HWND window, const char *text)
{
    HDC dc = GetDC(window);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(window, dc);
    return size.cx;
}

// Screen drawing stays locked until PlaceSubmenu has moved the submenu, so it is never seen at the place
// the system chose first.
void PrepareSubmenuPosition(HMENU popup, int itemPosition)
{
    submenuTargetReady = false;
    if (!settings.repositionSubmenus)
        return;
    int k = FolderForMenu(popup);
    if (k < 0)
        return;
    const FolderRecord &folder = bookmarkTable.folders[k];
    if (folder.entry < 0 || folder.entry >= bookmarkTable.entryCount)
        return;
    LockWindowUpdate(GetDesktopWindow());
    HWND window = TopMenuWindow();
    HMENU parent = static_cast<HMENU>(folder.parentMenu);
    RECT r = {};
    GetMenuItemRect(window, parent, itemPosition >= 0 ? itemPosition : folder.menuPos, &r);
    POINT clientOrigin = {0, 0};
    ClientToScreen(window, &clientOrigin);
    ItemRect item = {r.left, r.top, r.right, r.bottom};
    int nameWidth = MenuTextWidth(window, bookmarkTable.entries[folder.entry].name);
    targetX = SubmenuTargetX(item, clientOrigin.x, parent == bookmarkTable.rootMenu, settings.menuStyle, nameWidth);
    targetY = r.top;
    submenuTargetReady = true;
}

void PlaceSubmenu()
{
    if (!settings.repositionSubmenus)
        return;
    HWND window = TopMenuWindow();  // by now the submenu's own window
    LockWindowUpdate(nullptr);
    if (!submenuTargetReady || !window)
        return;
    submenuTargetReady = false;
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    // Off the screen first, so that the move below repaints the whole menu at its new place.
    MoveWindow(window, -1 - width, -1 - height, width, height, FALSE);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = ClampSubmenuX(targetX, width, work.left, work.right);
    UpdateWindow(window);
    MoveWindow(window, x, frame.top, width, height, TRUE);
}
