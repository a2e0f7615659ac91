// Reader of the Bookmarks file of the Chromium family (Chrome, Edge, Brave, Vivaldi, Chromium): JSON.
#pragma once
#include <cstddef>

// Appends the file's three roots (bookmark bar, other, synced) as top-level folders; 1 when records were
// appended, 0 when the file cannot be opened, is damaged or has none of the roots.
int ReadChromiumBookmarks(const char *path);
// The same over the file's text, which is parsed in place (changed) and ends at its first NUL.
int ReadChromiumBookmarksText(char *text);
