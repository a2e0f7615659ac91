// The real bookmark menu of the program's own main window, opened by a tray click, driven by keys posted
// to it from another thread: first-letter jumps, context menus asked for by the hooks, submenu placement,
// and the side bar as the animation paints it, photographed while open. Then the bookmark and list context
// menus themselves: the clipboard texts they leave, the browser launches and the commands they hand back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/popup_menus.h"
#include "base/app_state.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "menu/menu_builder.h"
#include "menu/menu_interaction.h"
#include "res/properties_ids.h"
#include "res/resource.h"
#include "tests/support/dialog_driver_win.h"
#include "tests/support/import_redirect_win.h"
#include "tests/support/win_test_helpers.h"
#include "tools/context_menu.h"

const LPARAM CONTEXT_KEY_UP = LPARAM(DWORD(KF_MENUMODE | KF_UP) << 16);

// The flags of the last popup menu tracked: whether it may open over another one is up to the program.
UINT trackedFlags;
decltype(&TrackPopupMenu) realTrackPopupMenu;
BOOL WINAPI RecordTrack(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT *rect)
{
    trackedFlags = flags;
    return realTrackPopupMenu(menu, flags, x, y, reserved, owner, rect);
}

// The shell once, then a fresh table of `lines` built in `style`, the clipboard holding "before"; the
// menu letters, the context requests and WM_CANCELMODE are watched.
void Prepare(int style, const std::vector<std::string> &lines)
{
    static bool started = false;
    if (!started) {
        StartTestShell(), StartRecordingLaunches(), started = true;
        realTrackPopupMenu = decltype(&TrackPopupMenu)(RedirectImport("user32.dll", "TrackPopupMenu", reinterpret_cast<void *>(RecordTrack)));
    }
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    settings = Settings();
    settings.menuStyle = style;
    settings.startupStyle = SW_SHOWNORMAL;
    contextKeyToggle = false;
    nestedMenusSupported = true;
    AppendLines(SOURCE_NETSCAPE, lines);
    BuildBookmarkMenus();
    CopyTextToClipboard("before");
    WatchMessages(mainWindow, {WM_MENUCHAR, MSG_ITEM_CONTEXT, WM_CANCELMODE});
}

// A left click on the tray icon with the pointer at (x, 100), while another thread takes the steps.
void OpenBookmarkMenu(std::vector<MenuStep> steps, int x = 100)
{
    SetCursorPos(x, 100);
    DriveMenu(std::move(steps), [] { return int(SendMessageA(mainWindow, MSG_TRAY_NOTIFY, 0, WM_LBUTTONUP)); });
}

std::vector<LRESULT> Seen(UINT message)
{
    std::vector<LRESULT> seen;
    for (const SeenMessage &m : seenMessages)
        if (m.message == message)
            seen.push_back(message == WM_MENUCHAR ? m.result : m.lParam);
    return seen;
}

MenuStep RightButton()
{
    return Act([] {
        MOUSEHOOKSTRUCT mouse = {{300, 250}, nullptr, 0, 0};
        MouseHookProc(HC_ACTION, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&mouse));
    });
}

