// Prints how long the menu builder takes for generated tables of 1k, 10k and 100k bookmarks.
#include "base/settings.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "bookmarks/bookmark_table.h"
#include "menu/menu_builder.h"

// A Netscape-like table: folders of 50 bookmarks (or all at top level), a separator after every 10th.
static void ReadGenerated(int bookmarks, bool flat)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    for (int i = 0; i < bookmarks; i++) {
        if (!flat && i % 50 == 0) {
            if (i > 0)
                AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
            AppendRecord(cursor, ("Folder " + std::to_string(i / 50)).c_str(), OPEN_FOLDER);
        }
        AppendRecord(cursor, ("Bookmark number " + std::to_string(i)).c_str(), "http://example.com/some/page.html");
        if (i % 10 == 9)
            AppendRecord(cursor, SEPARATOR, SEPARATOR);
    }
    if (!flat)
        AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
}

int main()
{
    std::memset(&settings, 0, sizeof settings);
    settings.useBookmarkFile = 1;
    settings.limitItemsPerColumn = 1;
    settings.itemsPerColumn = 40;
    settings.displayEmptyFolders = 1;
    for (int style : {MENU_STYLE_PLAIN, MENU_STYLE_FANCY}) {
        for (int count : {1000, 10000, 100000, -10000}) {
            bool flat = count < 0;
            count = flat ? -count : count;
            ReadGenerated(count, flat);
            auto start = std::chrono::steady_clock::now();
            BuildBookmarkMenus();
            double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("menu build, style %d, %6d bookmarks%s (%d records, %d folders): %.3f s\n", style, count,
                        flat ? " at top level" : "",
                        bookmarkTable.entryCount, bookmarkTable.folderCount, seconds);
            DestroyBookmarkMenus();
            FreeBookmarkTable();
        }
    }
    return 0;
}
