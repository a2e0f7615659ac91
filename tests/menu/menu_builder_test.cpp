// The menu builder on tables made as the readers make them, read back from the real Win32 menus.
#include <gtest/gtest.h>

#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/sorting.h"
#include "menu/menu_builder.h"
#include "tests/support/win_test_helpers.h"

// The menu in words. Each item is named from the record its command id gives (position + 1), or by its
// own text where the system draws it, then marked: "?" when the id names another record, "@" when the
// record's menuPos (or its folder record's) is not the item's position, "!" when it is owner-drawn against
// the style, "|" before an item that opens a column, "*" after one with the side-bar column flag, its
// submenu in brackets. Headers are "N", "F", "O", "C", "X"; separators "-".
std::string Describe(HMENU menu)
{
    std::string text;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        char label[2048] = "";
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        info.dwTypeData = label;
        info.cch = sizeof label;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        int position = EntryForCommandId(int(info.wID)), k = -1;
        BookmarkEntry *entry = position >= 0 && position < bookmarkTable.entryCount ? &bookmarkTable.entries[position] : nullptr;
        intptr_t data = intptr_t(info.dwItemData);
        bool ownerDrawn = info.fType & MFT_OWNERDRAW, header = data < 0 && data >= SOURCE_HEADER_FIREFOX, empty = info.wID == UINT(EMPTY_ITEM_ID);
        std::string word = header ? std::string(1, "NFOCX"[-1 - data]) : ownerDrawn && entry ? entry->name : label;
        if ((info.fType & MFT_SEPARATOR) && !header)
            word = entry && IsSeparator(*entry) ? "-" : "-?";
        else if (!header && !empty && (!entry || std::string(entry->name).find(word) != 0))
            word += "?";
        for (int f = 0; info.hSubMenu && f < bookmarkTable.folderCount; f++)
            k = bookmarkTable.folders[f].menu == info.hSubMenu ? f : k;
        if ((entry && !header && !IsSeparator(*entry) && entry->menuPos != i) || (k >= 0 && (bookmarkTable.folders[k].menuPos != i || bookmarkTable.folders[k].entry != position)))
            word += "@";
        word += (empty && !(info.fState & MFS_GRAYED)) ? "?" : "";
        word += ownerDrawn != (settings.menuStyle > MENU_STYLE_PLAIN && !empty) ? "!" : "";
        word += !header && (info.dwItemData & SIDE_BAR_COLUMN_FLAG) ? "*" : "";
        word += info.hSubMenu ? "[" + Describe(info.hSubMenu) + "]" : "";
        text += (text.empty() ? "" : " ") + std::string(info.fType & MFT_MENUBARBREAK ? "|" : "") + word;
    }
    return text;
}

// Reads the sources as the settings switch them on, sorts and builds; answers the root menu.
HMENU Build(const std::vector<std::string> &netscape, const std::vector<std::string> &favorites = {},
            const std::vector<std::string> &opera = {})
{
    AppendLines(SOURCE_NETSCAPE, netscape);
    AppendLines(SOURCE_FAVORITES, favorites);
    AppendLines(SOURCE_OPERA, opera);
    SortBookmarkTable();
    BuildBookmarkMenus();
    return static_cast<HMENU>(bookmarkTable.rootMenu);
}

void Release()
{
    DestroyBookmarkMenus();
    FreeBookmarkTable();
}

void Reset()
{
    settings = Settings();
    settings.useBookmarkFile = settings.limitItemsPerColumn = settings.displayEmptyFolders = 1;
    settings.itemsPerColumn = 1000;
}

