// Reader of Firefox's bookmarks: moz_bookmarks and moz_places of places.sqlite, read from a private copy.
#pragma once
#include <cstdint>

// Copies places.sqlite (and places.sqlite-wal, where there is one) into a private folder, reads the copy
// and deletes it: the live file is never opened. Appends the menu, toolbar, unfiled and mobile roots as
// top-level folders; 1 when records were appended, 0 when the file cannot be copied or read.
int ReadFirefoxBookmarks(const char *placesPath);
// What a reading now would append, as a digest of every record's kind, name, URL and change time but not
// of its visit time (visits are browsing, not a change of the bookmarks); 0 when the file cannot be read.
// Reads a private copy like ReadFirefoxBookmarks and touches no table.
uint64_t ReadFirefoxDigest(const char *placesPath);
// The digest of what the last ReadFirefoxBookmarks appended (0 when it appended nothing); any thread.
uint64_t LastFirefoxDigest();
