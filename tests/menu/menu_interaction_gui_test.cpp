// The hooks, first-letter jumps, context-menu targets and submenu placement on real menus under the menu loop.
#include "base/settings.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>  // owner_draw.h names HIMAGELIST

#include "bookmarks/bookmark_table.h"
#include "menu/menu_builder.h"
#include "menu/menu_interaction.h"
#include "menu/owner_draw.h"
#include "app/popup_menus.h"
#include "app/shell.h"
#include "tests/tools/interact_standins.h"
#include "tools/context_menu.h"

namespace {

class MenuInteractionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateTestShell();
        settings.menuStyle = MENU_STYLE_FANCY;
        settings.repositionSubmenus = 0;
        menuCharResults.clear();
        itemContextRequests.clear();
        itemContextEntries.clear();
        handledCommands.clear();
        cancelModeCount = 0;
        highlightedEntry = 0;
    }
    void TearDown() override
    {
        FreeTestTable();
        DestroyTestShell();
    }
    // Root: Alpha, Beta, Apple, "" (no item), Docs {dog}, separator; ids are positions + 1.
    void MakeAlphaBetaApple()
    {
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_NETSCAPE);
        for (auto row : {std::pair{"Alpha", "http://alpha/"}, {"Beta", "http://beta/"}, {"Apple", "http://apple/"},
                         {"", "http://nameless/"}, {"Docs", OPEN_FOLDER}, {"dog", "http://dog/"},
                         {CLOSE_FOLDER, CLOSE_FOLDER}, {SEPARATOR, SEPARATOR}, {CLOSE_FOLDER, CLOSE_FOLDER}})
            AppendRecord(cursor, row.first, row.second);
        BuildTestMenus();
    }
    // Tracks the bookmark menu as PopupBookmarkMenu does, while another thread types into it.
    int TrackBookmarkMenu(std::vector<MenuKey> keys, int x = 100, int y = 100)
    {
        std::thread driver = DriveMenu(std::move(keys));
        SetForegroundWindow(mainWindow);
        bookmarkMenuOpen = true;
        int result = TrackPopupMenuEx(static_cast<HMENU>(bookmarkTable.rootMenu), TPM_RETURNCMD, x, y, mainWindow, nullptr);
        bookmarkMenuOpen = false;
        highlightedEntry = 0;
        driver.join();
        return result;
    }
    int TrackCommandMenu(HMENU menu, std::vector<MenuKey> keys)
    {
        std::thread driver = DriveMenu(std::move(keys));
        SetForegroundWindow(mainWindow);
        int result = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 200, 200, 0, mainWindow, nullptr);
        driver.join();
        return result;
    }
};

MenuKey Char(char c) { return {WM_CHAR, static_cast<WPARAM>(c)}; }
MenuKey Key(WPARAM vk) { return {WM_KEYDOWN, vk}; }

TEST_F(MenuInteractionTest, RepeatedLetterCyclesAndUniqueLetterRuns)
{
    MakeAlphaBetaApple();
    // Wine's menu loop acts on MNC_EXECUTE but not on MNC_SELECT, so the test moves the highlight where
    // Windows would have put it with the arrow keys, and checks what the menu was told each time.
    int result = TrackBookmarkMenu({Key(VK_DOWN), Char('a'),           // Alpha highlighted: a selects Apple
                                    Key(VK_DOWN), Key(VK_DOWN), Char('a'),  // Apple highlighted: a wraps to Alpha
                                    Key(VK_UP), Key(VK_UP), Char('A'),      // Alpha again: A selects Apple
                                    Char('b')});                         // unique: Beta runs at once
    std::vector<LRESULT> expected = {MAKELRESULT(2, MNC_SELECT), MAKELRESULT(0, MNC_SELECT),
                                     MAKELRESULT(2, MNC_SELECT), MAKELRESULT(1, MNC_EXECUTE)};
    EXPECT_EQ(menuCharResults, expected);
    EXPECT_EQ(result, CommandIdForEntry(1));
}

TEST_F(MenuInteractionTest, FirstEntryIsReachableByItsLetter)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "Zulu", "http://zulu/");
    AppendRecord(cursor, "Yankee", "http://yankee/");
    BuildTestMenus();
    int result = TrackBookmarkMenu({Char('z')});
    EXPECT_EQ(result, 1);  // command id 1, which a cancelled menu's 0 cannot be mistaken for
    EXPECT_EQ(EntryForCommandId(result), 0);
}

