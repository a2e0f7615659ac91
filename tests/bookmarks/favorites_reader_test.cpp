// The Favorites reader over trees made on disk: folders, shortcuts, other files, order and counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_reader.h"
#include "tests/support/favorites_tree.h"
#include "tests/support/table_checks.h"

namespace fs = std::filesystem;

class FavoritesReaderTest : public ::testing::Test {
protected:
    fs::path root;
    void SetUp() override { root = MakeScratchDirectory("favorites"); }
    void TearDown() override
    {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

// The records of one folder in name order, each "name=url" or "name{...}" with the folder's records;
// the listing order of a directory is the platform's, so the tests compare this form.
static std::string SortedTree(int folder, int first)
{
    std::vector<std::string> items;
    for (int i = first; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        if (entry.parentFolder != folder || IsFolderEnd(entry))
            continue;
        if (IsFolderStart(entry)) {
            int k = 0;
            while (k < bookmarkTable.folderCount && bookmarkTable.folders[k].entry != entry.id)
                k++;
            items.push_back(std::string(entry.name) + "{" + SortedTree(k, first) + "}");
        } else {
            items.push_back(std::string(entry.name) + "=" + entry.url);
        }
    }
    std::sort(items.begin(), items.end());
    std::string tree;
    for (const std::string &item : items)
        tree += (tree.empty() ? "" : " ") + item;
    return tree;
}

static void MakeSampleTree(const fs::path &root)
{
    fs::create_directories(root / "Links");
    WriteTextFile(root / "Links" / "Example.url", ShortcutText("http://example.com/"));
    WriteTextFile(root / "Links" / "notes.txt", "[InternetShortcut]\r\nURL=http://not-a-shortcut/\r\n");
    fs::create_directories(root / "News" / "Inner");
    fs::create_directories(root / "News" / "Empty");
    WriteTextFile(root / "News" / "Inner" / "deep.URL", ShortcutText("http://deep/"));
    WriteTextFile(root / "News" / "top.Url", ShortcutText("http://top/?a=1&b=2"));
    fs::create_directories(root / "Odd.URL");
    WriteTextFile(root / "site.url", ShortcutText("http://site/"));
    WriteTextFile(root / "nourl.url", "[InternetShortcut]\r\nIconIndex=0\r\n");
    WriteTextFile(root / "desktop.ini", "[.ShellClassInfo]\r\n");
    WriteTextFile(root / "readme.txt", "text");
    WriteTextFile(root / "url", "too short to end in .url");
}

TEST_F(FavoritesReaderTest, ReadsTheTreeDepthFirst)
{
    MakeSampleTree(root);
    ASSERT_EQ(ReadFavoritesFolder(root.string().c_str()), 1);
    EXPECT_EQ(SortedTree(-1, 0),
              "Links{Example=http://example.com/} News{Empty{} Inner{deep=http://deep/} top=http://top/?a=1&b=2} "
              "Odd.URL{} nourl=<unable to resolve> site=http://site/");
    EXPECT_EQ(bookmarkTable.entryCount, 15);
    EXPECT_EQ(bookmarkTable.folderCount, 5);
    EXPECT_EQ(CheckDepthFirst(0), "");
    EXPECT_EQ(CheckFolderCounts(), "");
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        EXPECT_EQ(bookmarkTable.entries[i].source, SOURCE_FAVORITES);
        EXPECT_EQ(bookmarkTable.entries[i].lastVisit, 0);
        EXPECT_EQ(bookmarkTable.entries[i].description, nullptr);
    }
    // News holds Inner (its start record counted, not its contents), Empty, top and its own end record.
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        if (std::string(bookmarkTable.entries[bookmarkTable.folders[k].entry].name) == "News") {
            EXPECT_EQ(bookmarkTable.folders[k].childCount, 4);
        }
}

TEST_F(FavoritesReaderTest, AppendsAfterOtherRecordsAtTopLevel)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "N", OPEN_FOLDER);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    MenuHandle root_menu = bookmarkTable.rootMenu;
    fs::create_directories(root / "Links");
    WriteTextFile(root / "Links" / "a.url", ShortcutText("http://a/"));
    ASSERT_EQ(ReadFavoritesFolder(root.string().c_str()), 1);
    EXPECT_EQ(DumpTable(3), "-1 Links = Open Folder\n1 a = http://a/\n1 Close Folder = Close Folder\n");
    EXPECT_EQ(bookmarkTable.rootMenu, root_menu);
    EXPECT_EQ(bookmarkTable.folders[1].parentMenu, root_menu);
    EXPECT_EQ(bookmarkTable.folders[1].entry, 3);
    EXPECT_EQ(CheckDepthFirst(0), "");
}

TEST_F(FavoritesReaderTest, EmptyAndMissingDirectories)
{
    EXPECT_EQ(ReadFavoritesFolder(root.string().c_str()), 1);
    EXPECT_EQ(bookmarkTable.entryCount, 0);
    DestroyBookmarkMenus();
    std::string missing = (root / "missing").string();
    EXPECT_EQ(ReadFavoritesFolder(missing.c_str()), 0);
    EXPECT_EQ(bookmarkTable.entryCount, 0);
    EXPECT_EQ(bookmarkTable.rootMenu, nullptr);
    // a failed reading leaves no state behind: the next one is a top-level reading again
    WriteTextFile(root / "s.url", ShortcutText("http://s/"));
    EXPECT_EQ(ReadFavoritesFolder(root.string().c_str()), 1);
    EXPECT_EQ(DumpTable(), "-1 s = http://s/\n");
}

#ifndef _WIN32
// The host build reads names in byte order after the listing's own "." and "..".
TEST_F(FavoritesReaderTest, HostListingOrder)
{
    MakeSampleTree(root);
    ASSERT_EQ(ReadFavoritesFolder(root.string().c_str()), 1);
    EXPECT_EQ(DumpTable(),
              "-1 Links = Open Folder\n"
              "0 Example = http://example.com/\n"
              "0 Close Folder = Close Folder\n"
              "-1 News = Open Folder\n"
              "1 Empty = Open Folder\n"
              "2 Close Folder = Close Folder\n"
              "1 Inner = Open Folder\n"
              "3 deep = http://deep/\n"
              "3 Close Folder = Close Folder\n"
              "1 top = http://top/?a=1&b=2\n"
              "1 Close Folder = Close Folder\n"
              "-1 Odd.URL = Open Folder\n"
              "4 Close Folder = Close Folder\n"
              "-1 nourl = <unable to resolve>\n"
              "-1 site = http://site/\n");
}

// Paths past 260 bytes never reach a fixed buffer: the entry is left out, and a directory whose
// listing pattern would not fit becomes an empty folder.
TEST_F(FavoritesReaderTest, OverlongPathsRefused)
{
    std::string base = root.string();
    ASSERT_LT(base.size(), 200u);
    std::string fits(255 - base.size(), 'd');  // base + "/" + fits is 256 bytes: "/*.*" does not fit
    fs::create_directories(root / fits);
    WriteTextFile(root / fits / "lost.url", ShortcutText("http://lost/"));
    std::string tooLong(259 - base.size(), 'f');  // base + "/" + this + ".url" is over 260
    WriteTextFile(root / (tooLong + ".url"), ShortcutText("http://too-long/"));
    WriteTextFile(root / "kept.url", ShortcutText("http://kept/"));
    ASSERT_EQ(ReadFavoritesFolder(base.c_str()), 1);
    EXPECT_EQ(DumpTable(), "-1 " + fits + " = Open Folder\n0 Close Folder = Close Folder\n-1 kept = http://kept/\n");
}
#endif
