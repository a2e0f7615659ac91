// Sorting the table: name order within each folder, end records and separators, structure kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/sorting.h"
#include "base/settings.h"
#include "tests/support/table_checks.h"

class SortingTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
        settings.sortOrder = SORT_ORDER_DEFAULT;
    }
};

// Names of the records of one folder (-1: top level) in table order, "|" between them.
static std::string NamesIn(int folder)
{
    std::string names;
    for (int i = 0; i < bookmarkTable.entryCount; i++)
        if (bookmarkTable.entries[i].parentFolder == folder)
            names += std::string(names.empty() ? "" : "|") + bookmarkTable.entries[i].name;
    return names;
}

// A top-level folder "F" holding the given records (a name with "=" after it is a bookmark, "Separator"
// a separator), then the top-level records beta, Alpha and _x.
static void ReadFolderOf(const std::vector<std::string> &contents)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "F", OPEN_FOLDER);
    for (const std::string &name : contents)
        AppendRecord(cursor, name.c_str(), name == SEPARATOR ? SEPARATOR : "http://x/");
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    for (const char *name : {"beta", "Alpha", "_x"})
        AppendRecord(cursor, name, "http://top/");
}

struct OrderCase {
    const char *label;
    int sortOrder;
    std::vector<std::string> contents;
    const char *folderNames;  // folder F after sorting
    const char *topNames;
};

static const OrderCase ORDER_CASES[] = {
    {"ascending folds A-Z so _ comes first", SORT_ORDER_ASCENDING, {"beta", "Alpha", "_x"},
     "Close Folder|_x|Alpha|beta", "_x|Alpha|beta|F"},
    {"descending reverses", SORT_ORDER_DESCENDING, {"beta", "Alpha", "_x"}, "beta|Alpha|_x|Close Folder", "F|beta|Alpha|_x"},
    {"separators emptied, after the end record", SORT_ORDER_ASCENDING, {"b", "Separator", "a", "Separator"},
     "Close Folder|||a|b", "_x|Alpha|beta|F"},
    {"separators emptied, before the end record descending", SORT_ORDER_DESCENDING, {"b", "Separator", "a"},
     "b|a||Close Folder", "F|beta|Alpha|_x"},
    {"a prefix is smaller; bytes unsigned", SORT_ORDER_ASCENDING, {"abc", "\xE9t\xE9", "ab", "Z", "a["},
     "Close Folder|a[|ab|abc|Z|\xE9t\xE9", "_x|Alpha|beta|F"},
    {"a title \"Close Folder\" sorts as an end record", SORT_ORDER_DESCENDING, {"Close Folder", "m"},
     "m|Close Folder|Close Folder", "F|beta|Alpha|_x"},
    {"default order leaves the reading order", SORT_ORDER_DEFAULT, {"beta", "Separator", "Alpha"},
     "beta|Separator|Alpha|Close Folder", "F|beta|Alpha|_x"},
    {"an unknown order leaves the reading order", 7, {"b", "a"}, "b|a|Close Folder", "F|beta|Alpha|_x"},
};

