// Stand-ins for the parts of the program that the interaction tests must not pull in, and test helpers.
#include "tests/tools/interact_standins.h"

#include <commctrl.h>

#include <cstring>

#include "app/popup_menus.h"
#include "app/shell.h"
#include "bookmarks/bookmark_table.h"
#include "menu/menu_builder.h"
#include "menu/menu_interaction.h"
#include "menu/owner_draw.h"
#include "tools/context_menu.h"

// --- shell state (app/shell.h)
HINSTANCE appInstance;
HWND mainWindow;
bool nestedMenusSupported = true;
LONG modalOpen;
HWND modalWindow;
bool bookmarkMenuOpen;
bool contextMenuOpen;
int contextEntry;
HWND g_verifyDialog;

// --- popup menus (app/popup_menus.h)
HMENU trayMenu, itemContextMenu, shortContextMenu;
std::vector<int> handledCommands;
std::vector<std::string> launchedURLs;
void HandleCommand(int commandId) { handledCommands.push_back(commandId); }
void LaunchURL(const char *url) { launchedURLs.push_back(url); }

// --- owner drawing (menu/owner_draw.h)
int highlightedEntry;
DRAWITEMSTRUCT selectedItemRecord;

void (*testProbe)(WPARAM);
std::vector<LRESULT> menuCharResults;
int cancelModeCount;
std::vector<LPARAM> itemContextRequests;
std::vector<int> itemContextEntries;

static bool BookmarkMenuActive() { return bookmarkMenuOpen && !contextMenuOpen; }

static const char *ItemName(UINT id)
{
    int position = EntryForCommandId(static_cast<int>(id));
    if (position >= 0 && position < bookmarkTable.entryCount)
        return bookmarkTable.entries[position].name;
    return "command";
}

static LRESULT OnMeasure(MEASUREITEMSTRUCT *request)
{
    request->itemHeight = 18;
    request->itemWidth = 40 + 8 * static_cast<UINT>(std::strlen(ItemName(request->itemID)));
    return TRUE;
}

