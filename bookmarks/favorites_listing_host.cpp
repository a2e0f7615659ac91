// The Favorites reader's platform services in the host build: a directory listing and file reading, no COM.
#include "bookmarks/favorites_listing.h"

#include <algorithm>
#include <system_error>

#include "bookmarks/favorites_reader.h"

const char PATH_SEPARATOR[] = "/";

std::filesystem::path FavoritesPath(const char *directory)
{
    return std::filesystem::path(directory);
}

// The listing the reader expects starts with the directory's "." and ".." as Windows reports them;
// the file system gives neither here, so both are put first. The rest comes in name order, so that a
// tree reads the same on every run (the host's own directory order is arbitrary).
bool ListDirectory(const std::filesystem::path &directory, std::vector<DirectoryItem> &items)
{
    if (directory.native().size() + 4 >= FAVORITES_MAX_PATH)
        return false;  // as long a pattern ("/*.*" added) is refused on Windows too
    std::error_code error;
    std::filesystem::directory_iterator listing(directory, error);
    if (error)
        return false;
    std::vector<DirectoryItem> found;
    while (listing != std::filesystem::directory_iterator()) {
        std::error_code kindError;
        bool isDirectory = listing->is_directory(kindError);
        found.push_back({listing->path().filename().string(), listing->path(), isDirectory});
        listing.increment(error);
        if (error)
            break;  // keep what was listed, as Windows does when the listing ends early
    }
    std::sort(found.begin(), found.end(),
              [](const DirectoryItem &a, const DirectoryItem &b) { return a.name < b.name; });
    items.push_back({".", directory / ".", true});
    items.push_back({"..", directory / "..", true});
    items.insert(items.end(), found.begin(), found.end());
    return true;
}

bool ReadShortcutFile(const std::filesystem::path &path, std::string &bytes)
{
    return ReadShortcutFileBytes(path.c_str(), bytes);
}

bool AskShortcutObject(const std::filesystem::path &, std::string &)
{
    return false;
}

void EndShortcutResolving()
{
}
