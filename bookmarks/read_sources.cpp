// The sources in their order: the bookmark file first (nothing else is read without it), then the
// Favorites, the hotlist, the Chromium-family Bookmarks file and Firefox's places.sqlite, then the sort.
#include "bookmarks/read_sources.h"

#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/chromium_reader.h"
#include "bookmarks/favorites_reader.h"
#include "bookmarks/firefox_reader.h"
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
    if (settings.useChromium)
        ReadChromiumBookmarks(settings.chromiumBookmarksPath);
    if (settings.useFirefox)
        ReadFirefoxBookmarks(settings.firefoxPlacesPath);
    SortBookmarkTable();
    return true;
}
