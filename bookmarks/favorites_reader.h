// Reader of the Internet Explorer Favorites tree of .URL Internet Shortcut files.
#pragma once
#include <cstddef>
#include <string>

// Appends the directory's folders and shortcuts, depth first; 1 when it was listed, 0 otherwise.
int ReadFavoritesFolder(const char *directory);

// The target URL of the Internet Shortcut file at path: 0 with *url a new malloc'd copy (the caller
// passes it null and frees it) and *length its length, or the code of the step that failed (an
// HRESULT; 1 = S_FALSE when the shortcut holds no URL). Windows asks the system's Internet Shortcut
// object; the host build reads the file itself (ReadShortcutFileURL).
int ResolveInternetShortcut(const char *path, char **url, int *length);

// Failure codes of the file reading, the Internet Shortcut object's own where it has one.
const int SHORTCUT_NO_URL = 1;                                      // S_FALSE
const int SHORTCUT_CANNOT_READ = static_cast<int>(0x80004005u);      // E_FAIL
// The portable resolver: the URL= value of the [InternetShortcut] section of the file, read as the
// profile-file functions do. Same contract as ResolveInternetShortcut.
int ReadShortcutFileURL(const char *path, char **url, int *length);
// The same over the file's bytes in memory; false when the section or its URL= value is missing or empty.
bool FindShortcutURL(const char *text, size_t size, std::string &url);
// A shortcut file is a few hundred bytes; a larger one is damaged, and only its start is looked at.
const size_t MAX_SHORTCUT_FILE = 1 << 20;
// The first MAX_SHORTCUT_FILE bytes of the file at path; false when it is no regular file or cannot be read.
bool ReadShortcutFileBytes(const char *path, std::string &bytes);
