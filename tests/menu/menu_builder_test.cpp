// The menu builder on real Win32 menus: columns, headers, item data, empty folders, separators, ids.
#include <gtest/gtest.h>

#include "base/settings.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "menu/menu_builder.h"
#include "tests/support/win_test_helpers.h"

extern HWND mainWindow;

namespace {

// Appends one source's records: "[Name" opens a folder, "]" closes it, "-" is a separator, anything
// else a bookmark named so. Separators are named as the readers name them; only the sort empties them.
void Read(int source, const std::vector<std::string> &lines)
{
    ReaderCursor cursor;
    StartReading(cursor, source);
    for (const std::string &line : lines) {
        if (line[0] == '[')
            AppendRecord(cursor, line.c_str() + 1, OPEN_FOLDER);
        else if (line == "]")
            AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
        else if (line == "-")
            AppendRecord(cursor, SEPARATOR, SEPARATOR);
        else
            AppendRecord(cursor, line.c_str(), ("http://" + line + "/").c_str());
    }
}

struct Item {
    UINT type = 0, state = 0, id = 0;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
    std::string text;
};

Item ItemAt(HMENU menu, int position)
{
    char text[2048] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    info.dwTypeData = text;
    info.cch = sizeof text;
    EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) << "position " << position;
    Item item;
    item.type = info.fType;
    item.state = info.fState;
    item.id = info.wID;
    item.submenu = info.hSubMenu;
    item.data = info.dwItemData;
    if (!(info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR)))
        item.text = text;
    return item;
}

std::vector<Item> Items(MenuHandle menu)
{
    std::vector<Item> items;
    int count = GetMenuItemCount(static_cast<HMENU>(menu));
    for (int i = 0; i < count; i++)
        items.push_back(ItemAt(static_cast<HMENU>(menu), i));
    return items;
}

// Item counts of the menu's columns, as the MFT_MENUBARBREAK flags divide it.
std::vector<int> Columns(MenuHandle menu)
{
    std::vector<int> columns;
    for (const Item &item : Items(menu)) {
        if (columns.empty() || (item.type & MFT_MENUBARBREAK))
            columns.push_back(0);
        columns.back()++;
    }
    return columns;
}

bool HasSideBarFlag(const Item &item)
{
    return (item.data & SIDE_BAR_COLUMN_FLAG) != 0;
}

std::vector<std::string> Numbered(const char *stem, int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; i++)
        lines.push_back(stem + std::to_string(i));
    return lines;
}

class MenuBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!mainWindow)
            mainWindow = CreateTestWindow();
        std::memset(&settings, 0, sizeof settings);
        settings.useBookmarkFile = 1;
        settings.menuStyle = MENU_STYLE_PLAIN;
        settings.limitItemsPerColumn = 1;
        settings.itemsPerColumn = 1000;
        settings.displayEmptyFolders = 1;
    }
    void TearDown() override
    {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
    MenuHandle Root() { return bookmarkTable.rootMenu; }
};

TEST_F(MenuBuilderTest, ColumnBreaksFollowTheLimit)
{
    struct Case {
        const char *label;
        int limitOn, perColumn, items;
        std::vector<int> columns;
    } cases[] = {
        {"limit 25, 60 items", 1, 25, 60, {25, 25, 10}},
        {"limit 20, 40 items", 1, 20, 40, {20, 20}},
        {"limit 25, 25 items", 1, 25, 25, {25}},
        {"limit value 0 never breaks", 1, 0, 60, {60}},
        {"negative limit never breaks", 1, -5, 60, {60}},
    };
    for (const Case &c : cases) {
        settings.limitItemsPerColumn = c.limitOn;
        settings.itemsPerColumn = c.perColumn;
        // The same count at top level and in a folder.
        Read(SOURCE_NETSCAPE, Numbered("top", c.items));
        BuildBookmarkMenus();
        EXPECT_EQ(Columns(Root()), c.columns) << "top level, " << c.label;
        TearDown();
        std::vector<std::string> lines = {"[Folder"};
        for (const std::string &name : Numbered("inner", c.items))
            lines.push_back(name);
        lines.push_back("]");
        Read(SOURCE_NETSCAPE, lines);
        BuildBookmarkMenus();
        EXPECT_EQ(Columns(bookmarkTable.folders[0].menu), c.columns) << "folder, " << c.label;
        TearDown();
    }
}

