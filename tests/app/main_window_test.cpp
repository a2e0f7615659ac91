// The main window's message map with the real shell: tray clicks and the double click, the busy guard and
// the hot key, the menu loop and the animation timer, the popup menus and their labels.
#include <gtest/gtest.h>

#include "app/popup_menus.h"
#include "app/shell.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "res/resource.h"
#include "tests/support/win_test_helpers.h"
#include "tools/context_menu.h"

// With "Snap Menu Left" on, asking for the bookmark menu moves the pointer to x = 10, which shows the request
// also where no menu exists to open: whether it was asked for since the last call.
bool BookmarkMenuAsked()
{
    POINT pointer;
    GetCursorPos(&pointer);
    SetCursorPos(200, 100);
    return pointer.x == 10;
}

// The shell once; its state as after a start with the bookmark file known, so that Options neither opens the
// file browser nor ends the program on Cancel.
void Prepare()
{
    if (!mainWindow)
        StartTestShell();
    settings = Settings();
    settings.doubleClickAction = IDC_CMD_OPTIONS;
    std::snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s", "C:\\bookmark.htm");
    modalOpen = FALSE;
    modalWindow = nullptr;
    bookmarkMenuOpen = contextMenuOpen = doubleClickPending = false;
    settings.snapMenuLeft = 1;
    BookmarkMenuAsked();
}

LRESULT Tray(LPARAM mouseMessage) { return SendMessageA(mainWindow, MSG_TRAY_NOTIFY, 0, mouseMessage); }