TEST_F(SortingTest, NameOrders)
{
    for (const OrderCase &row : ORDER_CASES) {
        SCOPED_TRACE(row.label);
        ReadFolderOf(row.contents);
        settings.sortOrder = row.sortOrder;
        SortBookmarkTable();
        EXPECT_EQ(NamesIn(0), row.folderNames);
        EXPECT_EQ(NamesIn(-1), row.topNames);
        if (row.sortOrder != SORT_ORDER_ASCENDING && row.sortOrder != SORT_ORDER_DESCENDING) {
            for (int i = 0; i < bookmarkTable.entryCount; i++)
                EXPECT_EQ(bookmarkTable.entries[i].id, i);
        }
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
}

// Netscape, Favorites and Opera parts with nested, empty and separator-holding folders.
static void ReadThreeSources()
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "news", OPEN_FOLDER);
    AppendRecord(cursor, "zdnet", "http://z/");
    AppendRecord(cursor, "Separator", SEPARATOR);
    AppendRecord(cursor, "inner", OPEN_FOLDER);
    AppendRecord(cursor, "Y", "http://y/");
    AppendRecord(cursor, "x", "http://x/");
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, "Bbc", "http://b/");
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, "zeta", "http://zeta/");
    AppendRecord(cursor, "empty", OPEN_FOLDER);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, "Separator", SEPARATOR);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);  // the bookmark file's outermost list end
    StartReading(cursor, SOURCE_FAVORITES);
    AppendRecord(cursor, "Links", OPEN_FOLDER);
    AppendRecord(cursor, "Example", "http://example/");
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, "Alpha", "http://alpha/");
    StartReading(cursor, SOURCE_OPERA);
    AppendRecord(cursor, "mid", "http://mid/");
    AppendRecord(cursor, "Opera", OPEN_FOLDER);  // its "-" was missing: it stays open
    AppendRecord(cursor, "o", "http://o/");
}

struct Placement {
    int parentFolder;
    MenuHandle parentMenu;
    std::string url;
};

TEST_F(SortingTest, StructureUnchangedInBothOrders)
{
    for (int order : {SORT_ORDER_ASCENDING, SORT_ORDER_DESCENDING}) {
        SCOPED_TRACE(order);
        ReadThreeSources();
        std::vector<Placement> before;
        for (int i = 0; i < bookmarkTable.entryCount; i++)
            before.push_back({bookmarkTable.entries[i].parentFolder, bookmarkTable.entries[i].parentMenu,
                              bookmarkTable.entries[i].url});
        std::vector<int> folderEntries;
        for (int k = 0; k < bookmarkTable.folderCount; k++)
            folderEntries.push_back(bookmarkTable.folders[k].entry);
        settings.sortOrder = order;
        SortBookmarkTable();

        std::vector<bool> seen(before.size(), false);
        for (int i = 0; i < bookmarkTable.entryCount; i++) {
            const BookmarkEntry &entry = bookmarkTable.entries[i];
            ASSERT_TRUE(entry.id >= 0 && entry.id < static_cast<int>(before.size()));
            EXPECT_FALSE(seen[entry.id]) << "id " << entry.id << " twice";
            seen[entry.id] = true;
            EXPECT_EQ(entry.parentFolder, before[entry.id].parentFolder) << entry.name;
            EXPECT_EQ(entry.parentMenu, before[entry.id].parentMenu) << entry.name;
            EXPECT_EQ(entry.url, before[entry.id].url) << entry.name;
        }
        EXPECT_EQ(CheckSortedGroups(), "");
        EXPECT_EQ(CheckFolderCounts(), "");
        // Every folder still leads from its start record (found by id) to its own menu.
        for (int k = 0; k < bookmarkTable.folderCount; k++) {
            EXPECT_EQ(bookmarkTable.folders[k].entry, folderEntries[k]);
            int start = 0;
            while (start < bookmarkTable.entryCount && bookmarkTable.entries[start].id != folderEntries[k])
                start++;
            ASSERT_LT(start, bookmarkTable.entryCount);
            EXPECT_TRUE(IsFolderStart(bookmarkTable.entries[start]));
        }
        // The separators took part in sorts of bigger groups and lost their names.
        for (int i = 0; i < bookmarkTable.entryCount; i++)
            if (IsSeparator(bookmarkTable.entries[i])) {
                EXPECT_STREQ(bookmarkTable.entries[i].name, "");
            }
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
}

TEST_F(SortingTest, GroupsOfEachFolderAndMixedSources)
{
    ReadThreeSources();
    settings.sortOrder = SORT_ORDER_ASCENDING;
    SortBookmarkTable();
    EXPECT_EQ(NamesIn(-1), "Close Folder||Alpha|empty|Links|mid|news|Opera|zeta");
    EXPECT_EQ(NamesIn(0), "Close Folder||Bbc|inner|zdnet");
    EXPECT_EQ(NamesIn(1), "Close Folder|x|Y");
    EXPECT_EQ(NamesIn(2), "Close Folder");  // a folder of only its end record
    EXPECT_EQ(NamesIn(4), "o");
    // Top level mixes the sources by name: Favorites, Netscape, Opera records side by side.
    std::string sources;
    for (int i = 0; i < bookmarkTable.entryCount && bookmarkTable.entries[i].parentFolder == -1; i++)
        sources += std::to_string(bookmarkTable.entries[i].source);
    EXPECT_EQ(sources, "001012020");
    // The empty folder's one record sits right after the groups before it.
    EXPECT_EQ(bookmarkTable.entries[9 + 5 + 3].parentFolder, 2);
}

TEST_F(SortingTest, ASeparatorAloneKeepsItsName)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "Separator", SEPARATOR);
    settings.sortOrder = SORT_ORDER_ASCENDING;
    SortBookmarkTable();
    EXPECT_STREQ(bookmarkTable.entries[0].name, "Separator");
}