TEST_F(MenuBuilderTest, WithoutLimitColumnsHoldWhatFitsOnTheScreen)
{
    int maximum = ComputeMaxItemsPerColumn();
    int screen = GetSystemMetrics(SM_CYSCREEN);
    // A menu font between 1 and 54 pixels high.
    ASSERT_GE(maximum, screen / 60);
    ASSERT_LE(maximum, screen / 7);
    settings.limitItemsPerColumn = 0;
    settings.itemsPerColumn = 3;  // not used while the limit is off
    Read(SOURCE_NETSCAPE, Numbered("b", 2 * maximum + 5));
    BuildBookmarkMenus();
    EXPECT_EQ(Columns(Root()), (std::vector<int>{maximum, maximum, 5}));
}

TEST_F(MenuBuilderTest, SeparatorNeverOpensAColumnAndSideBarFlagEndsWithTheFirstRootColumn)
{
    settings.itemsPerColumn = 3;
    Read(SOURCE_NETSCAPE, {"a", "b", "c", "-", "d", "[F", "x", "y", "z", "w", "]", "e"});
    BuildBookmarkMenus();
    std::vector<Item> root = Items(Root());
    ASSERT_EQ(root.size(), 6u);  // a b c | d F e : the separator that would open column 2 is dropped
    EXPECT_EQ(Columns(Root()), (std::vector<int>{3, 3}));
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(HasSideBarFlag(root[i]), i < 3) << "root item " << i;
    for (const Item &item : Items(bookmarkTable.folders[0].menu))
        EXPECT_FALSE(HasSideBarFlag(item)) << "folder items are never beside the side bar";
    // The low word is the parent menu's handle.
    EXPECT_EQ(root[0].data & 0xFFFF, reinterpret_cast<ULONG_PTR>(Root()) & 0xFFFF);
}

TEST_F(MenuBuilderTest, ItemKindsPerStyle)
{
    for (int style = MENU_STYLE_PLAIN; style <= MENU_STYLE_DANCY; style++) {
        settings.menuStyle = style;
        Read(SOURCE_NETSCAPE, {"first", "-", "[Folder", "inside", "]", "last"});
        BuildBookmarkMenus();
        std::vector<Item> root = Items(Root());
        ASSERT_EQ(root.size(), 4u) << "style " << style;
        UINT ownerDraw = style > 0 ? MFT_OWNERDRAW : 0;
        EXPECT_EQ(root[0].type, MFT_STRING | ownerDraw) << "style " << style;
        EXPECT_EQ(root[1].type, MFT_SEPARATOR | ownerDraw) << "style " << style;
        EXPECT_EQ(root[2].type, MFT_STRING | ownerDraw) << "style " << style;
        EXPECT_EQ(root[2].submenu, static_cast<HMENU>(bookmarkTable.folders[0].menu));
        for (const Item &item : root)
            EXPECT_TRUE(HasSideBarFlag(item)) << "style " << style;
        if (style == MENU_STYLE_PLAIN) {
            EXPECT_EQ(root[0].text, "first");
            EXPECT_EQ(root[2].text, "Folder");
        }
        TearDown();
    }
}

// Sources read in default order: Netscape a b, Favorites f, Opera o.
void ReadThreeSources()
{
    Read(SOURCE_NETSCAPE, {"a", "b"});
    Read(SOURCE_FAVORITES, {"f"});
    Read(SOURCE_OPERA, {"o"});
}

