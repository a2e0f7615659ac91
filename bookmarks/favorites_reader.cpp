// Reader of the Favorites tree: folders for subdirectories, bookmarks for .URL shortcuts, depth first.
#include "bookmarks/favorites_reader.h"

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

// A shortcut's target is read from its file, which gives what the Internet Shortcut object gives on
// every file that holds its URL where the object looks. The object is asked only where the reading
// finds none (a file in UTF-16, one with a byte-order mark, a URL behind the first megabyte): under
// Wine it cost 9-14 ms a file, and a refresh of 2,000 favorites took 20 seconds.
static std::string ShortcutTarget(const std::filesystem::path &path)
{
    std::string bytes, url;
    if (ReadShortcutFile(path, bytes) && FindShortcutURL(bytes.data(), bytes.size(), url))
        return url;
    if (AskShortcutObject(path, url))
        return url;
    return UNRESOLVED_URL;
}

static int ReadFolder(const std::filesystem::path &directory);

static void AppendEntry(const DirectoryItem &item)
{
    if (item.name == "..")
        return;
    if (!item.isDirectory && !IsShortcutName(item.name))
        return;
    if (item.path.native().size() >= FAVORITES_MAX_PATH) {
        Trace("left out, path too long: %s", item.name.c_str());
        return;
    }
    if (item.isDirectory) {
        AppendRecord(favoritesCursor, item.name.c_str(), OPEN_FOLDER);
        ReadFolder(item.path);  // closes the folder before it returns
        return;
    }
    std::string target = ShortcutTarget(item.path);
    if (!IsKindMarker(target.c_str()))
        AppendRecord(favoritesCursor, item.name.substr(0, item.name.size() - 4).c_str(), target.c_str());
}

static int ReadFolder(const std::filesystem::path &directory)
{
    bool nested = favoritesReading;
    std::vector<DirectoryItem> items;
    bool listed = ListDirectory(directory, items);
    if (listed && !nested) {
        StartReading(favoritesCursor, SOURCE_FAVORITES);
        favoritesReading = true;
    }
    // The platform lists a directory's own "." first; it is passed over unexamined. A drive root has
    // no "." and would lose its first entry, but the Favorites folder is never a drive root.
    for (size_t i = 1; i < items.size(); i++)
        AppendEntry(items[i]);
    if (nested) {
        // A subdirectory that cannot be listed still ends as an (empty) folder.
        AppendRecord(favoritesCursor, CLOSE_FOLDER, CLOSE_FOLDER);
    } else if (listed) {
        favoritesReading = false;
        EndShortcutResolving();
    }
    return listed ? 1 : 0;
}

// The tree is listed and opened by the names the file system holds (Unicode on Windows): a name outside
// the code page comes back from a listing in the code page with '?' in it, which opens nothing. Only
// the names shown are in the code page.
int ReadFavoritesFolder(const char *directory)
{
    TraceEnter("ReadFavoritesFolder");
    int listed = ReadFolder(FavoritesPath(directory));
    TraceExit("ReadFavoritesFolder");
    return listed;
}