TEST_F(SortingTest, ComparatorsAsDescribed)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "Separator", SEPARATOR);
    AppendRecord(cursor, "Close Folder", "http://titled-like-an-end/");
    AppendRecord(cursor, "ALPHA", "http://a/");
    AppendRecord(cursor, "alpha", "http://a/");
    AppendRecord(cursor, "b", "http://b/");
    BookmarkEntry *e = bookmarkTable.entries;
    for (int order : {SORT_ORDER_ASCENDING, SORT_ORDER_DESCENDING}) {
        int s = order == SORT_ORDER_ASCENDING ? 1 : -1;
        settings.sortOrder = order;
        EXPECT_EQ(CompareByName(&e[1], &e[4]), -s);
        EXPECT_EQ(CompareByName(&e[4], &e[1]), s);
        EXPECT_EQ(CompareByName(&e[1], &e[1]), -s);  // two end records: "a first" both ways
        EXPECT_EQ(CompareByName(&e[2], &e[3]), 0);
        EXPECT_EQ(CompareByName(&e[3], &e[4]), -s);
        EXPECT_EQ(CompareByName(&e[0], &e[2]), -s);  // the separator, now nameless, is the smaller
    }
    EXPECT_STREQ(e[0].name, "");
    e[2].parentFolder = 3;
    e[3].parentFolder = 3;
    e[4].parentFolder = 4;
    EXPECT_EQ(CompareByParentFolder(&e[2], &e[3]), -1);
    EXPECT_EQ(CompareByParentFolder(&e[3], &e[2]), -1);  // never 0
    EXPECT_EQ(CompareByParentFolder(&e[2], &e[4]), -1);
    EXPECT_EQ(CompareByParentFolder(&e[4], &e[2]), 1);
}

// Many equal names and end-record names: the described comparators are no ordering there, and a sort
// handed them may read out of bounds. The result must still agree with them wherever they are defined.
TEST_F(SortingTest, LargeGroupsWithTiesStayOrdered)
{
    std::mt19937 random(7);
    const char *names[] = {"Close Folder", "Separator", "a", "A", "b", "B", "_", "", "ab"};
    for (int order : {SORT_ORDER_ASCENDING, SORT_ORDER_DESCENDING}) {
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
        EXPECT_EQ(CheckSortedGroups(), "");
        EXPECT_EQ(CheckFolderCounts(), "");
        BookmarkEntry *e = bookmarkTable.entries;
        for (int i = 0; i + 1 < bookmarkTable.entryCount; i++) {
            if (e[i].parentFolder != e[i + 1].parentFolder)
                continue;
            bool bothEnds = std::strcmp(e[i].name, CLOSE_FOLDER) == 0 && std::strcmp(e[i + 1].name, CLOSE_FOLDER) == 0;
            if (!bothEnds) {
                EXPECT_LE(CompareByName(&e[i], &e[i + 1]), 0) << "at " << i;
            }
        }
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
}
