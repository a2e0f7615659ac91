// What Firefox has committed to places.sqlite-wal since a reading: whether any of it wrote one of the pages
// that hold the bookmarks, told from the WAL's frame headers alone, without copying the database.
#pragma once
#include <cstdint>
#include <vector>

// A place in the WAL: its salts (a WAL that is restarted after a checkpoint gets new ones) and the first frame
// after the last commit taken.
struct WalPosition {
    uint32_t salt1 = 0, salt2 = 0;
    uint64_t nextFrame = 0;
};

struct WalNews {
    bool committed = false;     // frames were committed after the position
    bool touchesPages = false;  // one of them is one of the pages looked for
    WalPosition end;            // after the last committed frame
};

// Reads the frame headers after `from` (all of them when the WAL has been restarted since) up to the last
// commit. `pages` is sorted. A missing or damaged WAL has no news.
WalNews ReadWalNews(const char *walPath, const WalPosition &from, const std::vector<uint32_t> &pages);
