// The Favorites reader's platform services on Windows: the listing and the shortcut files, by Unicode names.
#include "bookmarks/favorites_listing.h"

#include <windows.h>

#include <cwchar>

#include "base/code_page.h"
#include "bookmarks/favorites_reader.h"

const char PATH_SEPARATOR[] = "\\";

std::filesystem::path FavoritesPath(const char *directory)
{
    int length = MultiByteToWideChar(CP_ACP, 0, directory, -1, nullptr, 0);
    std::wstring wide(length > 1 ? static_cast<size_t>(length - 1) : 0, L'\0');
    if (length > 1)
        MultiByteToWideChar(CP_ACP, 0, directory, -1, &wide[0], length);
    return std::filesystem::path(wide);
}

bool ListDirectory(const std::filesystem::path &directory, std::vector<DirectoryItem> &items)
{
    std::wstring pattern = directory.native() + L"\\*.*";
    if (pattern.size() >= FAVORITES_MAX_PATH)
        return false;
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW(pattern.c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    // Only the directory attribute is looked at: hidden and system entries are read like the rest.
    do {
        std::u16string name(found.cFileName, found.cFileName + std::wcslen(found.cFileName));
        items.push_back({CodePageFromUtf16(name), directory / found.cFileName,
                         (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
    return true;
}

// A short read is the end of a disk file, so a shortcut of a few hundred bytes takes one read: under
// Wine every call here is a round trip to the server.
bool ReadShortcutFile(const std::filesystem::path &path, std::string &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A device name ("con.url") opens the device, which may never end: only disk files are read.
    bool read = GetFileType(file) == FILE_TYPE_DISK;
    char chunk[4096];
    DWORD got = sizeof chunk;
    while (read && got == sizeof chunk && bytes.size() < MAX_SHORTCUT_FILE) {
        read = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0;
        bytes.append(chunk, read ? got : 0);
    }
    CloseHandle(file);
    if (bytes.size() > MAX_SHORTCUT_FILE)
        bytes.resize(MAX_SHORTCUT_FILE);
    return read;
}