// "N", "F", "O" for header items (with their data), "-" for plain separators, names for bookmarks.
std::string Describe(MenuHandle menu)
{
    std::string description;
    for (const Item &item : Items(menu)) {
        std::string word;
        if (item.data == static_cast<ULONG_PTR>(SOURCE_HEADER_NETSCAPE))
            word = "N";
        else if (item.data == static_cast<ULONG_PTR>(SOURCE_HEADER_FAVORITES))
            word = "F";
        else if (item.data == static_cast<ULONG_PTR>(SOURCE_HEADER_OPERA))
            word = "O";
        else if (item.type & MFT_SEPARATOR)
            word = "-";
        else
            word = item.text.empty() ? "?" : item.text;
        description += (description.empty() ? "" : " ") + word;
    }
    return description;
}

TEST_F(MenuBuilderTest, SourceHeaders)
{
    struct Case {
        const char *label;
        int style, sortOrder, favorites, opera;
        const char *expected;  // Plain style shows texts; the owner-drawn cases are checked by data only
    } cases[] = {
        {"plain, three sources", MENU_STYLE_PLAIN, SORT_ORDER_DEFAULT, 1, 1, "a b F f O o"},
        {"fancy, three sources", MENU_STYLE_FANCY, SORT_ORDER_DEFAULT, 1, 1, "N ? ? F ? O ?"},
        {"fancy, two sources", MENU_STYLE_FANCY, SORT_ORDER_DEFAULT, 1, 0, "N ? ? F ? O ?"},
        {"fancy, one source switched on", MENU_STYLE_FANCY, SORT_ORDER_DEFAULT, 0, 0, "? ? ? ?"},
        {"plain, ascending order", MENU_STYLE_PLAIN, SORT_ORDER_ASCENDING, 1, 1, "a b f o"},
        {"fancy, descending order", MENU_STYLE_FANCY, SORT_ORDER_DESCENDING, 1, 1, "? ? ? ?"},
    };
    for (const Case &c : cases) {
        settings.menuStyle = c.style;
        settings.sortOrder = c.sortOrder;
        settings.useFavorites = c.favorites;
        settings.useOperaHotlist = c.opera;
        ReadThreeSources();
        BuildBookmarkMenus();
        EXPECT_EQ(Describe(Root()), c.expected) << c.label;
        for (const Item &item : Items(Root())) {
            if (static_cast<intptr_t>(item.data) < 0) {
                EXPECT_EQ(item.id, static_cast<UINT>(HEADER_ITEM_ID)) << c.label;
                EXPECT_EQ(item.type & ~MFT_OWNERDRAW, static_cast<UINT>(MFT_SEPARATOR)) << c.label;
                EXPECT_EQ((item.type & MFT_OWNERDRAW) != 0, c.style > 0) << c.label;
            }
        }
        TearDown();
    }
}

TEST_F(MenuBuilderTest, BreakOnAHeaderKeepsTheSideBarColumnOpen)
{
    settings.menuStyle = MENU_STYLE_FANCY;
    settings.useFavorites = 1;
    settings.itemsPerColumn = 3;
    Read(SOURCE_NETSCAPE, {"a", "b"});
    Read(SOURCE_FAVORITES, {"f", "g", "h"});
    BuildBookmarkMenus();
    std::vector<Item> root = Items(Root());
    ASSERT_EQ(root.size(), 7u);  // N a b | F f g | h
    EXPECT_TRUE(root[3].type & MFT_MENUBARBREAK);
    EXPECT_EQ(root[3].data, static_cast<ULONG_PTR>(SOURCE_HEADER_FAVORITES));
    EXPECT_TRUE(HasSideBarFlag(root[4]));  // the header's break did not end the side-bar column
    EXPECT_TRUE(HasSideBarFlag(root[5]));
    EXPECT_TRUE(root[6].type & MFT_MENUBARBREAK);
    EXPECT_FALSE(HasSideBarFlag(root[6]));
}

