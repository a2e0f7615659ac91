// The bookmark and list context menus, driven by keys posted to the menu window, and the clipboard texts
// they leave, read back from the clipboard.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/popup_menus.h"
#include "app/shell.h"
#include "bookmarks/bookmark_table.h"
#include "menu/menu_interaction.h"
#include "res/properties_ids.h"
#include "tests/tools/interact_standins.h"
#include "tools/context_menu.h"

namespace {

MenuKey Char(char c) { return {WM_CHAR, static_cast<WPARAM>(c)}; }
MenuKey Key(WPARAM vk) { return {WM_KEYDOWN, vk}; }

const char TRICKY_NAME[] = "Say \"hi\" <b>";
const char TRICKY_URL[] = "http://x/?a=\"1\"&b=<2>";

class ContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateTestShell();
        handledCommands.clear();
        launchedURLs.clear();
        cancelModeCount = 0;
        nestedMenusSupported = true;
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_NETSCAPE);
        AppendRecord(cursor, "Plain", "http://plain.example/");
        AppendRecord(cursor, TRICKY_NAME, TRICKY_URL);
        AppendRecord(cursor, "Third", "ftp://third.example/file");
        CopyTextToClipboard("before");
    }
    void TearDown() override
    {
        FreeTestTable();
        DestroyTestShell();
    }
    void RunBookmarkContextMenu(int position, std::vector<MenuKey> keys)
    {
        std::thread driver = DriveMenu(std::move(keys));
        modalOpen = TRUE;
        BookmarkContextMenu(position);
        driver.join();
    }
};

TEST_F(ContextMenuTest, CopyCommandsPutTheTextsOnTheClipboard)
{
    struct Case {
        char letter;
        const char *expected;
    } cases[] = {
        {'n', TRICKY_NAME},
        {'l', TRICKY_URL},
        {'h', "<A HREF=\"http://x/?a=\"1\"&b=<2>\">Say \"hi\" <b></A>"},
    };
    for (const Case &c : cases) {
        CopyTextToClipboard("before");
        RunBookmarkContextMenu(1, {Char(c.letter)});
        EXPECT_EQ(ReadClipboardText(), c.expected) << c.letter;
        EXPECT_EQ(modalOpen, FALSE) << c.letter;
    }
    EXPECT_TRUE(launchedURLs.empty());
    EXPECT_TRUE(handledCommands.empty());
}