TEST(MainWindow, DoubleClickRunsTheActionOnceAndTheBusyGuardRefusesMenusAndDialogs)
{
    Prepare();
    MessageBoxAnswerer options("Tresk Options", IDCANCEL);
    EXPECT_EQ(Tray(WM_LBUTTONUP), 1);  // no bookmark menu exists, so the menu call fails at once
    EXPECT_TRUE(BookmarkMenuAsked()) << "the first release opens the bookmark menu";
    // A menu that failed to open stayed marked open: the next menu's drawing and letters went to its handlers.
    EXPECT_FALSE(bookmarkMenuOpen);
    bookmarkMenuOpen = true;  // while it is tracked, a click asks for nothing and leaves it marked open
    EXPECT_EQ(Tray(WM_LBUTTONUP), 1);
    EXPECT_TRUE(bookmarkMenuOpen && !BookmarkMenuAsked());
    bookmarkMenuOpen = false;
    EXPECT_EQ(Tray(WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(Tray(WM_LBUTTONUP), 1);
    EXPECT_FALSE(BookmarkMenuAsked()) << "the second release opened the bookmark menu";
    EXPECT_FALSE(doubleClickPending);
    EXPECT_EQ(options.boxes, 0) << "the action runs from the timer, not inside the notification";
    PumpAll(300);
    EXPECT_EQ(options.boxes, 1);
    EXPECT_FALSE(modalOpen) << "the dialog's end clears the busy flag";
    // The busy guard refuses menus and dialogs until the dialog closes.
    Prepare();
    options.boxes = 0;
    modalOpen = TRUE;
    modalWindow = CreateTestWindow();
    doubleClickPending = true;
    EXPECT_EQ(Tray(WM_LBUTTONUP), 1);
    EXPECT_FALSE(doubleClickPending) << "a click on the busy icon still ends a double click";
    EXPECT_EQ(SendMessageA(mainWindow, WM_HOTKEY, 1, 0), 1);
    EXPECT_FALSE(BookmarkMenuAsked()) << "a menu opened over the busy dialog";
    EXPECT_EQ(OpenOptionsDialog() + PopupTrayMenu(), 0);
    EXPECT_EQ(SendMessageA(mainWindow, MSG_OPEN_OPTIONS, 0, 0), 1);
    PumpAll(100);
    EXPECT_EQ(options.boxes, 0) << "a dialog opened over the busy one";
    DestroyWindow(modalWindow);
    modalOpen = FALSE;
    EXPECT_EQ(SendMessageA(mainWindow, MSG_OPEN_OPTIONS, 0, 0), 1) << "a second copy asks for Options";
    EXPECT_EQ(options.boxes, 1);
    EXPECT_EQ(SendMessageA(mainWindow, WM_HOTKEY, 1, 0), 1);
    EXPECT_TRUE(BookmarkMenuAsked()) << "the hot key is a left click";
}

TEST(MainWindow, OnlyDancyAnimatesFromTheRootPopupUntilTheMenuLoopEnds)
{
    Prepare();
    HMENU submenu = CreatePopupMenu();
    bookmarkTable.rootMenu = CreatePopupMenu();
    for (int style : {MENU_STYLE_VERY_FANCY, MENU_STYLE_DANCY}) {
        settings.menuStyle = style;
        bookmarkMenuOpen = true;
        danceOffset = 40;
        danceStep = -2;
        SendMessageA(mainWindow, WM_INITMENUPOPUP, WPARAM(bookmarkTable.rootMenu), 0);
        UINT_PTR running = danceTimer;
        EXPECT_EQ(running != 0, style == MENU_STYLE_DANCY) << style;
        SendMessageA(mainWindow, WM_INITMENUPOPUP, WPARAM(submenu), 1);
        EXPECT_EQ(danceTimer, running) << "a submenu restarted the animation";
        EXPECT_EQ(currentOtherPopup, nullptr) << "a bookmark submenu is not another popup";
        SendMessageA(mainWindow, WM_EXITMENULOOP, 0, 0);
        EXPECT_FALSE(bookmarkMenuOpen);
        EXPECT_TRUE(style != MENU_STYLE_DANCY || (!danceTimer && danceOffset == 0 && danceStep == 2 && !menuWindow)) << "stopped";
    }
    SendMessageA(mainWindow, WM_INITMENUPOPUP, WPARAM(trayMenu), 0);
    SendMessageA(mainWindow, WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(currentOtherPopup, trayMenu) << "remembered, and the end of the tray menu's loop leaves it";
    DestroyMenu(submenu);
    DestroyMenu(static_cast<HMENU>(bookmarkTable.rootMenu));
    bookmarkTable.rootMenu = nullptr;
}

// The command ids of a popup menu, "-" for a separator, "?" after an item that is not owner-drawn, "*"
// after the default item.
std::string Ids(HMENU menu)
{
    std::string ids;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        ids += (i ? " " : "") + (state & MF_SEPARATOR ? "-" : std::to_string(GetMenuItemID(menu, i)) + (state & MF_OWNERDRAW ? "" : "?"));
        ids += GetMenuDefaultItem(menu, TRUE, 0) == UINT(i) ? "*" : "";
    }
    return ids;
}

TEST(MainWindow, PopupMenusTheirLabelsAndTheTrayMenusBoldAction)
{
    Prepare();
    EXPECT_EQ(Ids(trayMenu), "4008 4012 4003 - 4013 4002 - 4004 - 4005");
    EXPECT_EQ(Ids(itemContextMenu), "4007* 4006 - 4009 4010 4011 - 4003 4004");
    EXPECT_EQ(Ids(shortContextMenu), "4007* 4006 - 4009 4010 4011");
    const char *labels[] = {"&Options...", "&Refresh Bookmarks", "&About...", "E&xit", "&Properties...", "&Browse To Bookmark",
                            "&Search Bookmarks...", "Copy Bookmark &Name", "Copy Bookmark &Location", "Copy Bookmark as &HTML",
                            "&Verify Bookmarks...", "&Quick URL Entry.."};
    for (int id = 4002; id <= 4013; id++) {
        char text[64] = "";
        LoadStringA(appInstance, id, text, sizeof text);
        EXPECT_STREQ(text, labels[id - 4002]) << id;
        EXPECT_NE(LoadImageA(appInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0), nullptr) << "icon " << id;
    }
    UINT shownDefault = 0;
    settings.doubleClickAction = IDC_CMD_VERIFY;
    EXPECT_EQ(DriveMenu({Act([&] { shownDefault = GetMenuDefaultItem(trayMenu, FALSE, 0); })}, PopupTrayMenu), 1);
    EXPECT_EQ(shownDefault, UINT(IDC_CMD_VERIFY));
    EXPECT_FALSE(modalOpen);
}
