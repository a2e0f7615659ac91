// The hidden main window: its message map, the busy guard and the deferred menu work.
#include "app/main_window.h"

#include "app/popup_menus.h"
#include "app/refresh.h"
#include "app/shell.h"
#include "app/tray_icon.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/change_watch.h"
#include "menu/icon_sets.h"
#include "menu/menu_interaction.h"
#include "menu/owner_draw.h"
#include "res/resource.h"
#include "settings/hot_key.h"
#include "tools/context_menu.h"

#include <commctrl.h>

static const char WINDOW_CLASS[] = "Tresk";

HWND CreateMainWindow(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRESK));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&windowClass);
    mainWindow = CreateWindowExA(0, WINDOW_CLASS, "Tresk", WS_OVERLAPPEDWINDOW, -100, -100, 50, 50, nullptr, nullptr,
                                 instance, nullptr);
    return mainWindow;
}

void RegisterDialogControls()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

void SignalRunningInstance()
{
    HWND running = FindWindowA(WINDOW_CLASS, nullptr);
    if (running)
        SendMessageA(running, MSG_OPEN_OPTIONS, 0, 0);
}

void DetectNestedMenus()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version))
        return;
#pragma GCC diagnostic pop
    // Windows 95 and NT 4.0 cannot track a popup menu while another one is open.
    nestedMenusSupported = version.dwPlatformId >= 1 &&
        (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion > 0));
}

bool IsBookmarkMenuActive()
{
    return bookmarkMenuOpen && !contextMenuOpen;
}

bool IsModalBusy()
{
    if (!modalOpen)
        return false;
    SetForegroundWindow(modalWindow ? modalWindow : mainWindow);
    MessageBeep(MB_ICONEXCLAMATION);
    return true;
}

void CALLBACK MenuTimerProc(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(mainWindow, timer);
    switch (timer) {
    case TIMER_DOUBLE_CLICK:
        bookmarkMenuOpen = false;
        HandleCommand(settings.doubleClickAction);
        break;
    case TIMER_CONTEXT_MENU: {
        int shellCommand = BookmarkContextMenu(contextEntry);
        contextEntry = 0;
        // Refresh closes the bookmark menu first on systems that nest menus.
        if (shellCommand)
            HandleCommand(shellCommand);
        break;
    }
    case TIMER_SUBMENU_POSITION:
        if (settings.repositionSubmenus)
            PlaceSubmenu();
        break;
    }
}

static void RebuildBookmarkMenus()
{
    DestroyBookmarkMenus();
    RefreshBookmarks();
}

static void OnBookmarkMenuOpening()
{
    menuWindow = FindWindowA("#32768", nullptr);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF menu = GetSysColor(COLOR_MENU);
    if (highlight != highlightColorCache || menu != menuColorCache) {
        highlightColorCache = highlight;
        menuColorCache = menu;
        sideBarPainted = false;
    }
    if (settings.menuStyle >= MENU_STYLE_DANCY)
        danceTimer = SetTimer(mainWindow, TIMER_DANCE, 10, DanceTimerProc);
}

static void OnInitMenuPopup(HMENU popup, int itemPosition, bool systemMenu)
{
    currentOtherPopup = nullptr;
    if (popup == static_cast<HMENU>(bookmarkTable.rootMenu) && !contextMenuOpen) {
        OnBookmarkMenuOpening();
    } else if (!IsBookmarkMenuActive()) {
        currentOtherPopup = popup;
    } else if (!systemMenu) {
        if (settings.repositionSubmenus)
            PrepareSubmenuPosition(popup, itemPosition);
        // The submenu's window exists only once this message has been handled.
        SetTimer(mainWindow, TIMER_SUBMENU_POSITION, 0, MenuTimerProc);
    }
}

static void OnExitMenuLoop()
{
    if (!IsBookmarkMenuActive())
        return;
    bookmarkMenuOpen = false;
    if (danceTimer)
        StopDanceAnimation();
    highlightedEntry = 0;
}

static void OnItemContext(LPARAM cursor)
{
    ReleaseCapture();
    if (!IsBookmarkMenuActive() || (contextEntry = FindHighlightedEntry()) == -1) {
        // A key request that opens nothing must not leave the next right click placed as a key request.
        contextFromKeyboard = false;
        return;
    }
    SetContextMenuTarget(cursor);
    // Older systems cannot track the context menu over the open bookmark menu; close that one first.
    if (!nestedMenusSupported)
        SendMessageA(mainWindow, WM_CANCELMODE, 0, 0);
    SetTimer(mainWindow, TIMER_CONTEXT_MENU, 0, MenuTimerProc);
}

static void OnDestroy()
{
    DeleteTrayIcon();
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    FreeSideBar();
    ReleaseMenuWindowDC();
    if (settings.hotKey != 0)
        UnregisterHotKey(mainWindow, HOT_KEY_ID);
    DestroyIconSets();
    DestroyPopupMenus();
    StopChangeWatch();
    if (instanceMutex) {
        CloseHandle(instanceMutex);
        instanceMutex = nullptr;
    }
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS)
            RebuildBookmarkMenus();
        return 0;
    case WM_DRAWITEM: {
        auto *request = reinterpret_cast<DRAWITEMSTRUCT *>(lParam);
        return IsBookmarkMenuActive() ? DrawBookmarkItem(request) : DrawCustomItem(request);
    }
    case WM_MEASUREITEM: {
        auto *request = reinterpret_cast<MEASUREITEMSTRUCT *>(lParam);
        return IsBookmarkMenuActive() ? MeasureBookmarkItem(request) : MeasureCustomItem(request);
    }
    case WM_DISPLAYCHANGE:
        RebuildBookmarkMenus();
        break;
    case WM_COMMAND:  // menu choices come back from the popup menu calls themselves
    case WM_ENTERMENULOOP:
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
        return 0;
    case WM_MENUCHAR:
        return IsBookmarkMenuActive() ? OnBookmarkMenuChar(wParam, lParam) : OnCommandMenuChar(wParam, lParam);
    case WM_EXITMENULOOP:
        OnExitMenuLoop();
        return 0;
    case WM_HOTKEY:
        if (!IsModalBusy())
            SendMessageA(mainWindow, MSG_TRAY_NOTIFY, 0, WM_LBUTTONUP);
        return 1;
    case MSG_OPEN_OPTIONS:
        OpenOptionsDialog();
        return 1;
    case MSG_TRAY_NOTIFY:
        return OnTrayNotify(lParam);
    case MSG_SOURCES_CHANGED:
        OnSourcesChanged();
        return 0;
    case MSG_ITEM_CONTEXT:
        OnItemContext(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