TEST(MenuBuilder, ItemsColumnsHeadersAndFolders)
{
    const std::vector<std::string> folders = {"[Outer", "[Inner", "]", "]", "b", "[Empty", "]", "[Seps", "-", "-", "]", "c", "-"};
    std::string longTitle(2000, 'x');
    longTitle[1023] = 'y';
    const struct { const char *label; int style, perColumn, emptyFolders, sortOrder, favorites, opera; std::vector<std::string> netscape, favoriteLines, operaLines; std::string root; } rows[] = {
        {"untitled bookmarks left out, long titles cut to 1024", 0, 1000, 1, 0, 0, 0, {"", longTitle}, {}, {}, longTitle.substr(0, 1024) + "*"},
        {"a separator never opens a column; the side-bar flag ends with the root's first column", 0, 3, 1, 0, 0, 0,
         {"a", "b", "c", "-", "d", "[F", "x", "y", "z", "w", "]", "e"}, {}, {}, "a* b* c* |d F[x y z |w] e"},
        {"limit value 0 never breaks", 0, 0, 1, 0, 0, 0, {"a", "b", "c", "d"}, {}, {}, "a* b* c* d*"},
        {"negative limit never breaks", 0, -5, 1, 0, 0, 0, {"a", "b", "c", "d"}, {}, {}, "a* b* c* d*"},
        {"trailing separators trimmed, inner ones kept", 0, 1000, 1, 0, 0, 0, {"a", "-", "b", "[F", "x", "-", "y", "-", "-", "]", "-", "-"}, {}, {},
         "a* -* b* F*[x - y]"},
        {"empty folders shown; a folder of separators only ends empty", 0, 1000, 1, 0, 0, 0, folders, {}, {},
         "Outer*[Inner[(empty)]] b* Empty*[(empty)] Seps*[] c*"},
        {"empty folders removed, with the folder that held only one", 0, 1000, 0, 0, 0, 0, folders, {}, {}, "b* Seps*[] c*"},
        {"owner-drawn items, the empty item drawn by the system", 1, 1000, 1, 0, 0, 0, {"a", "-", "[E", "]", "b"}, {}, {}, "a* -* E*[(empty)] b*"},
        {"plain: a separator line before the second and third sources", 0, 1000, 1, 0, 1, 1, {"a", "b"}, {"f"}, {"o"}, "a* b* F f* O o*"},
        {"fancy: a header before every source", 1, 1000, 1, 0, 1, 1, {"a", "b"}, {"f"}, {"o"}, "N a* b* F f* O o*"},
        {"one source switched on: no headers", 1, 1000, 1, 0, 0, 0, {"a"}, {"f"}, {"o"}, "a* f* o*"},
        {"a sort order: no headers", 0, 1000, 1, SORT_ORDER_DESCENDING, 1, 1, {"a"}, {"f"}, {"o"}, "o* f* a*"},
        {"a break on a header keeps the side-bar column open", 1, 3, 1, 0, 1, 0, {"a", "b"}, {"f", "g", "h"}, {}, "N a* b* |F f* g* |h"},
        // A folder sorted to the position that is another folder's id must not take that folder's menu.
        {"sorted: every folder item opens its own menu", 0, 1000, 1, SORT_ORDER_ASCENDING, 0, 0,
         {"[Bravo", "b1", "]", "[Charlie", "c1", "]", "a", "aa", "ab"}, {}, {}, "a* aa* ab* Bravo*[b1] Charlie*[c1]"},
        // Deleting Alpha moves Zeta's item left of Zeta's recorded position.
        {"sorted: an empty folder deletes its own item", 0, 1000, 0, SORT_ORDER_ASCENDING, 0, 0, {"[Zeta", "]", "[Alpha", "]", "b"}, {}, {}, "b*"},
    };
    for (const auto &row : rows) {
        Reset();
        settings.menuStyle = row.style;
        settings.itemsPerColumn = row.perColumn;
        settings.displayEmptyFolders = row.emptyFolders;
        settings.sortOrder = row.sortOrder;
        settings.useFavorites = row.favorites;
        settings.useOperaHotlist = row.opera;
        EXPECT_EQ(Describe(Build(row.netscape, row.favoriteLines, row.operaLines)), row.root) << row.label;
        Release();
    }
    // The browsers' sources come after the three, with headers of their own.
    Reset();
    settings.menuStyle = 1;
    settings.useChromium = settings.useFirefox = 1;
    AppendLines(SOURCE_NETSCAPE, {"a"});
    AppendLines(SOURCE_CHROMIUM, {"[Bar", "c", "]"});
    AppendLines(SOURCE_FIREFOX, {"x"});
    EXPECT_EQ(Describe(Build({})), "N a* C Bar*[c] X x*");
    Release();
}

TEST(MenuBuilder, WithoutALimitColumnsHoldWhatFitsOnTheScreen)
{
    int screen = ComputeMaxItemsPerColumn();
    ASSERT_GE(screen, GetSystemMetrics(SM_CYSCREEN) / 60);  // a menu font between 1 and 54 pixels high
    ASSERT_LE(screen, GetSystemMetrics(SM_CYSCREEN) / 7);
    Reset();
    settings.limitItemsPerColumn = 0;
    settings.itemsPerColumn = 3;
    std::vector<std::string> lines(2 * screen + 5, "b");
    lines[0] = "[Folder";
    Build(lines);
    HMENU folder = static_cast<HMENU>(bookmarkTable.folders[0].menu);
    std::string breaks;
    for (int i = 0; i < GetMenuItemCount(folder); i++)
        breaks += GetMenuState(folder, i, MF_BYPOSITION) & MF_MENUBARBREAK ? std::to_string(i) + " " : "";
    EXPECT_EQ(breaks, std::to_string(screen) + " " + std::to_string(2 * screen) + " ");
    Release();
}