TEST_F(MenuInteractionTest, UnknownLetterIsIgnoredAndFolderLetterOpensIt)
{
    MakeAlphaBetaApple();
    int result = TrackBookmarkMenu({Char('z'), Char('d'), Char('d'), Key(VK_ESCAPE), Key(VK_ESCAPE)});
    ASSERT_EQ(menuCharResults.size(), 3u);
    EXPECT_EQ(menuCharResults[0], 0);                             // z: nothing starts with it
    EXPECT_EQ(menuCharResults[1], MAKELRESULT(3, MNC_EXECUTE));   // d in the root: the Docs folder
    EXPECT_EQ(menuCharResults[2], MAKELRESULT(0, MNC_EXECUTE));   // d inside Docs: dog
    EXPECT_EQ(result, CommandIdForEntry(5));
}

TEST_F(MenuInteractionTest, TrayMenuLettersAndGrayedItem)
{
    EXPECT_EQ(TrackCommandMenu(trayMenu, {Char('x')}), 4005);
    EXPECT_EQ(menuCharResults.back(), MAKELRESULT(9, MNC_EXECUTE));

    EnableMenuItem(trayMenu, 4005, MF_BYCOMMAND | MF_GRAYED);
    menuCharResults.clear();
    EXPECT_EQ(TrackCommandMenu(trayMenu, {Char('x'), Key(VK_ESCAPE)}), 0);
    ASSERT_EQ(menuCharResults.size(), 1u);
    EXPECT_EQ(menuCharResults[0], 0);
    EnableMenuItem(trayMenu, 4005, MF_BYCOMMAND | MF_ENABLED);
}

TEST_F(MenuInteractionTest, CommandMenuLetterTable)
{
    struct Case {
        HMENU *menu;
        char letter;
        LRESULT expected;
    } cases[] = {
        {&trayMenu, 's', MAKELRESULT(0, MNC_EXECUTE)},       {&trayMenu, 'V', MAKELRESULT(1, MNC_EXECUTE)},
        {&trayMenu, 'q', MAKELRESULT(4, MNC_EXECUTE)},       {&trayMenu, 'o', MAKELRESULT(5, MNC_EXECUTE)},
        {&trayMenu, 'a', MAKELRESULT(7, MNC_EXECUTE)},       {&trayMenu, 'X', MAKELRESULT(9, MNC_EXECUTE)},
        {&trayMenu, 'e', 0},                                 {&itemContextMenu, 'b', MAKELRESULT(0, MNC_EXECUTE)},
        {&itemContextMenu, 'p', MAKELRESULT(1, MNC_EXECUTE)}, {&itemContextMenu, 'n', MAKELRESULT(3, MNC_EXECUTE)},
        {&itemContextMenu, 'L', MAKELRESULT(4, MNC_EXECUTE)}, {&itemContextMenu, 'h', MAKELRESULT(5, MNC_EXECUTE)},
        {&itemContextMenu, 'r', MAKELRESULT(7, MNC_EXECUTE)}, {&shortContextMenu, 'r', 0},
        {&shortContextMenu, 'h', MAKELRESULT(5, MNC_EXECUTE)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OnCommandMenuChar(MAKEWPARAM(c.letter, MF_POPUP), reinterpret_cast<LPARAM>(*c.menu)), c.expected)
            << c.letter;
}

TEST_F(MenuInteractionTest, KeyboardHookAsksOnEveryOtherContextKeyRelease)
{
    const LPARAM release = static_cast<LPARAM>(static_cast<DWORD>(KF_MENUMODE | KF_UP) << 16);
    const LPARAM press = static_cast<LPARAM>(static_cast<DWORD>(KF_MENUMODE) << 16);
    const LPARAM outsideMenu = static_cast<LPARAM>(static_cast<DWORD>(KF_UP) << 16);
    // Calls that must not count: a press, a release outside menu mode, another key, a negative code.
    KeyboardHookProc(HC_ACTION, VK_APPS, press);
    KeyboardHookProc(HC_ACTION, VK_APPS, outsideMenu);
    KeyboardHookProc(HC_ACTION, VK_RETURN, release);
    KeyboardHookProc(-1, VK_APPS, release);
    EXPECT_TRUE(itemContextRequests.empty());

    bool toggle = contextKeyToggle;  // never reset, so an earlier test may have left it either way
    int asked = 0;
    for (int i = 0; i < 4; i++) {
        size_t before = itemContextRequests.size();
        KeyboardHookProc(HC_ACTION, VK_APPS, release);
        bool sent = itemContextRequests.size() > before;
        EXPECT_EQ(sent, !toggle) << "release " << i;
        if (sent) {
            EXPECT_EQ(itemContextRequests.back(), 0);
            asked++;
        }
        toggle = !toggle;
        EXPECT_EQ(contextKeyToggle, toggle);
    }
    EXPECT_EQ(asked, 2);
    contextFromKeyboard = false;
}

TEST_F(MenuInteractionTest, MouseHookSendsTheRightButtonReleasePoint)
{
    MOUSEHOOKSTRUCT record = {};
    record.pt = {300, 200};
    MouseHookProc(HC_ACTION, WM_RBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
    MouseHookProc(-1, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&record));
    EXPECT_TRUE(itemContextRequests.empty());
    MouseHookProc(HC_ACTION, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&record));
    ASSERT_EQ(itemContextRequests.size(), 1u);
    EXPECT_EQ(itemContextRequests[0], MAKELPARAM(300, 200));

    // A point on a monitor left of the primary one survives the trip through the message's words.
    SetContextMenuTarget(MAKELPARAM(-40, 25));
    EXPECT_EQ(targetX, -40);
    EXPECT_EQ(targetY, 25);
}

