// The stamp of a watched file and the quiet moment before it is read.
#include "bookmarks/change_watch_file.h"

static const DWORD QUIET_MOMENT = 200;
// A folder that never goes quiet (a log written beside the file) is looked at after this anyway, its
// notification armed, so that the other sources' notifications get their turn.
static const DWORD QUIET_LIMIT = 3000;
static const DWORD RETRY_PAUSE = 100;  // between attempts to open a file that is being rewritten
static const int RETRY_LIMIT = 100;    // about 10 s; the next change notification tries again

// A Windows program that writes the file keeps this open from succeeding until it closes the file. A
// Unix program's writes pass no such check under Wine, hence the quiet moment before. Sharing delete
// lets a program that saves by a rename replace the file while its stamp is being read.
bool ReadFileStamp(const char *path, FileStamp &stamp, DWORD &error)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    GetFileTime(file, nullptr, nullptr, &stamp.lastWrite);
    stamp.sizeLow = GetFileSize(file, &stamp.sizeHigh);
    CloseHandle(file);
    return true;
}

// At the first change of a save the stamp may be that of a half-written file, and Wine keeps no change
// for a notification that is not armed: the save's last step went unseen when it came while the stamp
// was being read, or got the same time and size. So the notification is re-armed before each wait, and
// the stamp is read only once the save is over.
bool WaitForQuietFolder(HANDLE notification, HANDLE stopEvent)
{
    HANDLE handles[2] = {stopEvent, notification};
    for (DWORD start = GetTickCount();;) {
        FindNextChangeNotification(notification);
        if (GetTickCount() - start >= QUIET_LIMIT)
            return true;
        DWORD result = WaitForMultipleObjects(2, handles, FALSE, QUIET_MOMENT);
        if (result == WAIT_OBJECT_0)
            return false;
        if (result != WAIT_OBJECT_0 + 1)
            return true;  // quiet, or a broken notification: look now
    }
}

static bool SameStamp(const FileStamp &a, const FileStamp &b)
{
    return CompareFileTime(&a.lastWrite, &b.lastWrite) == 0 && a.sizeLow == b.sizeLow && a.sizeHigh == b.sizeHigh;
}

// Tries again, paced, while a writer holds the file; gives up when it is gone, a stop is asked, or after
// about ten seconds.
static bool ReadStampWhenReadable(const char *path, FileStamp &stamp, HANDLE stopEvent)
{
    for (int attempt = 0; attempt < RETRY_LIMIT; attempt++) {
        DWORD error = 0;
        if (ReadFileStamp(path, stamp, error))
            return true;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return false;
        if (WaitForSingleObject(stopEvent, RETRY_PAUSE) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

bool TakeNewStamp(const char *path, FileStamp &known, HANDLE stopEvent)
{
    FileStamp now;
    if (!ReadStampWhenReadable(path, now, stopEvent) || SameStamp(now, known))
        return false;
    known = now;
    return true;
}
