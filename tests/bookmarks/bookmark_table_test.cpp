// The table's appending rules, folder paths and release.
#include <gtest/gtest.h>

#include <cstring>

#include "bookmarks/bookmark_table.h"

class BookmarkTableTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
};

TEST_F(BookmarkTableTest, NestedFoldersLinkRecordsMenusAndCounts)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "X", OPEN_FOLDER);
    AppendRecord(cursor, "Y", OPEN_FOLDER);
    AppendRecord(cursor, "Z", OPEN_FOLDER);
    int deep = AppendRecord(cursor, "deep", "http://deep/");
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, "Empty", OPEN_FOLDER);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    int top = AppendRecord(cursor, "top", "http://top/");
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);  // the outermost list end

    ASSERT_EQ(bookmarkTable.entryCount, 11);
    ASSERT_EQ(bookmarkTable.folderCount, 4);
    for (int i = 0; i < bookmarkTable.entryCount; i++)
        EXPECT_EQ(bookmarkTable.entries[i].id, i);
    EXPECT_EQ(bookmarkTable.folders[0].childCount, 3);  // Y, Empty and X's own end record
    EXPECT_EQ(bookmarkTable.folders[1].childCount, 2);  // Z and Y's end
    EXPECT_EQ(bookmarkTable.folders[2].childCount, 2);  // deep and Z's end
    EXPECT_EQ(bookmarkTable.folders[3].childCount, 1);  // an empty folder holds only its end record
    EXPECT_EQ(bookmarkTable.entries[deep].parentFolder, 2);
    EXPECT_EQ(bookmarkTable.entries[deep].parentMenu, bookmarkTable.folders[2].menu);
    EXPECT_EQ(bookmarkTable.entries[top].parentFolder, -1);
    EXPECT_EQ(bookmarkTable.entries[top].parentMenu, bookmarkTable.rootMenu);
    EXPECT_EQ(bookmarkTable.entries[10].parentMenu, bookmarkTable.rootMenu);
    EXPECT_EQ(bookmarkTable.entries[10].parentFolder, -1);

    GetFolderPath(deep);
    EXPECT_STREQ(bookmarkTable.entries[deep].folderPath, "X > Y > Z");
    GetFolderPath(top);
    EXPECT_STREQ(bookmarkTable.entries[top].folderPath, "");
}

TEST_F(BookmarkTableTest, ReleaseDestroysEveryMenuAndIsHarmlessTwice)
{
    int before = LiveMenuCount();
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_OPERA);
    AppendRecord(cursor, "A", OPEN_FOLDER);
    AppendRecord(cursor, "b", "http://b/", "a description");
    if (before >= 0) {  // only the host build counts its menus
        EXPECT_EQ(LiveMenuCount(), before + 2);
    }
    EXPECT_STREQ(bookmarkTable.entries[1].description, "a description");
    DestroyBookmarkMenus();
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    FreeBookmarkTable();
    if (before >= 0) {
        EXPECT_EQ(LiveMenuCount(), before);
    }
    EXPECT_EQ(bookmarkTable.rootMenu, nullptr);
    EXPECT_EQ(bookmarkTable.entries, nullptr);
    EXPECT_EQ(bookmarkTable.entryCount, 0);
    EXPECT_EQ(bookmarkTable.folderCount, 0);
}

TEST_F(BookmarkTableTest, OverlongFolderPathKeepsOutermostFoldersWithinBuffer)
{
    std::string longName(700, 'n');
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, ("outer" + longName).c_str(), OPEN_FOLDER);
    AppendRecord(cursor, ("inner" + longName).c_str(), OPEN_FOLDER);
    int inside = AppendRecord(cursor, "x", "http://x/");
    GetFolderPath(inside);
    const char *path = bookmarkTable.entries[inside].folderPath;
    EXPECT_EQ(std::strlen(path), 1023u);
    EXPECT_EQ(std::strncmp(path, "outer", 5), 0);
}
