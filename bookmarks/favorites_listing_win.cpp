// Directory listing and COM for the Favorites reader on Windows.
#include "bookmarks/favorites_listing.h"

#include <windows.h>
#include <objbase.h>

const char PATH_SEPARATOR[] = "\\";

bool ListDirectory(const char *directory, std::vector<DirectoryItem> &items)
{
    std::string pattern = std::string(directory) + "\\*.*";
    if (pattern.size() >= FAVORITES_MAX_PATH)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(pattern.c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    // Only the directory attribute is looked at: hidden and system entries are read like the rest.
    do
        items.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    while (FindNextFileA(listing, &found));
    FindClose(listing);
    return true;
}

bool BeginShortcutResolving()
{
    // S_FALSE (already initialised on this thread) must be balanced too; a refusal must not be.
    return SUCCEEDED(CoInitialize(nullptr));
}

void EndShortcutResolving()
{
    CoUninitialize();
}
