// How the change watch follows Firefox's places.sqlite. Its WAL changes with every page visited: commits that
// wrote the bookmarks' pages are read at once, any other change at most once every 30 s, and only a reading
// that differs from the table's records of that source asks for a refresh.
#pragma once
#include <windows.h>

#include "bookmarks/change_watch_file.h"

struct FirefoxWatch {
    char places[MAX_PATH] = "";
    FileStamp placesStamp = {};  // a checkpoint or a database put in its place shows here
    bool pending = false;        // a change that waits for its turn to be read
    DWORD lastLook = 0;
};

// Takes the stamp of the database at watch.places as it is when the watch starts.
void StartFirefoxWatch(FirefoxWatch &watch);
// Looks at the database and its WAL, and reads a copy when it is time; true when the bookmarks read differ
// from the table's. Called when the profile folder changes and every few seconds besides: Windows reports
// the writes to a file that stays open late.
bool LookAtFirefox(FirefoxWatch &watch);
// Whether the few seconds between looks have passed.
bool FirefoxLookDue(const FirefoxWatch &watch);
