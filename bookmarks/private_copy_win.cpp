// Private copies on Windows: the temporary folder, and reading a file that its owner keeps open for writing.
#include "bookmarks/private_copy.h"

#include <windows.h>

#include <cstdio>
#include <vector>

std::string MakePrivateFolder()
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp)
        return "";
    static LONG made = 0;
    for (int attempt = 0; attempt < 100; attempt++) {
        char folder[MAX_PATH];
        std::snprintf(folder, sizeof folder, "%stresk-%lu-%ld", temp, GetCurrentProcessId(), InterlockedIncrement(&made));
        if (CreateDirectoryA(folder, nullptr))
            return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return "";
    }
    return "";
}

// Opened with every kind of sharing: Firefox holds its database open for reading and writing while it runs,
// and a copy must neither fail on that nor get in its way.
bool CopySharedFile(const std::string &from, const std::string &to)
{
    HANDLE source = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return false;
    HANDLE target = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    bool copied = target != INVALID_HANDLE_VALUE;
    std::vector<char> piece(1 << 20);
    for (DWORD got = 0; copied;) {
        copied = ReadFile(source, piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr) != FALSE;
        if (!copied || got == 0)
            break;
        DWORD written = 0;
        copied = WriteFile(target, piece.data(), got, &written, nullptr) && written == got;
    }
    if (target != INVALID_HANDLE_VALUE)
        CloseHandle(target);
    CloseHandle(source);
    return copied;
}

void RemovePrivateFolder(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(listing, &found));
        FindClose(listing);
    }
    RemoveDirectoryA(folder.c_str());
}
