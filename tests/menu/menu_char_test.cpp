// The first-letter search over the table and the key letters of command texts.
#include <gtest/gtest.h>

#include "bookmarks/bookmark_table.h"
#include "menu/menu_char.h"
#include "base/ascii_case.h"

namespace {

// Root: Alpha, Beta, Apple, Docs {dog, axe}, a separator, carrot, and the Netscape top-level end record.
class BookmarkMenuCharTest : public ::testing::Test {
protected:
    MenuHandle root = nullptr, docs = nullptr;
    void SetUp() override
    {
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_NETSCAPE);
        const char *rows[][2] = {{"Alpha", "http://a/"}, {"Beta", "http://b/"}, {"Apple", "http://apple/"},
                                 {"Docs", OPEN_FOLDER},  {"dog", "http://dog/"}, {"axe", "http://axe/"},
                                 {CLOSE_FOLDER, CLOSE_FOLDER}, {SEPARATOR, SEPARATOR}, {"carrot", "http://c/"},
                                 {"", "http://nameless/"}, {CLOSE_FOLDER, CLOSE_FOLDER}};
        for (auto &row : rows)
            AppendRecord(cursor, row[0], row[1]);
        root = bookmarkTable.rootMenu;
        docs = bookmarkTable.folders[0].menu;
        // Item positions as the menu builder gives them.
        int rootPos = 0, docsPos = 0;
        for (int p = 0; p < bookmarkTable.entryCount; p++) {
            BookmarkEntry &e = bookmarkTable.entries[p];
            if (IsFolderEnd(e) || e.name[0] == '\0')
                continue;
            e.menuPos = e.parentMenu == root ? rootPos++ : docsPos++;
        }
    }
    void TearDown() override
    {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
};

TEST_F(BookmarkMenuCharTest, TwoPassSearch)
{
    struct Case {
        const char *label;
        bool inDocs;
        int letter;
        int highlighted;
        MenuCharAction action;
        int menuPos;
    } cases[] = {
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
        {"d in Docs runs dog, not the folder", true, 'D', 0, MENU_CHAR_EXECUTE, 0},
        {"highlight in a submenu: search wraps in the root", false, 'a', 5, MENU_CHAR_SELECT, 0},
        {"stale highlight past the end starts at the top", false, 'a', 99, MENU_CHAR_SELECT, 0},
        {"negative highlight starts at the top", false, 'a', -7, MENU_CHAR_SELECT, 0},
        {"character 0 matches no nameless record", false, 0, 0, MENU_CHAR_IGNORE, 0},
        {"characters beyond 8 bits are ignored", false, 'a' + 256, 0, MENU_CHAR_IGNORE, 0},
    };
    for (const Case &c : cases) {
        MenuCharChoice got = FindBookmarkMenuChar(c.inDocs ? docs : root, c.letter, c.highlighted);
        EXPECT_EQ(got.action, c.action) << c.label;
        EXPECT_EQ(got.menuPos, c.menuPos) << c.label;
    }
}

TEST(MenuCharTableless, EmptyTableIgnoresEveryLetter)
{
    MenuCharChoice got = FindBookmarkMenuChar(nullptr, 'a', 0);
    EXPECT_EQ(got.action, MENU_CHAR_IGNORE);
}

TEST(CommandKeyLetter, AmpersandOrFirstCharacter)
{
    struct Case {
        const char *text;
        char letter;
    } cases[] = {
        {"E&xit", 'x'}, {"&Options...", 'O'}, {"Copy Bookmark as &HTML", 'H'}, {"Plain", 'P'},
        {"", '\0'},     {"Trailing&", '\0'},  {"Two &A&B", 'A'},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CommandKeyLetter(c.text), c.letter) << c.text;
}

TEST(SameNoCase, FoldsOnlyAToZ)
{
    EXPECT_TRUE(SameNoCase('x', 'X'));
    EXPECT_TRUE(SameNoCase('Q', 'q'));
    EXPECT_FALSE(SameNoCase('[', '{'));       // 0x5B and 0x7B differ by 0x20 but are not letters
    EXPECT_FALSE(SameNoCase(0xE9, 0xC9));     // accented letters are not folded
    EXPECT_FALSE(SameNoCase('a', 'b'));
}

}  // namespace
