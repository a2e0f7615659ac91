// Sorting the table: the comparators as declared, and big folders of equal names (the name rules
// themselves are in the list cases sort-*).
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/sorting.h"
#include "tests/support/table_checks.h"

class SortingTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ReleaseTable();
        settings.sortOrder = SORT_ORDER_DEFAULT;
    }
};

TEST_F(SortingTest, ComparatorsAsDeclared)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    for (const char *name : {"Separator", "Close Folder", "ALPHA", "alpha", "b"})
        AppendRecord(cursor, name, std::strcmp(name, "Separator") ? "http://u/" : SEPARATOR);
    BookmarkEntry *e = bookmarkTable.entries;
    // Two records and the ascending answer: "Close Folder" comes first even as a bookmark's title, case does
    // not count, and the separator, left nameless, is the smaller.
    const int rows[][3] = {{1, 4, -1}, {4, 1, 1}, {2, 3, 0}, {3, 4, -1}, {0, 2, -1}};
    for (int order : {SORT_ORDER_ASCENDING, SORT_ORDER_DESCENDING}) {
        settings.sortOrder = order;
        for (const auto &row : rows)
            EXPECT_EQ(CompareByName(&e[row[0]], &e[row[1]]), order == SORT_ORDER_ASCENDING ? row[2] : -row[2])
                << e[row[0]].name << " / " << e[row[1]].name << " in order " << order;
    }
    EXPECT_STREQ(e[0].name, "");
    e[2].parentFolder = e[3].parentFolder = 3;
    e[4].parentFolder = 4;
    EXPECT_EQ(CompareByParentFolder(&e[2], &e[3]), -1);
    EXPECT_EQ(CompareByParentFolder(&e[3], &e[2]), -1);  // never 0
    EXPECT_EQ(CompareByParentFolder(&e[4], &e[2]), 1);
}

// Many equal names and end records, for which the declared comparators are no ordering: the sort must
// still keep every folder's records together and agree with them wherever they answer; an unknown order
// leaves the reading order.
TEST_F(SortingTest, LargeFoldersWithTies)
{
    std::mt19937 random(7);
    const char *names[] = {"Close Folder", "Separator", "a", "A", "b", "B", "_", "", "ab"};
    for (int order : {int(SORT_ORDER_ASCENDING), int(SORT_ORDER_DESCENDING), 7}) {
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_OPERA);
        for (int i = 0; i < 3000; i++) {
            const char *name = names[random() % 9];
            if (random() % 50 == 0)
                AppendRecord(cursor, "folder", OPEN_FOLDER);
            else if (random() % 50 == 0 && cursor.folder != -1)
                AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
            else
                AppendRecord(cursor, name, std::strcmp(name, "Separator") == 0 ? SEPARATOR : "http://u/");
        }
        settings.sortOrder = order;
        SortBookmarkTable();
        EXPECT_EQ(CheckTable(order != 7, static_cast<int>(cursor.openFolders.size())), "") << order;
        BookmarkEntry *e = bookmarkTable.entries;
        for (int i = 0; i < bookmarkTable.entryCount; i++) {
            if (order == 7 || i + 1 == bookmarkTable.entryCount || e[i].parentFolder != e[i + 1].parentFolder)
                continue;
            bool bothEnds = !std::strcmp(e[i].name, CLOSE_FOLDER) && !std::strcmp(e[i + 1].name, CLOSE_FOLDER);
            if (!bothEnds) {
                ASSERT_LE(CompareByName(&e[i], &e[i + 1]), 0) << "at " << i << " in order " << order;
            }
        }
        ReleaseTable();
    }
}