TEST_F(MenuBuilderTest, EmptyFoldersShownOrRemoved)
{
    // Outer holds only an empty folder; Seps holds only separators; the root ends with a separator.
    const std::vector<std::string> lines = {"[Outer", "[Inner", "]", "]", "b", "[Empty", "]", "[Seps", "-", "-", "]",
                                            "c", "-"};
    struct Case {
        const char *label;
        int display, style;
        const char *root;
    } cases[] = {
        {"shown, plain", 1, MENU_STYLE_PLAIN, "Outer b Empty Seps c"},
        {"shown, fancy", 1, MENU_STYLE_FANCY, "? ? ? ? ?"},
        {"removed, plain", 0, MENU_STYLE_PLAIN, "b Seps c"},
    };
    for (const Case &c : cases) {
        settings.displayEmptyFolders = c.display;
        settings.menuStyle = c.style;
        Read(SOURCE_NETSCAPE, lines);
        BuildBookmarkMenus();
        EXPECT_EQ(Describe(Root()), c.root) << c.label;
        // Seps keeps its item with an empty submenu and no "(empty)" item.
        EXPECT_EQ(GetMenuItemCount(static_cast<HMENU>(bookmarkTable.folders[3].menu)), 0) << c.label;
        if (c.display) {
            for (int k : {1, 2}) {  // Inner and Empty
                std::vector<Item> items = Items(bookmarkTable.folders[k].menu);
                ASSERT_EQ(items.size(), 1u) << c.label;
                EXPECT_EQ(items[0].text, "(empty)") << c.label;
                EXPECT_EQ(items[0].type, static_cast<UINT>(MFT_STRING)) << "never owner-drawn: " << c.label;
                EXPECT_TRUE(items[0].state & MFS_GRAYED) << c.label;
                EXPECT_EQ(items[0].id, static_cast<UINT>(EMPTY_ITEM_ID)) << c.label;
                EXPECT_EQ(EntryForCommandId(static_cast<int>(items[0].id)), -1);
            }
        } else {
            // The positions of the items behind the deleted folders follow them.
            for (int i = 0; i < bookmarkTable.entryCount; i++) {
                const BookmarkEntry &record = bookmarkTable.entries[i];
                std::string name = record.name;
                if (record.parentMenu != Root() || (name != "b" && name != "Seps" && name != "c"))
                    continue;
                EXPECT_EQ(ItemAt(static_cast<HMENU>(Root()), record.menuPos).id, static_cast<UINT>(CommandIdForEntry(i)))
                    << name;
            }
        }
        TearDown();
    }
}

TEST_F(MenuBuilderTest, TrailingSeparatorsAreTrimmedInnerOnesKept)
{
    Read(SOURCE_NETSCAPE, {"a", "-", "b", "[F", "x", "-", "y", "-", "-", "]", "-", "-"});
    BuildBookmarkMenus();
    EXPECT_EQ(Describe(Root()), "a - b F");
    EXPECT_EQ(Describe(bookmarkTable.folders[0].menu), "x - y");
}

TEST_F(MenuBuilderTest, EveryItemIsItsPositionPlusOneAndTheFirstEntryIsReachable)
{
    Read(SOURCE_NETSCAPE, {"first", "[F", "inner", "-", "x", "]", "last"});
    BuildBookmarkMenus();
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &record = bookmarkTable.entries[i];
        if (IsFolderEnd(record))
            continue;
        Item item = ItemAt(static_cast<HMENU>(record.parentMenu), record.menuPos);
        EXPECT_EQ(item.id, static_cast<UINT>(i + 1)) << record.name;
        EXPECT_EQ(EntryForCommandId(static_cast<int>(item.id)), i) << record.name;
    }
    EXPECT_EQ(EntryForCommandId(0), -1) << "a cancelled menu is no entry";

    // Choose the first item from the keyboard: the menu must answer the first entry, not "nothing".
    std::thread keys([] {
        HWND menuWindow = nullptr;
        for (int tries = 0; tries < 200 && !menuWindow; tries++, Sleep(20))
            menuWindow = FindWindowA("#32768", nullptr);
        for (UINT key : {VK_DOWN, VK_RETURN}) {
            PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
            PostMessageA(menuWindow, WM_KEYUP, key, 0);
            Sleep(50);
        }
    });
    SetForegroundWindow(mainWindow);
    int result = TrackPopupMenuEx(static_cast<HMENU>(Root()), TPM_RETURNCMD, 10, 10, mainWindow, nullptr);
    keys.join();
    EXPECT_EQ(EntryForCommandId(result), 0);
}

