// The table's appending rules, folder paths (cut when overlong) and release, and the text helpers the readers share.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/change_watch.h"
#include "bookmarks/text_helpers.h"
#include "tests/support/table_checks.h"

class BookmarkTableTest : public ::testing::Test {
protected:
    void TearDown() override { ReleaseTable(); }
};

TEST_F(BookmarkTableTest, FoldersNestAndReleaseEverything)
{
    int menusBefore = LiveMenuCount();  // only the host build counts its menus; Windows answers -1
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_OPERA);
    const char *records[][2] = {{"X", OPEN_FOLDER}, {"Y", OPEN_FOLDER}, {"Z", OPEN_FOLDER}, {"deep", "http://deep/"},
                                {CLOSE_FOLDER, CLOSE_FOLDER}, {CLOSE_FOLDER, CLOSE_FOLDER}, {"Empty", OPEN_FOLDER},
                                {CLOSE_FOLDER, CLOSE_FOLDER}, {CLOSE_FOLDER, CLOSE_FOLDER}, {"top", "http://top/"},
                                {CLOSE_FOLDER, CLOSE_FOLDER}};  // the last as a bookmark file's outermost list end
    for (const auto &record : records)
        AppendRecord(cursor, record[0], record[1], record[0][0] == 'd' ? "words" : nullptr);
    EXPECT_EQ(DumpTable(), "-1 X = Open Folder\n0 Y = Open Folder\n1 Z = Open Folder\n2 deep = http://deep/ (words)\n"
                           "2 Close Folder = Close Folder\n1 Close Folder = Close Folder\n0 Empty = Open Folder\n"
                           "3 Close Folder = Close Folder\n0 Close Folder = Close Folder\n-1 top = http://top/\n"
                           "-1 Close Folder = Close Folder\n");
    EXPECT_EQ(CheckTable(), "");
    // An overlong path keeps its outermost folders.
    std::string outer = "outer" + std::string(700, 'o'), inner = "inner" + std::string(700, 'i');
    AppendRecord(cursor, outer.c_str(), OPEN_FOLDER);
    AppendRecord(cursor, inner.c_str(), OPEN_FOLDER);
    int inside = AppendRecord(cursor, "x", "http://x/");
    EXPECT_EQ(LiveMenuCount(), menusBefore < 0 ? -1 : menusBefore + 7);
    for (int i : {3, 9, inside})
        GetFolderPath(i);
    EXPECT_STREQ(bookmarkTable.entries[3].folderPath, "X > Y > Z");
    EXPECT_STREQ(bookmarkTable.entries[9].folderPath, "");
    EXPECT_EQ(bookmarkTable.entries[inside].folderPath, (outer + " > " + inner).substr(0, 1023));
    sideBarPainted = true;
    ReleaseTable();
    ReleaseTable();  // twice is harmless
    EXPECT_EQ(LiveMenuCount(), menusBefore);
    EXPECT_FALSE(sideBarPainted);
    EXPECT_TRUE(!bookmarkTable.entries && !bookmarkTable.folders && !bookmarkTable.rootMenu);
    EXPECT_EQ(bookmarkTable.entryCount + bookmarkTable.folderCount, 0);
}

TEST(TextHelpersTest, LeftAndRightCopiesLastTwoCalls)
{
    const char *rows[][4] = {{"bookmark.htm", "4", "book", ".htm"}, {"abc", "3", "abc", "abc"}, {"", "3", "", ""},
                             {"abc", "10", "abc", "abc"}, {"abc", "0", "", ""}, {"abc", "-5", "", ""}};
    for (const auto &row : rows) {
        const char *left = LeftString(row[0], std::atoi(row[1]));
        EXPECT_STREQ(RightString(row[0], std::atoi(row[1])), row[3]) << row[0] << " " << row[1];
        EXPECT_STREQ(left, row[2]) << row[0] << " " << row[1];  // still valid after the next call
    }
    std::string longText = std::string(3000, 'x') + "END";  // copies never pass their 1025-byte buffers
    EXPECT_EQ(LeftString(longText.c_str(), 5000), longText.substr(0, 1024));
    EXPECT_EQ(RightString(longText.c_str(), 5000), longText.substr(longText.size() - 1024));
}

TEST(TextHelpersTest, FindNoCaseFoldsLettersOnlyAndStaysInItsRange)
{
    const char *rows[][3] = {{"x LAST_VISIT=\"1\"", "last_visit", "2"}, {"Title</a>", "</A>", "5"},
                             {"aaab", "AAB", "1"}, {"abc", "abcd", "-1"}, {"", "a", "-1"}, {"abc", "", "0"},
                             {"[x]", "{X}", "-1"}, {"@home", "`HOME", "-1"}, {"caf\xe9", "CAF\xc9", "-1"},
                             {"_a_b", "_B", "2"}};
    for (const auto &row : rows) {
        const char *found = FindNoCase(row[0], row[1]);
        EXPECT_EQ(found ? found - row[0] : -1, std::atoi(row[2])) << row[0] << " / " << row[1];
    }
    const char text[] = "abc</A>def";
    EXPECT_EQ(FindNoCaseIn(text, text + 6, "</a>"), nullptr);  // the match would end past the range
    EXPECT_EQ(FindNoCaseIn(text, text + 7, "</a>"), text + 3);
    EXPECT_EQ(FindIn(text, text + 6, "</A>"), nullptr);
    EXPECT_EQ(FindIn(text, text + 7, "</A>"), text + 3);
    EXPECT_EQ(FindIn(text, text + 7, "</a>"), nullptr);  // the exact search keeps case
    std::string line = std::string(4 << 20, 'l') + "Last_Modified=\"5\"";  // the pattern's first letter, over and over
    EXPECT_EQ(FindNoCase(line.c_str(), "LAST_MODIFIED"), line.c_str() + (4 << 20));
    EXPECT_EQ(FindNoCase(line.c_str(), "LASTX"), nullptr);
}

TEST(TextHelpersTest, DirectoryPartIsTheTextBeforeTheLastBackslash)
{
    const char *rows[][2] = {{"C:\\Netscape\\Users\\bookmark.htm", "C:\\Netscape\\Users"}, {"C:\\bookmark.htm", "C:"},
                             {"bookmark.htm", ""}, {"", ""}, {"C:\\dir\\", "C:\\dir"},
                             {"\\\\server\\share\\opera6.adr", "\\\\server\\share"}, {"C:/forward/slashes.htm", ""}};
    for (const auto &row : rows)
        EXPECT_EQ(GetDirectoryPart(row[0]), row[1]) << row[0];
}
