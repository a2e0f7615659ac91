// The readers where the list cases cannot reach: what a failed reading leaves, huge files, the shape of
// what they read, and a Firefox database as Firefox leaves it while it runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sqlite3.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_reader.h"
#include "bookmarks/firefox_reader.h"
#include "bookmarks/netscape_reader.h"
#include "bookmarks/opera_reader.h"
#include "tests/support/table_checks.h"

class ReaderTest : public ::testing::Test {
protected:
    void TearDown() override { ReleaseTable(); }

    // Reads the bytes as a bookmark file; the table must hold together whatever they were.
    static int ReadNetscape(const std::string &bytes)
    {
        int result = ReadNetscapeBookmarks(WriteScratchFile("bookmark.htm", bytes).c_str());
        EXPECT_EQ(CheckTable(), "");
        return result;
    }
};

TEST_F(ReaderTest, NothingReadLeavesTheTableEmpty)
{
    std::filesystem::path empty = MakeScratchDirectory("empty");
    EXPECT_EQ(ReadNetscapeBookmarks((empty / "missing.htm").string().c_str()), 0);
    EXPECT_EQ(ReadNetscape("<DT><A HREF=\"Separator\">only a bookmark that is left out</A>\n"), 0);
    for (const char *text : {"", "\n\n", "Opera Hotlist version 2.0\nNAME=a\nURL=b\n-\n", "#URL \n#FOLDERS\n"})
        EXPECT_EQ(ReadOperaHotlistText(text), 0) << text;
    EXPECT_EQ(ReadFavoritesFolder((empty / "missing").string().c_str()), 0);
    EXPECT_TRUE(!bookmarkTable.entries && !bookmarkTable.rootMenu && bookmarkTable.entryCount == 0);
    EXPECT_EQ(ReadFavoritesFolder(empty.string().c_str()), 1);  // listed, but nothing to append
    EXPECT_EQ(bookmarkTable.entryCount, 0);
}

// The file is read in pieces of 64 KB: lines of many lengths put CR, LF and tags on every side of a
// piece's end, lines of megabytes (an inline icon, a text, a quote never closed) span many pieces, and a
// CR LF file reads as its LF twin.
TEST_F(ReaderTest, NetscapeLinesAcrossReadPieces)
{
    std::string lf, crlf, expected;
    for (int i = 0; lf.size() < (3u << 20); i++) {
        std::string line = "<DT><A HREF=\"http://p/" + std::to_string(i) + "\" ICON=\"" +
                           std::string(static_cast<size_t>(i * 37 % 4099), 'x') + "\">t" + std::to_string(i) + "</A>";
        lf += line + "\n";
        crlf += line + "\r\n";
        expected += "-1 t" + std::to_string(i) + " = http://p/" + std::to_string(i) + "\n";
    }
    const std::string icon(5 << 20, 'A');
    for (const std::string &line : {"<DT><A HREF=\"http://big/\" ICON=\"data:" + icon + "\" LAST_VISIT=\"5\">Big</A>",
                                    icon, "<DT><A HREF=\"" + icon}) {
        lf += line + "\n";
        crlf += line + "\r\n";
    }
    expected += "-1 Big = http://big/ visited 5\n-1  = " + icon.substr(0, 1024) + "\n";
    for (const std::string *file : {&lf, &crlf}) {
        ASSERT_EQ(ReadNetscape(*file), 1);
        EXPECT_TRUE(DumpTable() == expected) << (file == &lf ? "LF" : "CR LF");
        ReleaseTable();
    }
}

// The three sources in a refresh's order, from the list cases' files: each appends at top level after the
// others, into the one root menu, and the table holds together (the fuzzers' replay checks each file alone).
TEST_F(ReaderTest, ThreeSourcesHoldTogether)
{
    ASSERT_EQ(ReadNetscapeBookmarks(TRESK_TEST_DATA "/netscape/firefox-export.htm"), 1);
    MenuHandle root = bookmarkTable.rootMenu;
    ASSERT_EQ(ReadFavoritesFolder(TRESK_TEST_DATA "/favorites/tree"), 1);
    ASSERT_EQ(ReadOperaHotlist(TRESK_TEST_DATA "/opera/rules.adr"), 1);
    EXPECT_EQ(bookmarkTable.rootMenu, root);
    EXPECT_EQ(CheckTable(false, 1), "");  // the hotlist's last folder has no "-"
    EXPECT_EQ(bookmarkTable.entryCount, 13 + 16 + 20);
}