// Puts the records in the order the ascending sort gives: the blocks of `blockSize` records (a folder
// with its contents and end record) from `order`, then the rest.
void Reorder(int blockSize, std::vector<int> order)
{
    std::vector<BookmarkEntry> sorted;
    for (int block : order)
        for (int i = 0; i < blockSize; i++)
            sorted.push_back(bookmarkTable.entries[block * blockSize + i]);
    for (int i = static_cast<int>(order.size()) * blockSize; i < bookmarkTable.entryCount; i++)
        sorted.push_back(bookmarkTable.entries[i]);
    std::memcpy(bookmarkTable.entries, sorted.data(), sorted.size() * sizeof(BookmarkEntry));
}

TEST_F(MenuBuilderTest, AfterSortingEveryFolderItemOpensItsOwnMenu)
{
    // Read as Mike (id 0), November (id 3), Alpha (id 6); sorted, Mike's new position 3 is November's id,
    // so a lookup that could take an already rewritten folder record would give November Mike's menu.
    settings.sortOrder = SORT_ORDER_ASCENDING;
    Read(SOURCE_NETSCAPE, {"[Mike", "m1", "]", "[November", "n1", "]", "[Alpha", "a1", "]"});
    Reorder(3, {2, 0, 1});
    ASSERT_EQ(bookmarkTable.entries[3].id, 0);
    BuildBookmarkMenus();
    std::vector<Item> root = Items(Root());
    ASSERT_EQ(root.size(), 3u);
    const char *names[] = {"Alpha", "Mike", "November"}, *contents[] = {"a1", "m1", "n1"};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(root[i].text, names[i]);
        EXPECT_EQ(Describe(root[i].submenu), contents[i]) << names[i];
    }
    const char *folderNames[] = {"Mike", "November", "Alpha"};  // folder records stay in reading order
    for (int k = 0; k < bookmarkTable.folderCount; k++) {
        const FolderRecord &folder = bookmarkTable.folders[k];
        ASSERT_GE(folder.entry, 0);
        EXPECT_STREQ(bookmarkTable.entries[folder.entry].name, folderNames[k]);
        EXPECT_EQ(root[folder.menuPos].submenu, static_cast<HMENU>(folder.menu)) << "folder " << k;
        EXPECT_EQ(bookmarkTable.entries[folder.entry].menuPos, folder.menuPos);
    }
}

TEST_F(MenuBuilderTest, AfterSortingAnEmptyFolderDeletesItsOwnItem)
{
    // Alpha's item is deleted first and Zeta's moves to Alpha's place, where Zeta's recorded position
    // now names the bookmark behind it.
    settings.sortOrder = SORT_ORDER_ASCENDING;
    settings.displayEmptyFolders = 0;
    Read(SOURCE_NETSCAPE, {"[Zeta", "]", "[Alpha", "]", "b"});
    Reorder(2, {1, 0});
    BuildBookmarkMenus();
    EXPECT_EQ(Describe(Root()), "b");
    const BookmarkEntry &last = bookmarkTable.entries[bookmarkTable.entryCount - 1];
    ASSERT_STREQ(last.name, "b");
    EXPECT_EQ(last.menuPos, 0);
}

TEST_F(MenuBuilderTest, UntitledBookmarksAreLeftOutLongTitlesCut)
{
    std::string longTitle(2000, 'x');
    longTitle[1023] = 'y';
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "", "http://untitled/");
    AppendRecord(cursor, longTitle.c_str(), "http://long/");
    BuildBookmarkMenus();
    std::vector<Item> root = Items(Root());
    ASSERT_EQ(root.size(), 1u);
    EXPECT_EQ(root[0].text, longTitle.substr(0, 1024));
    EXPECT_EQ(root[0].id, 2u);
    EXPECT_EQ(bookmarkTable.entries[1].menuPos, 0);
}

}  // namespace
