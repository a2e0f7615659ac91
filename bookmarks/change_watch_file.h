// How the change watch tells that one watched file has changed: its stamp, read once its folder is quiet.
#pragma once
#include <windows.h>

// What tells a change of the file itself from a change of its neighbours. The size is compared with
// the last-write time: two writes within the file system's time resolution mostly differ in size.
struct FileStamp {
    FILETIME lastWrite;
    DWORD sizeLow;
    DWORD sizeHigh;
};

// The folder of a watched file is watched for names as well as writes: a program that saves by writing
// a temporary file and renaming it over the old one writes nothing to the watched name.
const DWORD WATCHED_FILE_FILTER = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;

// The file's stamp now; false, with the error, when it cannot be opened.
bool ReadFileStamp(const char *path, FileStamp &stamp, DWORD &error);

// To be called when `notification` (on the file's folder) is signalled: re-arms it and waits until the
// folder has had no change for a moment; false when `stopEvent` is set meanwhile.
bool WaitForQuietFolder(HANDLE notification, HANDLE stopEvent);

// After the quiet moment: true when the file is there and its stamp differs from `known`, which then
// takes the new one. A file that is missing (deleted, not yet renamed back) is no change.
bool TakeNewStamp(const char *path, FileStamp &known, HANDLE stopEvent);
