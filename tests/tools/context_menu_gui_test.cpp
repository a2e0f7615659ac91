// The bookmark and list context menus of the program's own main window, driven by keys posted to the menu
// window: the clipboard texts they leave, the browser launches and the commands they hand back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "base/app_state.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "menu/menu_interaction.h"
#include "res/properties_ids.h"
#include "tests/support/dialog_driver_win.h"
#include "tests/support/import_redirect_win.h"
#include "tests/support/win_test_helpers.h"
#include "tools/context_menu.h"

const char NAME[] = "Say \"hi\" <b>", URL[] = "http://x/?a=\"1\"&b=<2>", ANCHOR[] = "<A HREF=\"http://x/?a=\"1\"&b=<2>\">Say \"hi\" <b></A>";

// The flags of the last popup menu tracked: whether it may open over another one is up to the program.
UINT trackedFlags;
decltype(&TrackPopupMenu) realTrackPopupMenu;
BOOL WINAPI RecordTrack(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT *rect)
{
    trackedFlags = flags;
    return realTrackPopupMenu(menu, flags, x, y, reserved, owner, rect);
}

// The shell once with a table of Plain, a bookmark with quotes and brackets, and Third; the clipboard
// holds "before"; WM_CANCELMODE and the menu letters are watched.
void Prepare()
{
    if (!mainWindow) {
        StartTestShell();
        StartRecordingLaunches();
        realTrackPopupMenu = decltype(&TrackPopupMenu)(RedirectImport("user32.dll", "TrackPopupMenu", reinterpret_cast<void *>(RecordTrack)));
        settings.startupStyle = SW_SHOWNORMAL;
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_NETSCAPE);
        AppendLines(SOURCE_NETSCAPE, {"Plain"});
        AppendRecord(cursor, NAME, URL);
        AppendLines(SOURCE_NETSCAPE, {"Third"});
    }
    nestedMenusSupported = true;
    CopyTextToClipboard("before");
    WatchMessages(mainWindow, {WM_CANCELMODE, WM_MENUCHAR});
}

// BookmarkContextMenu while another thread takes the steps; it must clear the busy flag it finds set.
int Track(int position, std::vector<MenuStep> steps)
{
    std::thread driver = DriveMenu(std::move(steps));
    modalOpen = TRUE;
    int shellCommand = BookmarkContextMenu(position);
    driver.join();
    EXPECT_FALSE(modalOpen);
    return shellCommand;
}

size_t Seen(UINT message)
{
    return std::count_if(seenMessages.begin(), seenMessages.end(), [message](const SeenMessage &m) { return m.message == message; });
}

TEST(ContextMenu, CopiesBrowsesShowsPropertiesAndHandsBackTheShellsCommandsForTheBookmarkAtPosition)
{
    Prepare();
    std::string properties;  // what the Properties dialog showed, and whether it opened modally over the main window
    MessageBoxAnswerer answerer("Bookmark Properties", [&](HWND dialog) {
        bool busy = modalOpen && modalWindow == dialog && GetWindow(dialog, GW_OWNER) == mainWindow;
        properties = ItemText(dialog, IDC_PROPERTIES_NAME) + " in " + ItemText(dialog, IDC_PROPERTIES_FOLDER) + (busy ? ", busy" : "");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    const struct { int position; char letter; const char *clipboard; int shellCommand; const char *launch; } rows[] = {
        {1, 'n', NAME, 0, ""}, {1, 'l', URL, 0, ""}, {1, 'h', ANCHOR, 0, ""}, {0, 'r', "before", 4003, ""}, {0, 'a', "before", 4004, ""},
        {7, 'n', "before", 0, ""}, {-1, 'l', "before", 0, ""},  // positions from a table a refresh replaced
        {2, 'p', "before", 0, ""}, {2, 'b', "before", 0, "tresktest://Third/|1"},
    };
    for (const auto &row : rows) {
        CopyTextToClipboard("before");
        EXPECT_EQ(Track(row.position, {Char(row.letter)}), row.shellCommand) << row.letter << row.position;
        EXPECT_EQ(ReadClipboardText(), row.clipboard) << row.letter << row.position;
        EXPECT_EQ(*row.launch ? NextLaunch() : "", row.launch) << row.letter << row.position;
    }
    EXPECT_EQ(properties, "Third in <none>, busy");
    EXPECT_EQ(modalWindow, nullptr);
    EXPECT_EQ(Seen(WM_CANCELMODE), 2u) << "Properties and Browse close the bookmark menu";
    EXPECT_EQ(trackedFlags, UINT(TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_RECURSE)) << "opens over the open bookmark menu";
    nestedMenusSupported = false;  // Windows 95 and NT 4.0 closed the bookmark menu before this one opened
    Track(0, {Char('B')});
    EXPECT_EQ(NextLaunch(), "tresktest://Plain/|1");
    EXPECT_EQ(Seen(WM_CANCELMODE), 2u);
    EXPECT_EQ(trackedFlags, UINT(TPM_RETURNCMD | TPM_RIGHTBUTTON));
}

// A result list like those of the Search and Verify dialogs: each row's parameter indexes the list's copies.
TEST(ContextMenu, ListMenuActsOnTheSelectedRowAndHasNoShellCommands)
{
    Prepare();
    HWND list = CreateWindowA(WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr, nullptr, appInstance, nullptr);
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    for (item.iItem = 0; item.iItem < 3; item.iItem++)
        item.lParam = 2 - item.iItem, SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));  // in another order than the table
    std::vector<BookmarkCopy> copies = {CopyBookmark(0), CopyBookmark(1), CopyBookmark(2)};
    auto runList = [list, &copies](int selected, char letter) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, selected, LVIS_SELECTED, LVIS_SELECTED);
        std::thread driver = DriveMenu({Char(letter)});
        ListContextMenu(nullptr, list, copies);
        driver.join();
    };
    runList(99, 'l');  // a row that does not exist: none selected
    EXPECT_EQ(ReadClipboardText(), "before") << "no row selected";
    runList(1, 'h');
    EXPECT_EQ(ReadClipboardText(), ANCHOR);
    runList(0, 'b');
    EXPECT_EQ(NextLaunch(), "tresktest://Third/|1");
    EXPECT_EQ(Seen(WM_CANCELMODE), 0u) << "there is no bookmark menu to close";
    runList(2, 'r');
    runList(2, 'a');
    EXPECT_EQ(seenMessages.back().result + seenMessages[seenMessages.size() - 2].result, 0) << "no Refresh, no About";
    DestroyWindow(list);
}

