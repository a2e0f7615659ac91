// The sources in their order: the bookmark file first (nothing else is read without it), then the
// Favorites, then the hotlist, then the sort.
#include "bookmarks/read_sources.h"

#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_reader.h"
#include "bookmarks/netscape_reader.h"
#include "bookmarks/opera_reader.h"
#include "bookmarks/sorting.h"

bool ReadBookmarkSources()
{
    ReadNetscapeBookmarks(settings.bookmarkFile);
    if (bookmarkTable.entryCount == 0)
        return false;
    if (settings.useFavorites)
        ReadFavoritesFolder(settings.favoritesPath);
    if (settings.useOperaHotlist)
        ReadOperaHotlist(settings.operaHotlistPath);
    SortBookmarkTable();
    return true;
}
