// Reader of the Opera hotlist (the text file named in opera.ini).
#pragma once

// Appends the hotlist's folders and bookmarks; 1 when records were appended, 0 otherwise.
int ReadOperaHotlist(const char *path);
// The same over hotlist text already in memory (ended by its first NUL); the file reader's second half.
int ReadOperaHotlistText(const char *text);
