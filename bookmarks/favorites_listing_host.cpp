// Directory listing for the Favorites reader in the host build (no COM there).
#include "bookmarks/favorites_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

const char PATH_SEPARATOR[] = "/";

// The listing the reader expects starts with the directory's "." and ".." as Windows reports them;
// the file system gives neither here, so both are put first. The rest comes in name order, so that a
// tree reads the same on every run (the host's own directory order is arbitrary).
bool ListDirectory(const char *directory, std::vector<DirectoryItem> &items)
{
    std::string pattern = std::string(directory) + "/*.*";
    if (pattern.size() >= FAVORITES_MAX_PATH)
        return false;  // as long a pattern is refused on Windows too
    std::error_code error;
    std::filesystem::directory_iterator listing(directory, error);
    if (error)
        return false;
    std::vector<DirectoryItem> found;
    while (listing != std::filesystem::directory_iterator()) {
        std::error_code kindError;
        bool isDirectory = listing->is_directory(kindError);
        found.push_back({listing->path().filename().string(), isDirectory});
        listing.increment(error);
        if (error)
            break;  // keep what was listed, as Windows does when the listing ends early
    }
    std::sort(found.begin(), found.end(),
              [](const DirectoryItem &a, const DirectoryItem &b) { return a.name < b.name; });
    items.push_back({".", true});
    items.push_back({"..", true});
    items.insert(items.end(), found.begin(), found.end());
    return true;
}

bool BeginShortcutResolving()
{
    return false;
}

void EndShortcutResolving()
{
}