std::vector<int> probed;

TEST_F(MenuInteractionTest, FindHighlightedEntrySkipsFoldersAndNamelessRecords)
{
    MakeAlphaBetaApple();
    EXPECT_EQ(FindHighlightedEntry(), -1);  // nothing highlighted while no menu is open
    probed.clear();
    testProbe = [](WPARAM) { probed.push_back(FindHighlightedEntry()); };
    std::vector<MenuKey> keys;
    for (int step = 0; step < 5; step++) {
        keys.push_back(Key(VK_DOWN));
        keys.push_back({MSG_TEST_PROBE, 0});
    }
    keys.push_back(Key(VK_ESCAPE));
    TrackBookmarkMenu(keys);
    testProbe = nullptr;
    // Down steps: Alpha, Beta, Apple, Docs (a folder: none), then round to Alpha past the separator.
    std::vector<int> expected = {0, 1, 2, -1, 0};
    EXPECT_EQ(probed, expected);
}

// The context menu over the open bookmark menu: where it opens and what it acts on. (Wine ends the outer
// menu when a TPM_RECURSE menu closes, even on Escape, so whether the bookmark menu stays open afterwards
// cannot be checked here.)
struct NestedMenuSeen {
    size_t menusOpen = 0;  // while the context menu is up
    RECT contextMenu = {};
};

std::thread WatchNestedMenu(NestedMenuSeen &seen, char command)
{
    return std::thread([&seen, command] {
        for (int waited = 0; waited < 4000 && VisibleMenuWindows().size() < 2; waited += 20)
            Sleep(20);
        Sleep(150);
        std::vector<HWND> open = VisibleMenuWindows();
        seen.menusOpen = open.size();
        if (open.size() >= 2) {
            GetWindowRect(open.front(), &seen.contextMenu);
            PostMessageA(open.front(), WM_CHAR, command, 0);
            Sleep(400);
        }
        for (HWND menu : VisibleMenuWindows())
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
}

TEST_F(MenuInteractionTest, RightClickOnABookmarkOpensItsMenuAtThePointer)
{
    MakeAlphaBetaApple();
    CopyTextToClipboard("before");
    NestedMenuSeen seen;
    std::thread watcher = WatchNestedMenu(seen, 'l');
    testProbe = [](WPARAM) {
        MOUSEHOOKSTRUCT record = {};
        record.pt = {300, 250};
        MouseHookProc(HC_ACTION, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&record));
    };
    int result = TrackBookmarkMenu({Key(VK_DOWN), Key(VK_DOWN), {MSG_TEST_PROBE, 0}});
    watcher.join();
    testProbe = nullptr;
    EXPECT_EQ(result, 0);
    ASSERT_EQ(itemContextEntries.size(), 1u);
    EXPECT_EQ(itemContextEntries[0], 1);  // Beta
    EXPECT_EQ(seen.menusOpen, 2u);
    EXPECT_EQ(seen.contextMenu.left, 300);
    EXPECT_EQ(seen.contextMenu.top, 250);
    EXPECT_EQ(ReadClipboardText(), "http://beta/");
}

TEST_F(MenuInteractionTest, RightClickOnAFolderDoesNothing)
{
    MakeAlphaBetaApple();
    testProbe = [](WPARAM) {
        MOUSEHOOKSTRUCT record = {};
        record.pt = {300, 250};
        MouseHookProc(HC_ACTION, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&record));
    };
    TrackBookmarkMenu({Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), {MSG_TEST_PROBE, 0}, Key(VK_ESCAPE),
                       Key(VK_ESCAPE)});
    testProbe = nullptr;
    ASSERT_EQ(itemContextEntries.size(), 1u);
    EXPECT_EQ(itemContextEntries[0], -1);
}

