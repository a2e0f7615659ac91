// Reader of a Netscape-format bookmark file (bookmark.htm and every browser's HTML export).
#pragma once

// Appends the file's records to the (empty) table; 1 when at least one folder, bookmark or separator
// line was found, 0 when the file cannot be opened or holds none.
int ReadNetscapeBookmarks(const char *path);
