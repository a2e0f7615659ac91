// The main window's message map with the real shell: tray clicks and the double click, the busy guard,
// the hot key while a dialog is open, the menu loop and the animation timer, the popup menus.
#include "app/dance.h"
#include "app/main_window.h"
#include "app/popup_menus.h"
#include "app/shell.h"
#include "tools/context_menu.h"
#include "bookmarks/bookmark_table.h"
#include "res/resource.h"
#include "base/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

int optionsOpenings;

// Closes the Options dialog as soon as it is open, counting how often it opened.
void CALLBACK CloseOptionsWhenOpen(HWND, UINT, UINT_PTR, DWORD)
{
    char className[16] = "";
    if (modalWindow)
        GetClassNameA(modalWindow, className, sizeof className);
    if (modalOpen && std::string(className) == "#32770") {
        ++optionsOpenings;
        PostMessageA(modalWindow, WM_COMMAND, IDCANCEL, 0);
    }
}

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        appInstance = GetModuleHandleA(nullptr);
        RegisterDialogControls();
        ASSERT_NE(CreateMainWindow(appInstance), nullptr);
        LoadPopupMenus();
    }

    void SetUp() override
    {
        settings = Settings();
        settings.doubleClickAction = IDC_CMD_OPTIONS;
        settings.menuStyle = MENU_STYLE_DANCY;
        // With a bookmark file known, the Options dialog neither opens the file browser by itself nor
        // ends the program on Cancel.
        std::snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s", "C:\\bookmark.htm");
        modalOpen = FALSE;
        modalWindow = nullptr;
        bookmarkMenuOpen = false;
        contextMenuOpen = false;
        doubleClickPending = false;
        optionsOpenings = 0;
        closer = SetTimer(nullptr, 0, 20, CloseOptionsWhenOpen);
    }

    void TearDown() override
    {
        KillTimer(nullptr, closer);
        if (bookmarkTable.rootMenu) {
            DestroyMenu(static_cast<HMENU>(bookmarkTable.rootMenu));
            bookmarkTable.rootMenu = nullptr;
        }
    }

    static LRESULT Tray(LPARAM mouseMessage) { return SendMessageA(mainWindow, MSG_TRAY_NOTIFY, 0, mouseMessage); }

    // Runs the thread's messages (and so its timers) for a while.
    static void Pump(int milliseconds)
    {
        DWORD end = GetTickCount() + milliseconds;
        while (static_cast<int>(end - GetTickCount()) > 0) {
            PumpMessages();
            Sleep(5);
        }
    }

    UINT_PTR closer = 0;
};

