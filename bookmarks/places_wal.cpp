// Reading the frame headers of a SQLite write-ahead log: a 32-byte header, then frames of a 24-byte header
// and one page each; a frame belongs to the log while its salts are the header's, and a frame whose
// "database size" field is not zero ends a commit.
#include "bookmarks/places_wal.h"

#include <algorithm>
#include <cstdio>

static uint32_t BigEndian(const unsigned char *bytes)
{
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

WalNews ReadWalNews(const char *walPath, const WalPosition &from, const std::vector<uint32_t> &pages)
{
    WalNews news;
    news.end = from;
    // Opened for reading with every kind of sharing: Firefox keeps writing it.
    std::FILE *wal = std::fopen(walPath, "rb");
    if (!wal)
        return news;
    unsigned char header[32];
    uint32_t magic = 0, pageSize = 0;
    if (std::fread(header, 1, sizeof header, wal) == sizeof header) {
        magic = BigEndian(header);
        pageSize = BigEndian(header + 8);
    }
    bool valid = (magic & 0xFFFFFFFEu) == 0x377F0682u && pageSize >= 512 && pageSize <= 65536 &&
                 (pageSize & (pageSize - 1)) == 0;
    if (valid) {
        uint32_t salt1 = BigEndian(header + 16), salt2 = BigEndian(header + 20);
        if (salt1 != from.salt1 || salt2 != from.salt2)
            news.end = WalPosition{salt1, salt2, 0};  // restarted: every frame is new
        bool touches = false;
        unsigned char frame[24];
        for (uint64_t i = news.end.nextFrame;; i++) {
            long long offset = 32 + static_cast<long long>(i) * (24 + pageSize);
            if (std::fseek(wal, static_cast<long>(offset), SEEK_SET) != 0 || std::fread(frame, 1, 24, wal) != 24 ||
                BigEndian(frame + 8) != salt1 || BigEndian(frame + 12) != salt2)
                break;
            touches = touches || std::binary_search(pages.begin(), pages.end(), BigEndian(frame));
            if (BigEndian(frame + 4) != 0) {  // a commit: what it wrote counts
                news.committed = true;
                news.touchesPages = news.touchesPages || touches;
                news.end.nextFrame = i + 1;
            }
        }
    }
    std::fclose(wal);
    return news;
}
