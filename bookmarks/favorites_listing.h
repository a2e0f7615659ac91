// The platform services of the Favorites reader: directory listing and the thread's COM.
#pragma once
#include <string>
#include <vector>

// Paths the reader handles, in bytes with the terminating zero: longer ones are left out.
const size_t FAVORITES_MAX_PATH = 260;

struct DirectoryItem {
    std::string name;
    bool isDirectory;
};

// "\" on Windows, "/" on the host.
extern const char PATH_SEPARATOR[];
// Every entry of the directory in listing order, its own "." first; false when listing cannot start.
bool ListDirectory(const char *directory, std::vector<DirectoryItem> &items);
// COM for the calling thread while a top-level reading runs; End only when Begin answered true.
bool BeginShortcutResolving();
void EndShortcutResolving();