TEST_F(MenuInteractionTest, ContextKeyOpensTheMenuAtTheItemPastTheSideBar)
{
    settings.menuStyle = MENU_STYLE_VERY_FANCY;
    MakeAlphaBetaApple();
    CopyTextToClipboard("before");
    NestedMenuSeen seen;
    std::thread watcher = WatchNestedMenu(seen, 'n');
    static RECT apple;
    testProbe = [](WPARAM) {
        GetMenuItemRect(FindWindowA("#32768", nullptr), static_cast<HMENU>(bookmarkTable.rootMenu), 2, &apple);
        const LPARAM release = static_cast<LPARAM>(static_cast<DWORD>(KF_MENUMODE | KF_UP) << 16);
        if (contextKeyToggle)
            KeyboardHookProc(HC_ACTION, VK_APPS, release);  // the second release of a pair asks for nothing
        KeyboardHookProc(HC_ACTION, VK_APPS, release);
    };
    TrackBookmarkMenu({Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), {MSG_TEST_PROBE, 0}});
    watcher.join();
    testProbe = nullptr;
    ASSERT_EQ(itemContextEntries.size(), 1u);
    EXPECT_EQ(itemContextEntries[0], 2);  // Apple
    EXPECT_FALSE(contextFromKeyboard);
    EXPECT_EQ(seen.menusOpen, 2u);
    EXPECT_EQ(seen.contextMenu.left, apple.left + 24);  // right of the side bar of the root's first column
    EXPECT_EQ(seen.contextMenu.top, apple.top);
    EXPECT_EQ(ReadClipboardText(), "Apple");
}

// What the opened submenu looked like, read on the menu loop's thread once it has been placed.
struct SubmenuSeen {
    size_t menusOpen = 0;
    RECT root = {}, submenu = {}, folderItem = {};
    bool screenUnlocked = false;
};
SubmenuSeen submenuSeen;

void ReadSubmenuPlacement(WPARAM)
{
    std::vector<HWND> open = VisibleMenuWindows();
    submenuSeen.menusOpen = open.size();
    if (open.size() < 2)
        return;
    GetWindowRect(open[0], &submenuSeen.submenu);
    GetWindowRect(open[1], &submenuSeen.root);
    GetMenuItemRect(open[1], static_cast<HMENU>(bookmarkTable.rootMenu), 1, &submenuSeen.folderItem);
    // Drawing must have been unlocked by the placement: only then can another lock be taken.
    submenuSeen.screenUnlocked = LockWindowUpdate(GetDesktopWindow());
    LockWindowUpdate(nullptr);
}

class SubmenuPlacementTest : public MenuInteractionTest {
protected:
    void MakeWideRootWithFolder(const char *innerName)
    {
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_NETSCAPE);
        AppendRecord(cursor, "A long bookmark name that makes the whole column wide", "http://long/");
        AppendRecord(cursor, "Docs", OPEN_FOLDER);
        AppendRecord(cursor, innerName, "http://inner/");
        AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
        BuildTestMenus();
    }
    SubmenuSeen OpenDocs(int x)
    {
        submenuSeen = SubmenuSeen();
        testProbe = ReadSubmenuPlacement;
        TrackBookmarkMenu({Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), {MSG_TEST_PROBE, 0}, Key(VK_ESCAPE),
                           Key(VK_ESCAPE)}, x, 100);
        testProbe = nullptr;
        return submenuSeen;
    }
};

TEST_F(SubmenuPlacementTest, OpensJustRightOfTheFolderNameAtTheSystemsHeight)
{
    MakeWideRootWithFolder("dog");
    SubmenuSeen natural = OpenDocs(100);
    settings.repositionSubmenus = 1;
    SubmenuSeen placed = OpenDocs(100);

    ASSERT_EQ(natural.menusOpen, 2u);
    ASSERT_EQ(placed.menusOpen, 2u);
    EXPECT_GE(natural.submenu.left, natural.root.right - 8);  // the system's place: beside the whole column
    EXPECT_EQ(placed.submenu.left, targetX);
    EXPECT_EQ(placed.submenu.top, natural.submenu.top);
    EXPECT_EQ(placed.submenu.right - placed.submenu.left, natural.submenu.right - natural.submenu.left);
    // Past the icon cell, the gap and the icon, and a four-letter name, well inside the wide column.
    int nameStart = placed.folderItem.left + (placed.folderItem.bottom - placed.folderItem.top) + 5 + 16;
    EXPECT_GT(targetX, nameStart);
    EXPECT_LT(targetX, nameStart + 60);
    EXPECT_TRUE(placed.screenUnlocked);
}

TEST_F(SubmenuPlacementTest, PushedLeftToFitTheWorkArea)
{
    MakeWideRootWithFolder("An equally long bookmark name inside the folder, also wide");
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    settings.repositionSubmenus = 1;
    SubmenuSeen first = OpenDocs(100);
    ASSERT_EQ(first.menusOpen, 2u);
    int rootWidth = first.root.right - first.root.left;
    SubmenuSeen placed = OpenDocs(work.right - rootWidth - 4);
    ASSERT_EQ(placed.menusOpen, 2u);
    ASSERT_GT(targetX + (placed.submenu.right - placed.submenu.left), work.right);  // would not fit
    EXPECT_EQ(placed.submenu.right, work.right);
    EXPECT_TRUE(placed.screenUnlocked);
}

}  // namespace
