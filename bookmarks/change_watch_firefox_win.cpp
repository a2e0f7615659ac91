// The change watch's look at Firefox's places.sqlite: the WAL's commits, the database's stamp, a private copy.
#include "bookmarks/change_watch_firefox.h"

#include <cstring>
#include <string>

#include "bookmarks/firefox_reader.h"

static const std::chrono::seconds READ_SPACING(30);  // between readings of a change that is not the bookmarks'
static const DWORD LOOK_SPACING = 3000;

// With every kind of sharing: Firefox holds the database open for writing while it runs.
static void ReadSharedStamp(const char *path, FileStamp &stamp)
{
    stamp = FileStamp();
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    GetFileTime(file, nullptr, nullptr, &stamp.lastWrite);
    stamp.sizeLow = GetFileSize(file, &stamp.sizeHigh);
    CloseHandle(file);
}

void StartFirefoxWatch(FirefoxWatch &watch)
{
    ReadSharedStamp(watch.places, watch.placesStamp);
    watch.lastLook = GetTickCount();
}

bool FirefoxLookDue(const FirefoxWatch &watch)
{
    return GetTickCount() - watch.lastLook >= LOOK_SPACING;
}

bool LookAtFirefox(FirefoxWatch &watch)
{
    watch.lastLook = GetTickCount();
    FirefoxReading reading = LastFirefoxReading();
    WalNews news = ReadWalNews((std::string(watch.places) + "-wal").c_str(), reading.wal, reading.bookmarkPages);
    FileStamp stamp;
    ReadSharedStamp(watch.places, stamp);
    if (news.committed || std::memcmp(&stamp, &watch.placesStamp, sizeof stamp) != 0)
        watch.pending = true;
    watch.placesStamp = stamp;
    bool due = std::chrono::steady_clock::now() - reading.when >= READ_SPACING;
    if (!watch.pending || !(news.touchesPages || due))
        return false;
    watch.pending = false;
    uint64_t digest = ReadFirefoxDigest(watch.places);
    if (digest == 0) {
        watch.pending = true;  // a copy taken in the middle of a checkpoint, say: later
        return false;
    }
    return digest != reading.tableDigest;
}
