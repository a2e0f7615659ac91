// The first-letter search over the table and the key letters of command texts.
#include <gtest/gtest.h>

#include "bookmarks/bookmark_table.h"
#include "menu/menu_char.h"

TEST(FindBookmarkMenuChar, TwoPassSearch)
{
    // Root: Alpha, Beta, Apple, Docs {dog, axe}, a separator, carrot, a nameless bookmark, Bin {}, the end record.
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    const char *records[][2] = {{"Alpha", "a"}, {"Beta", "b"}, {"Apple", "c"}, {"Docs", OPEN_FOLDER}, {"dog", "d"},
                                {"axe", "e"}, {CLOSE_FOLDER, CLOSE_FOLDER}, {SEPARATOR, SEPARATOR}, {"carrot", "f"},
                                {"", "g"}, {"Bin", OPEN_FOLDER}, {CLOSE_FOLDER, CLOSE_FOLDER}, {CLOSE_FOLDER, CLOSE_FOLDER}};
    for (auto &record : records)
        AppendRecord(cursor, record[0], record[1]);
    MenuHandle root = bookmarkTable.rootMenu, docs = bookmarkTable.folders[0].menu;
    int itemsIn[2] = {0, 0};  // item positions as the menu builder gives them; they differ from table positions
    for (int p = 0; p < bookmarkTable.entryCount; p++) {
        BookmarkEntry &e = bookmarkTable.entries[p];
        if (!IsFolderEnd(e) && e.name[0] != '\0')
            e.menuPos = itemsIn[e.parentMenu == docs]++;
    }
    // Bin is empty and deleted by the builder; it counted as a candidate, so b only selected Beta, then nothing.
    bookmarkTable.entries[10].menuPos = -1;
    const struct { const char *label; bool inDocs; int letter, highlighted; MenuCharAction action; int menuPos; } rows[] = {
        {"a after Alpha selects Apple", false, 'a', 0, MENU_CHAR_SELECT, 2},
        {"a after Apple wraps to Alpha", false, 'a', 2, MENU_CHAR_SELECT, 0},
        {"upper-case A reaches the same items", false, 'A', 0, MENU_CHAR_SELECT, 2},
        {"b is unique: Beta runs", false, 'b', 0, MENU_CHAR_EXECUTE, 1},
        {"b with Beta itself highlighted still runs it", false, 'b', 1, MENU_CHAR_EXECUTE, 1},
        {"B after the last item wraps round and runs Beta", false, 'B', 8, MENU_CHAR_EXECUTE, 1},
        {"C reaches carrot; the end record 'Close Folder' never matches", false, 'C', 0, MENU_CHAR_EXECUTE, 5},
        {"a folder is a candidate: d opens Docs", false, 'd', 0, MENU_CHAR_EXECUTE, 3},
        {"separators never match", false, 's', 0, MENU_CHAR_IGNORE, 0},
        {"no item starts with z", false, 'z', 0, MENU_CHAR_IGNORE, 0},
        {"only the menu's own items: axe in Docs", true, 'a', 0, MENU_CHAR_EXECUTE, 1},
        {"highlight in a submenu: the search wraps in the root", false, 'a', 5, MENU_CHAR_SELECT, 0},
        {"stale highlight past the end starts at the top", false, 'a', 99, MENU_CHAR_SELECT, 0},
        {"negative highlight starts at the top", false, 'a', -7, MENU_CHAR_SELECT, 0},
        {"character 0 matches no nameless record", false, 0, 0, MENU_CHAR_IGNORE, 0},
        {"characters beyond 8 bits are ignored", false, 'a' + 256, 0, MENU_CHAR_IGNORE, 0},
    };
    for (const auto &row : rows) {
        MenuCharChoice got = FindBookmarkMenuChar(row.inDocs ? docs : root, row.letter, row.highlighted);
        EXPECT_EQ(std::make_pair(got.action, got.menuPos), std::make_pair(row.action, row.menuPos)) << row.label;
    }
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    EXPECT_EQ(FindBookmarkMenuChar(nullptr, 'a', 0).action, MENU_CHAR_IGNORE) << "no table";
}

TEST(CommandKeyLetter, AmpersandOrFirstCharacter)
{
    const std::pair<const char *, char> rows[] = {{"E&xit", 'x'}, {"Copy Bookmark as &HTML", 'H'}, {"Plain", 'P'},
                                                  {"", '\0'}, {"Trailing&", '\0'}, {"Two &A&B", 'A'}};
    for (const auto &row : rows)
        EXPECT_EQ(CommandKeyLetter(row.first), row.second) << row.first;
}

