// The platform services of the Favorites reader: the directory listing by the names the file system
// holds, a shortcut file's bytes, and the system's Internet Shortcut object.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

// Paths the reader handles, in the platform's characters with the terminating zero: longer ones are left out.
const size_t FAVORITES_MAX_PATH = 260;

struct DirectoryItem {
    std::string name;             // as shown: in the program's code page
    std::filesystem::path path;   // the entry's own path, as the platform opens it
    bool isDirectory;
};

// "\" on Windows, "/" on the host; the browser sources join their paths with it too.
extern const char PATH_SEPARATOR[];
// The Favorites directory, named in the code page, as the listing takes it.
std::filesystem::path FavoritesPath(const char *directory);
// Every entry of the directory in listing order, its own "." first; false when listing cannot start.
bool ListDirectory(const std::filesystem::path &directory, std::vector<DirectoryItem> &items);
// The start of a shortcut file (at most MAX_SHORTCUT_FILE bytes); false when it is no regular file or
// cannot be read.
bool ReadShortcutFile(const std::filesystem::path &path, std::string &bytes);
// The target that the system's Internet Shortcut object gives the file; false when it gives none or there
// is no such object (the host build). Its first use starts COM on the thread for the rest of the reading.
bool AskShortcutObject(const std::filesystem::path &path, std::string &url);
// Ends what AskShortcutObject started, at the end of a top-level reading.
void EndShortcutResolving();