static LRESULT OnDraw(DRAWITEMSTRUCT *request)
{
    bool selected = request->itemState & ODS_SELECTED;
    FillRect(request->hDC, &request->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    int position = EntryForCommandId(static_cast<int>(request->itemID));
    if (selected && BookmarkMenuActive() && position >= 0 && position < bookmarkTable.entryCount) {
        highlightedEntry = position;
        selectedItemRecord = *request;
    }
    return TRUE;
}

// The shell's handling of a context-menu request (the bookmark menu stays open under it).
static void OnItemContext(LPARAM lParam)
{
    itemContextRequests.push_back(lParam);
    ReleaseCapture();
    if (!BookmarkMenuActive())
        return;
    contextEntry = FindHighlightedEntry();
    itemContextEntries.push_back(contextEntry);
    if (contextEntry == -1)
        return;
    SetContextMenuTarget(lParam);
    if (!nestedMenusSupported)
        SendMessageA(mainWindow, WM_CANCELMODE, 0, 0);
    SetTimer(mainWindow, TIMER_CONTEXT_MENU, 0, nullptr);
}

static void OnInitMenuPopup(HMENU popup, LPARAM lParam)
{
    if (popup == static_cast<HMENU>(bookmarkTable.rootMenu) || !BookmarkMenuActive() || HIWORD(lParam))
        return;
    PrepareSubmenuPosition(popup, LOWORD(lParam));
    SetTimer(mainWindow, TIMER_SUBMENU_POSITION, 0, nullptr);
}

static void OnTimer(UINT_PTR timer)
{
    KillTimer(mainWindow, timer);
    if (timer == TIMER_SUBMENU_POSITION) {
        PlaceSubmenu();
    } else if (timer == TIMER_CONTEXT_MENU) {
        BookmarkContextMenu(contextEntry);
        contextEntry = 0;
    }
}

static LRESULT CALLBACK TestShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MEASUREITEM:
        return OnMeasure(reinterpret_cast<MEASUREITEMSTRUCT *>(lParam));
    case WM_DRAWITEM:
        return OnDraw(reinterpret_cast<DRAWITEMSTRUCT *>(lParam));
    case WM_MENUCHAR: {
        LRESULT result = BookmarkMenuActive() ? OnBookmarkMenuChar(wParam, lParam) : OnCommandMenuChar(wParam, lParam);
        menuCharResults.push_back(result);
        return result;
    }
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), lParam);
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CANCELMODE:
        cancelModeCount++;
        break;
    case MSG_ITEM_CONTEXT:
        OnItemContext(lParam);
        return 0;
    case MSG_TEST_PROBE:
        if (testProbe)
            testProbe(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static HMENU OwnerDrawnMenu(const std::vector<int> &ids)
{
    HMENU menu = CreatePopupMenu();
    for (int id : ids) {
        if (id == 0)
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(menu, MF_OWNERDRAW, id, nullptr);
    }
    return menu;
}

void CreateTestShell()
{
    appInstance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TestShellProc;
    windowClass.hInstance = appInstance;
    windowClass.lpszClassName = "TreskInteractTest";
    RegisterClassA(&windowClass);
    mainWindow = CreateWindowA("TreskInteractTest", "Tresk", WS_OVERLAPPEDWINDOW, -100, -100, 50, 50, nullptr,
                               nullptr, appInstance, nullptr);
    trayMenu = OwnerDrawnMenu({4008, 4012, 4003, 0, 4013, 4002, 0, 4004, 0, 4005});
    itemContextMenu = OwnerDrawnMenu({4007, 4006, 0, 4009, 4010, 4011, 0, 4003, 4004});
    SetMenuDefaultItem(itemContextMenu, 4007, FALSE);
    shortContextMenu = OwnerDrawnMenu({4007, 4006, 0, 4009, 4010, 4011});
    SetMenuDefaultItem(shortContextMenu, 0, TRUE);
}

void DestroyTestShell()
{
    DestroyMenu(trayMenu);
    DestroyMenu(itemContextMenu);
    DestroyMenu(shortContextMenu);
    DestroyWindow(mainWindow);
    mainWindow = nullptr;
}

void BuildTestMenus()
{
    for (int p = 0; p < bookmarkTable.entryCount; p++) {
        BookmarkEntry &entry = bookmarkTable.entries[p];
        HMENU parent = static_cast<HMENU>(entry.parentMenu);
        if (IsFolderEnd(entry) || entry.name[0] == '\0')
            continue;
        entry.menuPos = GetMenuItemCount(parent);
        // Root items carry the side-bar column flag, as in the first column of the program's root menu.
        ULONG_PTR data = parent == static_cast<HMENU>(bookmarkTable.rootMenu) ? 0x10000 : 0;
        if (IsSeparator(entry)) {
            AppendMenuA(parent, MF_SEPARATOR, 0, nullptr);
        } else if (IsFolderStart(entry)) {
            for (int k = 0; k < bookmarkTable.folderCount; k++) {
                FolderRecord &folder = bookmarkTable.folders[k];
                if (folder.entry != entry.id)
                    continue;
                folder.entry = p;
                folder.menuPos = entry.menuPos;
                AppendMenuA(parent, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(folder.menu),
                            reinterpret_cast<LPCSTR>(data));
                break;
            }
        } else {
            AppendMenuA(parent, MF_OWNERDRAW, CommandIdForEntry(p), reinterpret_cast<LPCSTR>(data));
        }
    }
}

void FreeTestTable()
{
    DestroyBookmarkMenus();
    FreeBookmarkTable();
}

std::vector<HWND> VisibleMenuWindows()
{
    std::vector<HWND> windows;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w))
            windows.push_back(w);
    return windows;
}

HWND WaitForWindow(const char *windowClass, const char *title, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        for (HWND w = FindWindowExA(nullptr, nullptr, windowClass, title); w;
             w = FindWindowExA(nullptr, w, windowClass, title))
            if (IsWindowVisible(w))
                return w;
        Sleep(20);
    }
    return nullptr;
}

std::thread DriveMenu(std::vector<MenuKey> keys, int pauseMs)
{
    return std::thread([keys, pauseMs] {
        HWND menu = WaitForWindow("#32768", nullptr);
        if (!menu)
            return;
        Sleep(pauseMs);
        for (const MenuKey &key : keys) {
            std::vector<HWND> open = VisibleMenuWindows();
            if (open.empty())
                break;
            HWND target = key.message == MSG_TEST_PROBE ? mainWindow : open.front();
            PostMessageA(target, key.message, key.wParam, 0);
            Sleep(pauseMs);
        }
    });
}

std::string ReadClipboardText()
{
    std::string text = "<no clipboard>";
    if (!OpenClipboard(nullptr))
        return text;
    HANDLE data = GetClipboardData(CF_TEXT);
    text = "<no text>";
    if (data) {
        const char *bytes = static_cast<const char *>(GlobalLock(data));
        if (bytes)
            text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}
