// The refresh as the user sees it, with the real readers on small files: the tray icon while it reads,
// the first start, the refresh the change watch asks for, and what an Options OK changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>

#include "app/popup_menus.h"
#include "app/refresh.h"
#include "app/shell.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/change_watch.h"
#include "res/options_ids.h"
#include "res/resource.h"
#include "tests/support/dialog_driver_win.h"
#include "tests/support/import_redirect_win.h"
#include "tests/support/win_test_helpers.h"

const std::string RELOADED = "12 Refreshing Bookmarks...; 11 Tresk; ";
// What the shell was asked to show in the notification area: "add 11 Tresk; ", "12 Refreshing...; ", "delete; ".
std::string tray;

BOOL WINAPI RecordTray(DWORD action, PNOTIFYICONDATAA icon)
{
    std::string picture = "?";
    for (int id : {IDI_TRAY, IDI_TRAY_RELOADING})
        if (IconBits(icon->hIcon) == IconBits(HICON(LoadImageA(appInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0))))
            picture = std::to_string(id);
    tray += (action == NIM_DELETE ? "delete" : (action == NIM_ADD ? "add " : "") + picture + " " + icon->szTip) + "; ";
    return TRUE;
}

// The bookmark file with that many bookmarks; the shell once, the settings of a start with the tray icon
// and that file, and no menus, table or watch left over.
void Prepare(int bookmarks)
{
    if (!mainWindow)
        StartTestShell(), RedirectImport("shell32.dll", "Shell_NotifyIconA", reinterpret_cast<void *>(RecordTray));
    StopChangeWatch();
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    settings = Settings();
    settings.trayIcon = settings.useBookmarkFile = 1;
    std::snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%stresk_refresh.htm", testing::TempDir().c_str());
    FILE *file = std::fopen(settings.bookmarkFile, "w");
    std::fprintf(file, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n");
    for (int i = 0; i < bookmarks; i++)
        std::fprintf(file, "<DT><A HREF=\"http://example.com/%d\">Bookmark %d</A>\n", i, i);
    std::fclose(file);
    tray.clear();
}

int RootItems() { return GetMenuItemCount(static_cast<HMENU>(bookmarkTable.rootMenu)); }

bool ClosePosted()
{
    MSG message;
    return PeekMessageA(&message, mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE);
}

TEST(Refresh, ReadsBuildsAndShowsTheReloadingIconMeanwhile)
{
    Prepare(2);
    settings.refreshMenu = 1;
    int threads = CountProcessThreads();
    RefreshBookmarks();
    EXPECT_EQ(tray, RELOADED);
    EXPECT_EQ(RootItems(), 2);
    EXPECT_EQ(CountProcessThreads(), threads + 1) << "the change watch runs";
    tray.clear();  // a new menu font or display rebuilds the menus; other setting changes do not
    for (UINT change : {UINT(WM_SETTINGCHANGE + (SPI_SETNONCLIENTMETRICS << 16)), UINT(WM_SETTINGCHANGE), UINT(WM_DISPLAYCHANGE)})
        SendMessageA(mainWindow, LOWORD(change), HIWORD(change), 0);
    EXPECT_EQ(tray, RELOADED + RELOADED);
    Prepare(3);
    settings.trayIcon = 0;
    RefreshBookmarks();
    EXPECT_EQ(RootItems(), 3) << "a new table, not one added to";
    EXPECT_TRUE(tray.empty()) << "no icon to change";
    EXPECT_FALSE(ClosePosted());
}

TEST(Refresh, FirstStartAsksForTheFileInOptionsAndReadsTheChosenOne)
{
    Prepare(2);
    std::string chosen = settings.bookmarkFile;
    settings.bookmarkFile[0] = '\0';
    // The file browser that Options opens by itself is cancelled at once (Wine's may not come up here).
    static int browsed;
    RedirectImport("comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void *>(+[](OPENFILENAMEA *) { return browsed++, FALSE; }));
    std::string seen;  // one answerer for the message box and the Options dialog, both titled "Tresk..."
    MessageBoxAnswerer answerer("Tresk", [&](HWND window) {
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        seen += text;
        if (std::string(text) == "Tresk" && GetDlgItemTextA(window, 0xFFFF, text, sizeof text))  // a message box's text
            seen += std::string(": ") + text;
        seen += "; ";
        SetDlgItemTextA(window, IDC_BOOKMARK_FILE, chosen.c_str());
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    });
    RefreshBookmarks();
    EXPECT_EQ(seen, "Tresk: Please locate a valid file (usually 'bookmark.htm') that contains Netscape Bookmarks.; Tresk Options; ");
    EXPECT_EQ(browsed, 1);
    EXPECT_EQ(RootItems(), 2);
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Olvane\\Tresk");  // the Options dialog's OK saved the settings
}

TEST(Refresh, TheWatchsRefreshWaitsWhileTheTableIsInUseAndAnswersEveryReportOnce)
{
    for (int use = 0; use < 3; use++) {
        Prepare(2);
        RefreshBookmarks();
        tray.clear();
        bool *flag[] = {&bookmarkMenuOpen, &contextMenuOpen, nullptr};
        flag[use] ? void(*flag[use] = true) : void(modalOpen = TRUE);
        PostMessageA(mainWindow, MSG_SOURCES_CHANGED, 0, 0);
        PostMessageA(mainWindow, MSG_SOURCES_CHANGED, 0, 0);
        PumpAll(700);
        EXPECT_TRUE(tray.empty()) << "refreshed while the table was in use, case " << use;
        bookmarkMenuOpen = contextMenuOpen = false;
        modalOpen = FALSE;
        PumpAll(700);
        EXPECT_EQ(tray, RELOADED) << "case " << use;
    }
}

TEST(Refresh, WhatAnOptionsOkChangedIsAppliedAndTheWindowsEndCleansUp)
{
    auto click = [](int control) { return [control](HWND dialog) { ClickItem(dialog, control); }; };
    auto choose = [](int control, int item) { return [control, item](HWND dialog) { ChooseItem(dialog, control, item); }; };
    const struct { const char *label; int trayIcon, refreshMenu; std::function<void(HWND)> change; std::string applied; } rows[] = {
        {"tray icon switched off", 1, 0, click(IDC_TRAY_ICON), "delete; "},
        {"tray icon switched on", 0, 0, click(IDC_TRAY_ICON), "add 11 Tresk; "},
        {"double-click action: the tray menu loaded anew", 1, 0, choose(IDC_DOUBLE_CLICK, 4), "tray menu; "},
        {"menu style: the menus rebuilt", 1, 0, choose(IDC_MENU_STYLE, 1), RELOADED + "owner-drawn; "},
        {"Refresh Menu switched on: the watch starts", 1, 0, click(IDC_REFRESH_MENU), "watch; "},
        {"Refresh Menu switched off: the watch stops", 1, 1, click(IDC_REFRESH_MENU), ""},
    };
    for (const auto &row : rows) {
        Prepare(2);
        settings.trayIcon = row.trayIcon;
        settings.refreshMenu = row.refreshMenu;
        RefreshBookmarks();
        SetMenuDefaultItem(trayMenu, IDC_CMD_EXIT, FALSE);  // gone once the menu is loaded anew
        tray.clear();
        MessageBoxAnswerer options("Tresk Options", [&row](HWND dialog) { row.change(dialog), PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
        EXPECT_EQ(OpenOptionsDialog(), 1) << row.label;
        PumpAll(700);
        int threads = CountProcessThreads();  // a running watch is one thread that stopping it ends
        StopChangeWatch();
        tray += GetMenuDefaultItem(trayMenu, FALSE, 0) == UINT(-1) ? "tray menu; " : "";
        tray += GetMenuState(static_cast<HMENU>(bookmarkTable.rootMenu), 0, MF_BYPOSITION) & MF_OWNERDRAW ? "owner-drawn; " : "";
        tray += threads - CountProcessThreads() == 1 ? "watch; " : "";
        EXPECT_EQ(tray, row.applied) << row.label;
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Olvane\\Tresk");
    // Last, as it ends the shell: destroying the main window removes the icon, frees the table, ends the loop.
    tray.clear();
    DestroyWindow(mainWindow);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(tray, "delete; ");
    EXPECT_TRUE(!bookmarkTable.entries && !bookmarkTable.rootMenu && !trayMenu);
}