TEST_F(ContextMenuTest, OpensAtTheTargetAndIsOpenOnlyWhileTracked)
{
    targetX = 321;
    targetY = 123;
    RECT where = {};
    bool openDuringTracking = false;
    std::thread watcher([&] {
        HWND menu = WaitForWindow("#32768", nullptr);
        if (!menu)
            return;
        Sleep(100);
        GetWindowRect(menu, &where);
        openDuringTracking = contextMenuOpen;
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    BookmarkContextMenu(0);
    watcher.join();
    EXPECT_EQ(where.left, 321);
    EXPECT_EQ(where.top, 123);
    EXPECT_TRUE(openDuringTracking);
    EXPECT_FALSE(contextMenuOpen);
    EXPECT_EQ(ReadClipboardText(), "before");  // dismissed: nothing is run
    EXPECT_TRUE(launchedURLs.empty());
}

TEST_F(ContextMenuTest, BrowseToClosesTheBookmarkMenuOnlyWhereMenusNest)
{
    RunBookmarkContextMenu(2, {Char('b')});
    EXPECT_EQ(cancelModeCount, 1);
    ASSERT_EQ(launchedURLs.size(), 1u);
    EXPECT_EQ(launchedURLs[0], "ftp://third.example/file");

    nestedMenusSupported = false;  // Windows 95 and NT 4.0 closed the bookmark menu before this one opened
    RunBookmarkContextMenu(0, {Char('B')});
    EXPECT_EQ(cancelModeCount, 1);
    ASSERT_EQ(launchedURLs.size(), 2u);
    EXPECT_EQ(launchedURLs[1], "http://plain.example/");
}

TEST_F(ContextMenuTest, RefreshAndAboutGoToTheCommandHandler)
{
    RunBookmarkContextMenu(0, {Char('r')});
    RunBookmarkContextMenu(0, {Char('a')});
    std::vector<int> expected = {4003, 4004};
    EXPECT_EQ(handledCommands, expected);
}

TEST_F(ContextMenuTest, PropertiesOpensTheDialogForThePosition)
{
    std::string shownName, shownFolder;
    bool busyWhileOpen = false;
    std::thread closer([&] {
        HWND dialog = WaitForWindow("#32770", "Bookmark Properties");
        if (!dialog)
            return;
        char text[256] = "";
        GetDlgItemTextA(dialog, IDC_PROPERTIES_NAME, text, sizeof text);
        shownName = text;
        GetDlgItemTextA(dialog, IDC_PROPERTIES_FOLDER, text, sizeof text);
        shownFolder = text;
        busyWhileOpen = modalOpen && modalWindow == dialog;
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    RunBookmarkContextMenu(2, {Char('p')});
    closer.join();
    EXPECT_EQ(shownName, "Third");
    EXPECT_EQ(shownFolder, "<none>");
    EXPECT_TRUE(busyWhileOpen);
    EXPECT_EQ(modalOpen, FALSE);
    EXPECT_EQ(modalWindow, nullptr);
}

TEST_F(ContextMenuTest, StalePositionRunsNothing)
{
    RunBookmarkContextMenu(7, {Char('n')});
    RunBookmarkContextMenu(-1, {Char('b')});
    EXPECT_EQ(ReadClipboardText(), "before");
    EXPECT_TRUE(launchedURLs.empty());
}

// A result list like the Search and Verify dialogs' own: rows whose parameter is the table position.
class ListContextMenuTest : public ContextMenuTest {
protected:
    HWND host = nullptr, list = nullptr;
    void SetUp() override
    {
        ContextMenuTest::SetUp();
        host = CreateWindowA("STATIC", "results", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                             appInstance, nullptr);
        list = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200, host, nullptr,
                             appInstance, nullptr);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 200;
        column.pszText = const_cast<char *>("Name");
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        // Rows in another order than the table, as a sorted result list has them.
        int positions[] = {2, 0, 1};
        for (int row = 0; row < 3; row++) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = row;
            item.pszText = bookmarkTable.entries[positions[row]].name;
            item.lParam = positions[row];
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    void TearDown() override
    {
        DestroyWindow(host);
        ContextMenuTest::TearDown();
    }
    void SelectRow(int row)
    {
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    void RunListContextMenu(std::vector<MenuKey> keys)
    {
        std::thread driver = DriveMenu(std::move(keys));
        ListContextMenu(host, list);
        driver.join();
    }
};

TEST_F(ListContextMenuTest, CommandsActOnTheSelectedRowsBookmark)
{
    SelectRow(2);  // the tricky bookmark, table position 1
    RunListContextMenu({Char('h')});
    EXPECT_EQ(ReadClipboardText(), "<A HREF=\"http://x/?a=\"1\"&b=<2>\">Say \"hi\" <b></A>");
    RunListContextMenu({Char('n')});
    EXPECT_EQ(ReadClipboardText(), TRICKY_NAME);

    SelectRow(0);  // table position 2
    RunListContextMenu({Char('b')});
    ASSERT_EQ(launchedURLs.size(), 1u);
    EXPECT_EQ(launchedURLs[0], "ftp://third.example/file");
    EXPECT_EQ(cancelModeCount, 0);  // there is no bookmark menu to close
}

TEST_F(ListContextMenuTest, ShortMenuHasNoRefreshOrAbout)
{
    SelectRow(1);
    menuCharResults.clear();
    RunListContextMenu({Char('r'), Char('a'), Key(VK_ESCAPE)});
    std::vector<LRESULT> ignored = {0, 0};  // the tracked menu has no item for either letter
    EXPECT_EQ(menuCharResults, ignored);
    EXPECT_TRUE(handledCommands.empty());
    EXPECT_EQ(ReadClipboardText(), "before");
}

TEST_F(ListContextMenuTest, NoSelectedRowRunsNothing)
{
    RunListContextMenu({Char('l')});
    EXPECT_EQ(ReadClipboardText(), "before");
    RunListContextMenu({Char('b')});
    EXPECT_TRUE(launchedURLs.empty());
}

}  // namespace