TEST_F(MainWindow, DoubleClickRunsTheActionOnceAndSwallowsTheSecondRelease)
{
    // No bookmark menu exists, so the first release's menu call returns at once.
    EXPECT_EQ(Tray(WM_LBUTTONUP), 1);
    EXPECT_TRUE(bookmarkMenuOpen) << "the first release opens the bookmark menu";
    bookmarkMenuOpen = false;

    EXPECT_EQ(Tray(WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(doubleClickPending);
    EXPECT_EQ(Tray(WM_LBUTTONUP), 1);
    EXPECT_FALSE(bookmarkMenuOpen) << "the second release opened the bookmark menu";
    EXPECT_FALSE(doubleClickPending);
    EXPECT_EQ(optionsOpenings, 0) << "the action runs from the timer, not inside the notification";

    Pump(300);
    EXPECT_EQ(optionsOpenings, 1);
    EXPECT_FALSE(modalOpen) << "the dialog's end clears the busy flag";
}

TEST_F(MainWindow, BusyGuardRefusesMenusAndDialogsAndClearsAPendingDoubleClick)
{
    HWND dialog = CreateWindowExA(0, "STATIC", "busy", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    modalOpen = TRUE;
    modalWindow = dialog;
    doubleClickPending = true;

    EXPECT_EQ(Tray(WM_LBUTTONUP), 1);
    EXPECT_FALSE(bookmarkMenuOpen);
    EXPECT_FALSE(doubleClickPending);
    EXPECT_EQ(OpenOptionsDialog(), 0);
    EXPECT_EQ(PopupTrayMenu(), 0);
    EXPECT_EQ(SendMessageA(mainWindow, MSG_OPEN_OPTIONS, 0, 0), 1);
    Pump(100);
    EXPECT_EQ(optionsOpenings, 0) << "a dialog opened over the busy one";
    EXPECT_TRUE(IsModalBusy());
    DestroyWindow(dialog);
}

TEST_F(MainWindow, HotKeyActsAsALeftClickUnlessADialogIsOpen)
{
    modalOpen = TRUE;
    EXPECT_EQ(SendMessageA(mainWindow, WM_HOTKEY, 1, 0), 1);
    EXPECT_FALSE(bookmarkMenuOpen) << "the hot key opened the menu over a dialog";

    modalOpen = FALSE;
    EXPECT_EQ(SendMessageA(mainWindow, WM_HOTKEY, 1, 0), 1);
    EXPECT_TRUE(bookmarkMenuOpen);
}

TEST_F(MainWindow, SecondInstanceRequestOpensOptions)
{
    EXPECT_EQ(SendMessageA(mainWindow, MSG_OPEN_OPTIONS, 0, 0), 1);
    EXPECT_EQ(optionsOpenings, 1);
}

TEST_F(MainWindow, AnimationRunsFromTheRootPopupUntilTheMenuLoopEnds)
{
    HMENU root = CreatePopupMenu();
    bookmarkTable.rootMenu = root;
    bookmarkMenuOpen = true;
    danceOffset = 40;
    danceStep = -2;
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(root), 0);
    EXPECT_NE(danceTimer, 0u);
    EXPECT_EQ(currentOtherPopup, nullptr);

    HMENU submenu = CreatePopupMenu();
    UINT_PTR running = danceTimer;
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), 1);
    EXPECT_EQ(danceTimer, running) << "a submenu restarted the animation";
    EXPECT_EQ(currentOtherPopup, nullptr) << "a bookmark submenu is not another popup";

    SendMessageA(mainWindow, WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(danceTimer, 0u);
    EXPECT_EQ(danceOffset, 0);
    EXPECT_EQ(danceStep, 2);
    EXPECT_FALSE(bookmarkMenuOpen);
    EXPECT_EQ(menuWindow, nullptr);
    DestroyMenu(submenu);
}

TEST_F(MainWindow, PlainStylesDoNotAnimateAndOtherPopupsAreRemembered)
{
    HMENU root = CreatePopupMenu();
    bookmarkTable.rootMenu = root;
    bookmarkMenuOpen = true;
    settings.menuStyle = MENU_STYLE_VERY_FANCY;
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(root), 0);
    EXPECT_EQ(danceTimer, 0u);
    SendMessageA(mainWindow, WM_EXITMENULOOP, 0, 0);
    EXPECT_FALSE(bookmarkMenuOpen);

    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(trayMenu), 0);
    EXPECT_EQ(currentOtherPopup, trayMenu);
    // The end of the tray menu's loop leaves the state alone.
    SendMessageA(mainWindow, WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(currentOtherPopup, trayMenu);
}