// Regression: a folder named as the hotlist was taken for a file of 2^63 bytes and ended the program. On
// the host a pipe (whose opening waits for a writer) and /dev/zero (which never ends) are no files either.
TEST_F(ReaderTest, PathsThatAreNoRegularFilesCannotBeOpened)
{
    std::filesystem::path folder = MakeScratchDirectory("no-file");
    std::vector<std::string> paths{folder.string()};
#ifndef _WIN32
    ASSERT_EQ(mkfifo((folder / "pipe.url").c_str(), 0600), 0);
    paths.insert(paths.end(), {(folder / "pipe.url").string(), "/dev/zero"});
    ASSERT_EQ(ReadFavoritesFolder(folder.string().c_str()), 1);
    EXPECT_EQ(DumpTable(), "-1 pipe = <unable to resolve>\n");
    ReleaseTable();
#endif
    for (const std::string &path : paths)
        EXPECT_EQ(ReadNetscapeBookmarks(path.c_str()) + ReadOperaHotlist(path.c_str()), 0) << path;
}

#ifndef _WIN32
// Paths past 260 bytes never reach a fixed buffer: the entry is left out, and a directory whose
// listing pattern would not fit becomes an empty folder.
TEST_F(ReaderTest, FavoritesOverlongPathsRefused)
{
    std::filesystem::path root = MakeScratchDirectory("favorites");
    std::string base = root.string();
    ASSERT_LT(base.size(), 200u);
    std::string fits(255 - base.size(), 'd');  // base + "/" + fits is 256 bytes: "/*.*" does not fit
    WriteScratchFile(root / fits / "lost.url", ShortcutText("http://lost/"));
    WriteScratchFile(root / (std::string(259 - base.size(), 'f') + ".url"), ShortcutText("http://too-long/"));
    WriteScratchFile(root / "kept.url", ShortcutText("http://kept/"));
    ASSERT_EQ(ReadFavoritesFolder(base.c_str()), 1);
    EXPECT_EQ(DumpTable(), "-1 " + fits + " = Open Folder\n0 Close Folder = Close Folder\n-1 kept = http://kept/\n");
}
#endif

// Firefox keeps its newest rows in places.sqlite-wal and, while it runs, the database open in exclusive
// locking mode. Whether the rows are left only in the WAL by a closed connection or held by an open one,
// the private copy gives them, no -shm file appears beside the live database, and the holder goes on.
TEST_F(ReaderTest, FirefoxRowsOnlyInTheWalOfALockedDatabase)
{
    const std::string data = TRESK_TEST_DATA "/firefox/";
    for (bool stillOpen : {false, true}) {
        std::filesystem::path places = MakeScratchDirectory("profile") / "places.sqlite";
        ASSERT_EQ(MakeDatabase(places, {ReadFileBytes(data + "schema.sql"), ReadFileBytes(data + "rules.sql")}), "");
        sqlite3 *db = nullptr;
        sqlite3_open(places.string().c_str(), &db);
        auto add = [&](int id) {
            std::string n = std::to_string(id);
            return sqlite3_exec(db, ("INSERT INTO moz_places (id, url, guid) VALUES (" + n + ", 'https://wal.example/" +
                                     n + "', 'walplace" + n + "'); INSERT INTO moz_bookmarks (type, fk, parent, "
                                     "position, title, guid) VALUES (1, " + n + ", 3, " + n + ", 'WAL only', 'walmark" +
                                     n + "');").c_str(), nullptr, nullptr, nullptr);
        };
        sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; PRAGMA wal_autocheckpoint = 0;", nullptr, nullptr, nullptr);
        ASSERT_EQ(add(100), SQLITE_OK);
        if (!stillOpen) {
            sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            sqlite3_close(db);
        }
        ASSERT_GT(std::filesystem::file_size(places.string() + "-wal"), 0u);
        ASSERT_EQ(ReadFirefoxBookmarks(places.string().c_str()), 1) << stillOpen;
        EXPECT_NE(DumpTable().find("4 Toolbar one = https://toolbar.example/ modified 1630000000\n"
                                   "4 WAL only = https://wal.example/100\n"), std::string::npos) << DumpTable();
        EXPECT_FALSE(std::filesystem::exists(places.string() + "-shm")) << "the live database was opened";
        if (stillOpen) {
            EXPECT_EQ(add(101), SQLITE_OK) << "the holder was disturbed";
            sqlite3_close(db);
        }
        ReleaseTable();
    }
}