TEST(MenuInteraction, LettersJumpAndTheRightButtonOpensABookmarksMenuAtThePointer)
{
    Prepare(MENU_STYLE_FANCY, {"Zulu", "Alpha", "Beta", "Apple", "", "[Docs", "dog", "dot", "]", "-"});
    std::string seen;  // the menus open after each right button, and where the context menu opened
    auto look = [&seen] {
        std::vector<HWND> open = VisibleMenuWindows();
        RECT r = {};
        GetWindowRect(open.empty() ? nullptr : open.front(), &r);
        seen += std::to_string(open.size()) + (contextMenuOpen ? " at " + std::to_string(r.left) + "," + std::to_string(r.top) : "") + ";";
    };
    // Apple highlighted: a wraps to Alpha, a selection Wine's menu loop leaves to the arrow keys.
    OpenBookmarkMenu({Key(VK_UP), RightButton(), Act(look), Key(VK_UP), Char('a'), RightButton(), Act(look), Char('l')});
    EXPECT_EQ(seen, "1;2 at 300,250;") << "nothing for a folder; over the open menu at the pointer for a bookmark";
    EXPECT_FALSE(contextMenuOpen) << "only while it is tracked";
    EXPECT_EQ(ReadClipboardText(), "tresktest://Apple/");
    EXPECT_EQ(Seen(WM_MENUCHAR).front(), MAKELRESULT(1, MNC_SELECT));
    seenMessages.clear();
    settings.snapMenuLeft = 1;  // the menu opens at the screen's left edge, the pointer just inside it
    POINT pointer = {};
    RECT root = {};
    // No q; d opens Docs, whose first item dog is highlighted: d selects dot; back in the root z runs Zulu, the first entry.
    OpenBookmarkMenu({Act([&] { GetCursorPos(&pointer), GetWindowRect(VisibleMenuWindows().back(), &root); }), Char('q'), Char('d'), Char('d'),
                      Key(VK_LEFT), Char('z')});
    EXPECT_EQ(std::to_string(root.left) + " " + std::to_string(pointer.x) + "," + std::to_string(pointer.y), "0 10,110");
    EXPECT_EQ(Seen(WM_MENUCHAR), (std::vector<LRESULT>{0, MAKELRESULT(4, MNC_EXECUTE), MAKELRESULT(1, MNC_SELECT), MAKELRESULT(0, MNC_EXECUTE)}));
    EXPECT_EQ(NextLaunch(), "tresktest://Zulu/|1");
    // The system drew Plain items and took the "&A" of Q&A for a mnemonic: a ran Q&A instead of AT&T.
    Prepare(MENU_STYLE_PLAIN, {"Q&A", "AT&T"});
    OpenBookmarkMenu({Char('a')});
    EXPECT_EQ(NextLaunch(), "tresktest://AT&T/|1");
}

TEST(MenuInteraction, HooksAskOnTheRightButtonAndEveryOtherContextKeyRelease)
{
    Prepare(MENU_STYLE_FANCY, {});
    KeyboardHookProc(HC_ACTION, VK_APPS, LPARAM(DWORD(KF_MENUMODE) << 16));  // a press
    KeyboardHookProc(HC_ACTION, VK_APPS, LPARAM(DWORD(KF_UP) << 16));        // a release outside menus
    KeyboardHookProc(HC_ACTION, VK_RETURN, CONTEXT_KEY_UP);
    KeyboardHookProc(-1, VK_APPS, CONTEXT_KEY_UP);
    MOUSEHOOKSTRUCT mouse = {{-40, 250}, nullptr, 0, 0};  // a monitor left of the primary one
    MouseHookProc(HC_ACTION, WM_RBUTTONDOWN, reinterpret_cast<LPARAM>(&mouse));
    MouseHookProc(-1, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&mouse));
    MouseHookProc(HC_ACTION, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&mouse));
    std::vector<LRESULT> asked = {LRESULT(Seen(MSG_ITEM_CONTEXT).size())};
    for (int release = 0; release < 4; release++)  // the key is seen twice per press in menu mode
        KeyboardHookProc(HC_ACTION, VK_APPS, CONTEXT_KEY_UP), asked.push_back(LRESULT(Seen(MSG_ITEM_CONTEXT).size()));
    EXPECT_EQ(asked, (std::vector<LRESULT>{1, 2, 2, 3, 3}));
    EXPECT_EQ(Seen(MSG_ITEM_CONTEXT), (std::vector<LRESULT>{MAKELPARAM(-40, 250), 0, 0}));
    // A key request that opened nothing stayed pending, so the next right click opened at the item, not the pointer.
    EXPECT_FALSE(contextFromKeyboard);
    SetContextMenuTarget(MAKELPARAM(-40, 250));
    EXPECT_EQ(targetX, -40) << "the pointer's words are signed";
    // The tray menu's letters come from the string table: "E&xit" is x, not e; a grayed item's letter does nothing.
    for (UINT state : {MF_ENABLED, MF_GRAYED}) {
        EnableMenuItem(trayMenu, IDC_CMD_EXIT, MF_BYCOMMAND | state);
        EXPECT_EQ(DriveMenu({Char('e'), Char('x')}, [] { return int(TrackPopupMenu(trayMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 200, 200, 0, mainWindow, nullptr)); }),
                  state ? 0 : IDC_CMD_EXIT);
    }
    EnableMenuItem(trayMenu, IDC_CMD_EXIT, MF_BYCOMMAND | MF_ENABLED);
}

