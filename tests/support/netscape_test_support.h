// Helpers for the reader tests: a file with given bytes, a compact dump of the table and its invariants.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/netscape_reader.h"

// Writes the bytes to a file in the test temp dir and returns its path.
inline std::string WriteTempFile(const std::string &name, const std::string &bytes)
{
    std::string path = ::testing::TempDir() + "tresk_" + name;
    FILE *file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << path;
    if (file) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

inline std::string ReadWholeFile(const std::string &path)
{
    std::string bytes;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

// One record as "K parent|name|url|lastVisit|lastModified", K being F(older), E(nd), S(eparator), B(ookmark).
inline std::string DumpRecord(const BookmarkEntry &entry)
{
    char kind = IsFolderStart(entry) ? 'F' : IsFolderEnd(entry) ? 'E' : IsSeparator(entry) ? 'S' : 'B';
    return std::string(1, kind) + " " + std::to_string(entry.parentFolder) + "|" + entry.name + "|" +
           (IsBookmark(entry) ? std::string(entry.url) : std::string("")) + "|" + std::to_string(entry.lastVisit) + "|" +
           std::to_string(entry.lastModified);
}

inline std::vector<std::string> DumpTable()
{
    std::vector<std::string> records;
    for (int i = 0; i < bookmarkTable.entryCount; i++)
        records.push_back(DumpRecord(bookmarkTable.entries[i]));
    return records;
}

// What every table the reader leaves must satisfy, whatever the file held.
inline void ExpectTableConsistent()
{
    std::vector<int> children(static_cast<size_t>(bookmarkTable.folderCount), 0);
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        ASSERT_EQ(entry.id, i);
        ASSERT_EQ(entry.source, SOURCE_NETSCAPE);
        ASSERT_NE(entry.name, nullptr);
        ASSERT_NE(entry.url, nullptr);
        ASSERT_EQ(entry.description, nullptr);
        ASSERT_GE(entry.parentFolder, -1);
        ASSERT_LT(entry.parentFolder, bookmarkTable.folderCount);
        if (entry.parentFolder == -1) {
            ASSERT_EQ(entry.parentMenu, bookmarkTable.rootMenu) << "record " << i;
        } else {
            ASSERT_EQ(entry.parentMenu, bookmarkTable.folders[entry.parentFolder].menu) << "record " << i;
            children[static_cast<size_t>(entry.parentFolder)]++;
        }
        if (!IsBookmark(entry)) {
            ASSERT_TRUE(entry.lastVisit == 0 && entry.lastModified == 0) << "record " << i;
        }
    }
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        ASSERT_EQ(bookmarkTable.folders[k].childCount, children[static_cast<size_t>(k)]) << "folder " << k;
}

inline void ReleaseTable()
{
    DestroyBookmarkMenus();
    FreeBookmarkTable();
}
