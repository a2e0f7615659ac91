// Reader of Firefox's bookmarks: moz_bookmarks and moz_places of places.sqlite, read from a private copy.
#pragma once
#include <chrono>
#include <cstdint>
#include <vector>

#include "bookmarks/places_wal.h"

// Copies places.sqlite (and places.sqlite-wal, where there is one) into a private folder, reads the copy
// and deletes it: the live file is never opened. Appends the menu, toolbar, unfiled and mobile roots as
// top-level folders; 1 when records were appended, 0 when the file cannot be copied or read.
int ReadFirefoxBookmarks(const char *placesPath);
// What a reading now would append, as a digest of every record's kind, name, URL and change time but not
// of its visit time (visits are browsing, not a change of the bookmarks); 0 when the file cannot be read.
// Reads a private copy like ReadFirefoxBookmarks and touches no table.
uint64_t ReadFirefoxDigest(const char *placesPath);

// What the readings so far have seen, for the change watch; both readings above update it, from any thread.
struct FirefoxReading {
    uint64_t tableDigest = 0;             // of what the last ReadFirefoxBookmarks appended; 0 for nothing
    std::vector<uint32_t> bookmarkPages;  // the database pages of moz_bookmarks and its indexes, sorted
    WalPosition wal;                      // how much of places.sqlite-wal the last reading had
    std::chrono::steady_clock::time_point when;  // of the last reading; the epoch before the first
};
FirefoxReading LastFirefoxReading();