TEST_F(MainWindow, PopupMenusHoldTheirItemsOwnerDrawnAndTheirDefaults)
{
    ASSERT_NE(trayMenu, nullptr);
    const int trayIds[] = {4008, 4012, 4003, 0, 4013, 4002, 0, 4004, 0, 4005};
    ASSERT_EQ(GetMenuItemCount(trayMenu), 10);
    for (int position = 0; position < 10; ++position) {
        UINT state = GetMenuState(trayMenu, position, MF_BYPOSITION);
        if (trayIds[position] == 0) {
            EXPECT_TRUE(state & MF_SEPARATOR) << "tray position " << position;
            continue;
        }
        EXPECT_EQ(static_cast<int>(GetMenuItemID(trayMenu, position)), trayIds[position]);
        EXPECT_TRUE(state & MF_OWNERDRAW) << "tray position " << position;
    }

    ASSERT_NE(itemContextMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(itemContextMenu), 9);
    EXPECT_EQ(GetMenuDefaultItem(itemContextMenu, FALSE, 0), static_cast<UINT>(IDC_CMD_BROWSE));

    ASSERT_NE(shortContextMenu, nullptr);
    const int shortIds[] = {4007, 4006, 0, 4009, 4010, 4011};
    ASSERT_EQ(GetMenuItemCount(shortContextMenu), 6);
    for (int position = 0; position < 6; ++position) {
        if (shortIds[position])
            EXPECT_EQ(static_cast<int>(GetMenuItemID(shortContextMenu, position)), shortIds[position]);
        else
            EXPECT_TRUE(GetMenuState(shortContextMenu, position, MF_BYPOSITION) & MF_SEPARATOR);
    }
    EXPECT_EQ(GetMenuDefaultItem(shortContextMenu, TRUE, 0), 0u);
}

TEST_F(MainWindow, LabelsComeFromTheStringTable)
{
    const struct {
        int id;
        const char *text;
    } labels[] = {
        {4002, "&Options..."}, {4003, "&Refresh Bookmarks"}, {4004, "&About..."}, {4005, "E&xit"},
        {4006, "&Properties..."}, {4007, "&Browse To Bookmark"}, {4008, "&Search Bookmarks..."},
        {4009, "Copy Bookmark &Name"}, {4010, "Copy Bookmark &Location"}, {4011, "Copy Bookmark as &HTML"},
        {4012, "&Verify Bookmarks..."}, {4013, "&Quick URL Entry.."},
    };
    for (const auto &label : labels) {
        char text[64] = "";
        LoadStringA(appInstance, label.id, text, sizeof text);
        EXPECT_STREQ(text, label.text) << label.id;
        EXPECT_NE(LoadImageA(appInstance, MAKEINTRESOURCEA(label.id), IMAGE_ICON, 16, 16, 0), nullptr)
            << "icon " << label.id;
    }
}

TEST_F(MainWindow, TrayMenuDefaultFollowsTheDoubleClickAction)
{
    // Closes the tray menu as soon as it shows, after reading its default item.
    static UINT seenDefault;
    seenDefault = 0;
    settings.doubleClickAction = IDC_CMD_VERIFY;
    UINT_PTR canceller = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND menu = FindWindowA("#32768", nullptr)) {
            seenDefault = GetMenuDefaultItem(trayMenu, FALSE, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    });
    EXPECT_EQ(PopupTrayMenu(), 1);
    KillTimer(nullptr, canceller);
    EXPECT_EQ(seenDefault, static_cast<UINT>(IDC_CMD_VERIFY));
    EXPECT_FALSE(modalOpen);
}

TEST_F(MainWindow, BookmarkCommandsNameTablePositionsPlusOne)
{
    BookmarkEntry entries[3] = {};
    char name[] = "n", site[] = "http://example.com/", separator[] = "Separator";
    entries[0].name = name;
    entries[0].url = site;
    entries[1].name = name;
    entries[1].url = separator;
    entries[2].name = name;
    entries[2].url = site;
    BookmarkEntry *savedEntries = bookmarkTable.entries;
    int savedCount = bookmarkTable.entryCount;
    bookmarkTable.entries = entries;
    bookmarkTable.entryCount = 3;
    const struct {
        int command, position;
    } rows[] = {{0, -1}, {1, 0}, {2, -1}, {3, 2}, {4, -1}, {-5, -1}, {100000, -1}};
    for (const auto &row : rows)
        EXPECT_EQ(BookmarkPositionFromCommand(row.command), row.position) << "command " << row.command;
    bookmarkTable.entries = savedEntries;
    bookmarkTable.entryCount = savedCount;
}

}  // namespace
