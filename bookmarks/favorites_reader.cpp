// Reader of the Favorites tree: folders for subdirectories, bookmarks for .URL shortcuts, depth first.
#include "bookmarks/favorites_reader.h"

#include <cstdlib>
#include <cstring>

#include "base/trace.h"
#include "base/ascii_case.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_listing.h"

static const char UNRESOLVED_URL[] = "<unable to resolve>";

// The state of one reading, kept across the recursive calls; only one reading runs at a time.
static ReaderCursor favoritesCursor;
static bool favoritesReading = false;

static bool IsShortcutName(const std::string &name)
{
    return name.size() >= 4 && CompareNoCase(name.c_str() + name.size() - 4, ".url") == 0;
}

static void AppendShortcut(const std::string &name, const std::string &path)
{
    char *url = nullptr;
    int length = 0;
    const char *target = ResolveInternetShortcut(path.c_str(), &url, &length) == 0 ? url : UNRESOLVED_URL;
    if (!IsKindMarker(target))
        AppendRecord(favoritesCursor, name.substr(0, name.size() - 4).c_str(), target);
    std::free(url);
}

static void AppendEntry(const char *directory, const DirectoryItem &item)
{
    if (item.name == "..")
        return;
    if (!item.isDirectory && !IsShortcutName(item.name))
        return;
    std::string path = std::string(directory) + PATH_SEPARATOR + item.name;
    if (path.size() >= FAVORITES_MAX_PATH) {
        Trace("left out, path too long: %s", path.c_str());
        return;
    }
    if (item.isDirectory) {
        AppendRecord(favoritesCursor, item.name.c_str(), OPEN_FOLDER);
        ReadFavoritesFolder(path.c_str());  // closes the folder before it returns
    } else {
        AppendShortcut(item.name, path);
    }
}

int ReadFavoritesFolder(const char *directory)
{
    TraceEnter("ReadFavoritesFolder");
    bool nested = favoritesReading;
    std::vector<DirectoryItem> items;
    bool listed = ListDirectory(directory, items);
    bool comStarted = false;
    if (listed && !nested) {
        comStarted = BeginShortcutResolving();
        StartReading(favoritesCursor, SOURCE_FAVORITES);
        favoritesReading = true;
    }
    // The platform lists a directory's own "." first; it is passed over unexamined. A drive root has
    // no "." and would lose its first entry, but the Favorites folder is never a drive root.
    for (size_t i = 1; i < items.size(); i++)
        AppendEntry(directory, items[i]);
    if (nested) {
        // A subdirectory that cannot be listed still ends as an (empty) folder.
        AppendRecord(favoritesCursor, CLOSE_FOLDER, CLOSE_FOLDER);
    } else if (listed) {
        favoritesReading = false;
        if (comStarted)
            EndShortcutResolving();
    }
    TraceExit("ReadFavoritesFolder");
    return listed ? 1 : 0;
}