TEST(MenuInteraction, DancySideBarAnimatesAndTheContextKeyOpensPastIt)
{
    Prepare(MENU_STYLE_DANCY, std::vector<std::string>(12, "Bookmark"));
    std::unique_ptr<Canvas> photo;
    RECT item = {}, contextMenu = {};
    OpenBookmarkMenu({Act([] { Sleep(500); }), Act([&] {  // long enough for the animation to draw
                          HWND menu = VisibleMenuWindows().front();
                          RECT client;
                          GetClientRect(menu, &client);
                          photo = std::make_unique<Canvas>(client.right, client.bottom, 0);
                          HDC dc = GetDC(menu);
                          BitBlt(photo->dc, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
                          ReleaseDC(menu, dc);
                      }),
                      Key(VK_UP), Act([&] {
                          GetMenuItemRect(VisibleMenuWindows().front(), static_cast<HMENU>(bookmarkTable.rootMenu), 11, &item);
                          KeyboardHookProc(HC_ACTION, VK_APPS, CONTEXT_KEY_UP);
                      }),
                      Act([&] { GetWindowRect(VisibleMenuWindows().front(), &contextMenu); }), Char('n')});
    ASSERT_TRUE(photo && photo->height > 200);
    int red = 0, bottom = photo->height - 1;  // strong red is the picture's emblem
    for (int y = 0; y < photo->height; y++)
        for (int x = 0; x < 22; x++)
            red += GetRValue(photo->At(x, y)) > 180 && GetGValue(photo->At(x, y)) < 80 && GetBValue(photo->At(x, y)) < 80;
    EXPECT_GT(red, 20) << "the picture";
    EXPECT_TRUE(photo->At(0, bottom) == GetSysColor(COLOR_HIGHLIGHT) && photo->At(21, bottom) == GetSysColor(COLOR_HIGHLIGHT) &&
                photo->At(0, 0) != photo->At(0, bottom)) << "the gradient fades up from the highlight colour";
    EXPECT_EQ(contextMenu.left - item.left, 24) << "right of the side bar of the root's first column";
    EXPECT_EQ(contextMenu.top, item.top);
    EXPECT_EQ(ReadClipboardText(), "Bookmark");
}

TEST(MenuInteraction, RepositionedSubmenuOpensJustRightOfTheFolderNameInsideTheWorkArea)
{
    Prepare(MENU_STYLE_FANCY, {"A long bookmark name that makes the whole column wide", "[Docs", "An equally long bookmark name inside the folder, also wide", "]"});
    RECT root = {}, submenu = {}, folder = {}, work;
    bool unlocked = false;
    auto openDocs = [&](int x) {
        OpenBookmarkMenu({Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Act([&] {
                              std::vector<HWND> open = VisibleMenuWindows();
                              GetWindowRect(open[0], &submenu), GetWindowRect(open.back(), &root);
                              GetMenuItemRect(open.back(), static_cast<HMENU>(bookmarkTable.rootMenu), 1, &folder);
                              unlocked = LockWindowUpdate(GetDesktopWindow());  // only when the placement unlocked it
                              LockWindowUpdate(nullptr);
                          })}, x);
        return submenu;
    };
    RECT natural = openDocs(100);
    EXPECT_GE(natural.left, root.right - 8) << "the system's place: beside the whole column";
    settings.repositionSubmenus = 1;
    RECT placed = openDocs(100);
    int nameStart = folder.left + (folder.bottom - folder.top) + 5 + 16;  // the icon cell, the gap, the icon
    EXPECT_TRUE(placed.left > nameStart && placed.left < nameStart + 60 && unlocked) << "just right of a four-letter name";
    EXPECT_TRUE(placed.top == natural.top && placed.right - placed.left == natural.right - natural.left) << "moved, not resized";
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(openDocs(work.right - (root.right - root.left) - 4).right, work.right) << "pushed left to fit";
    EXPECT_TRUE(unlocked);
}

// A bookmark whose name and address hold quotes, brackets and an ampersand, none of them escaped on the clipboard.
const char NAME[] = "Say \"hi\" <b>&", URL[] = "tresktest://Say \"hi\" <b>&/", ANCHOR[] = "<A HREF=\"tresktest://Say \"hi\" <b>&/\">Say \"hi\" <b>&</A>";

// BookmarkContextMenu while another thread takes the steps; it must clear the busy flag it finds set.
int Track(int position, std::vector<MenuStep> steps)
{
    modalOpen = TRUE;
    int shellCommand = DriveMenu(std::move(steps), [position] { return BookmarkContextMenu(position); });
    EXPECT_FALSE(modalOpen);
    return shellCommand;
}

TEST(ContextMenu, CopiesBrowsesShowsPropertiesAndHandsBackTheShellsCommandsForTheBookmarkAtPosition)
{
    Prepare(MENU_STYLE_FANCY, {"Plain", NAME, "Third"});
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
    EXPECT_EQ(Seen(WM_CANCELMODE).size(), 2u) << "Properties and Browse close the bookmark menu";
    EXPECT_EQ(trackedFlags, UINT(TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_RECURSE)) << "opens over the open bookmark menu";
    nestedMenusSupported = false;  // Windows 95 and NT 4.0 closed the bookmark menu before this one opened
    Track(0, {Char('B')});
    EXPECT_EQ(NextLaunch(), "tresktest://Plain/|1");
    EXPECT_EQ(Seen(WM_CANCELMODE).size(), 2u);
    EXPECT_EQ(trackedFlags, UINT(TPM_RETURNCMD | TPM_RIGHTBUTTON));
}

// A result list like those of the Search and Verify dialogs: each row's parameter indexes the list's copies.
TEST(ContextMenu, ListMenuActsOnTheSelectedRowAndHasNoShellCommands)
{
    Prepare(MENU_STYLE_FANCY, {"Plain", NAME, "Third"});
    HWND list = CreateWindowA(WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr, nullptr, appInstance, nullptr);
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    for (item.iItem = 0; item.iItem < 3; item.iItem++)
        item.lParam = 2 - item.iItem, SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));  // in another order than the table
    std::vector<BookmarkCopy> copies = {CopyBookmark(0), CopyBookmark(1), CopyBookmark(2)};
    auto runList = [list, &copies](int selected, char letter) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, selected, LVIS_SELECTED, LVIS_SELECTED);
        DriveMenu({Char(letter)}, [&] { ListContextMenu(nullptr, list, copies); return 0; });
    };
    runList(99, 'l');  // a row that does not exist: none selected
    EXPECT_EQ(ReadClipboardText(), "before") << "no row selected";
    runList(1, 'h');
    EXPECT_EQ(ReadClipboardText(), ANCHOR);
    runList(0, 'b');
    EXPECT_EQ(NextLaunch(), "tresktest://Third/|1");
    EXPECT_EQ(Seen(WM_CANCELMODE).size(), 0u) << "there is no bookmark menu to close";
    runList(2, 'r');
    runList(2, 'a');
    EXPECT_EQ(seenMessages.back().result + seenMessages[seenMessages.size() - 2].result, 0) << "no Refresh, no About";
    DestroyWindow(list);
}

