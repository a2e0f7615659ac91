// Test-only stand-ins for the three readers and the sort: they record their calls and run a hook.
#include "bookmarks/favorites_reader.h"
#include "bookmarks/netscape_reader.h"
#include "bookmarks/opera_reader.h"
#include "bookmarks/sorting.h"
#include "bookmarks/bookmark_table.h"
#include "tests/menu/standins.h"

ReaderCalls readerCalls;
std::function<void()> netscapeHook, favoritesHook, operaHook, sortHook;

void ResetReaderStandins()
{
    readerCalls = ReaderCalls();
    netscapeHook = favoritesHook = operaHook = sortHook = nullptr;
}

static int RunReader(std::vector<std::string> &calls, const std::function<void()> &hook, const char *path)
{
    calls.push_back(path);
    int before = bookmarkTable.entryCount;
    if (hook)
        hook();
    return bookmarkTable.entryCount > before ? 1 : 0;
}

int ReadNetscapeBookmarks(const char *path)
{
    return RunReader(readerCalls.netscape, netscapeHook, path);
}

int ReadFavoritesFolder(const char *directory)
{
    return RunReader(readerCalls.favorites, favoritesHook, directory);
}

int ReadOperaHotlist(const char *path)
{
    return RunReader(readerCalls.opera, operaHook, path);
}

void SortBookmarkTable()
{
    readerCalls.sorts++;
    if (sortHook)
        sortHook();
}
