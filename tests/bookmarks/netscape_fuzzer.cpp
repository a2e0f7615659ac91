// libFuzzer harness for the Netscape bookmark file reader: any bytes as a file, read, check, free.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/netscape_reader.h"

static const std::string &InputPath()
{
    // One file per process, so parallel fuzzing jobs do not read each other's inputs.
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tresk_fuzz_" + std::to_string(std::random_device()()) + ".htm")).string();
    return path;
}

static void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The table must hold together whatever the file was: ids are positions, parents exist, counts agree.
static void CheckTable()
{
    std::vector<int> children(static_cast<size_t>(bookmarkTable.folderCount), 0);
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        Check(entry.id == i && entry.name && entry.url && !entry.description);
        Check(entry.parentFolder >= -1 && entry.parentFolder < bookmarkTable.folderCount);
        if (entry.parentFolder >= 0) {
            Check(entry.parentMenu == bookmarkTable.folders[entry.parentFolder].menu);
            children[static_cast<size_t>(entry.parentFolder)]++;
        } else {
            Check(entry.parentMenu == bookmarkTable.rootMenu);
        }
    }
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        Check(bookmarkTable.folders[k].childCount == children[static_cast<size_t>(k)]);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string &path = InputPath();
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    if (size)
        std::fwrite(data, 1, size, file);
    std::fclose(file);
    int found = ReadNetscapeBookmarks(path.c_str());
    // A file is read twice, but nothing changes it here: a counted line always yields its record.
    Check(found == (bookmarkTable.entryCount > 0 ? 1 : 0));
    CheckTable();
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    Check(LiveMenuCount() <= 0);
    std::remove(path.c_str());
    return 0;
}
