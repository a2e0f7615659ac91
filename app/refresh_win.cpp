// RefreshBookmarks: the table and menus rebuilt from the sources; refreshes asked for by the change watch.
#include "app/refresh.h"

#include "app/shell.h"
#include "app/tray_icon.h"
#include "base/settings.h"
#include "base/trace.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/change_watch.h"
#include "bookmarks/read_sources.h"
#include "menu/menu_builder.h"
#include "res/resource.h"

static const char NO_BOOKMARK_FILE_TEXT[] =
    "Please locate a valid file (usually 'bookmark.htm') that contains Netscape Bookmarks.";
static const char NO_BOOKMARKS_TEXT[] =
    "Tresk could not find any bookmarks in the specified bookmark file.  Please ensure that it is a valid "
    "Netscape bookmark file.";

// Refreshes running on this thread; message boxes and the Options dialog run nested message loops in
// which a MSG_SOURCES_CHANGED could otherwise start a second refresh inside the first.
static int refreshDepth = 0;

// Without a bookmark file the user is asked for one; false when the Options dialog left none.
static bool EnsureBookmarkFile()
{
    if (settings.bookmarkFile[0] != '\0')
        return true;
    MessageBoxA(mainWindow, NO_BOOKMARK_FILE_TEXT, "Tresk", MB_ICONEXCLAMATION);
    OpenOptionsDialog();
    // Left without a bookmark file, the Options dialog has already ended the program: reading nothing
    // would only add a second message.
    return settings.bookmarkFile[0] != '\0';
}

void RefreshBookmarks()
{
    TraceEnter("RefreshBookmarks");
    refreshDepth++;
    UpdateTrayIcon(IDI_TRAY_RELOADING, "Refreshing Bookmarks...");
    if (EnsureBookmarkFile()) {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
        if (ReadBookmarkSources()) {
            BuildBookmarkMenus();
            UpdateTrayIcon(IDI_TRAY, "Tresk");
            StartChangeWatch();
        } else {
            MessageBoxA(mainWindow, NO_BOOKMARKS_TEXT, "Tresk", MB_ICONEXCLAMATION);
            UpdateTrayIcon(IDI_TRAY, "Tresk");
            // Posted, not sent: the window is destroyed from the message loop, not inside this refresh.
            PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        }
    } else {
        UpdateTrayIcon(IDI_TRAY, "Tresk");
    }
    refreshDepth--;
    TraceExit("RefreshBookmarks");
}

// The table is in use while the bookmark menu or its context menu is tracked, while a dialog that may
// show entries is open, and while a refresh runs.
static bool TableInUse()
{
    return bookmarkMenuOpen || contextMenuOpen || modalOpen || refreshDepth > 0;
}

static void RefreshForWatch()
{
    DestroyBookmarkMenus();
    RefreshBookmarks();
}

static void CALLBACK RetrySourcesTimerProc(HWND window, UINT, UINT_PTR timer, DWORD)
{
    if (TableInUse())
        return;
    KillTimer(window, timer);
    RefreshForWatch();
}

void OnSourcesChanged()
{
    // One refresh answers every change reported so far.
    MSG duplicate;
    while (PeekMessageA(&duplicate, mainWindow, MSG_SOURCES_CHANGED, MSG_SOURCES_CHANGED, PM_REMOVE))
        ;
    if (TableInUse()) {
        SetTimer(mainWindow, TIMER_SOURCES_RETRY, 250, RetrySourcesTimerProc);
        return;
    }
    RefreshForWatch();
}
