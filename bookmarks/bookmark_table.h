// The one in-memory model of every bookmark, folder and separator read from the sources.
#pragma once
#include <cstdint>
#include <vector>

#include "bookmarks/menu_handle.h"

// Record kinds are told by these exact url texts; anything else is a bookmark.
extern const char OPEN_FOLDER[];   // "Open Folder"
extern const char CLOSE_FOLDER[];  // "Close Folder"
extern const char SEPARATOR[];     // "Separator"

// The Chromium-family Bookmarks file and Firefox's places.sqlite come after the three of old, in this order.
enum BookmarkSource {
    SOURCE_NETSCAPE = 0,
    SOURCE_FAVORITES = 1,
    SOURCE_OPERA = 2,
    SOURCE_CHROMIUM = 3,
    SOURCE_FIREFOX = 4,
    SOURCE_COUNT = 5
};

struct BookmarkEntry {
    int32_t id;             // reading order; stays with the record when sorting moves it
    int32_t source;         // BookmarkSource
    char *name;
    char *url;              // the location, or one of the kind markers
    MenuHandle parentMenu;  // for an end record: the menu of the folder it closes
    int32_t menuPos;        // set by the menu builder
    int32_t parentFolder;   // index into folders, -1 at top level
    int32_t lastVisit;      // seconds since 1970, 0 = none
    int32_t lastModified;
    char *description;      // or null
    char *folderPath;       // 1024-byte buffer made on demand by GetFolderPath, or null
};

struct FolderRecord {
    int32_t entry;          // id of the start record; a position once the menu builder has run
    MenuHandle menu;
    MenuHandle parentMenu;
    int32_t menuPos;
    int32_t childCount;     // records naming this folder as parentFolder, its end record included
};

struct BookmarkTable {
    BookmarkEntry *entries;
    int32_t entryCount;
    FolderRecord *folders;
    int32_t folderCount;
    MenuHandle rootMenu;
};

extern BookmarkTable bookmarkTable;
// Cleared with the menus so that the drawing code paints the side bar anew.
extern bool sideBarPainted;

bool IsFolderStart(const BookmarkEntry &entry);
bool IsFolderEnd(const BookmarkEntry &entry);
bool IsSeparator(const BookmarkEntry &entry);
bool IsBookmark(const BookmarkEntry &entry);
// True when a bookmark's URL is one of the kind markers. The table would take such a bookmark for a
// folder start, end or separator, so every reader leaves it out.
bool IsKindMarker(const char *url);

void DestroyBookmarkMenus();
void FreeBookmarkTable();
// Fills the record's folderPath ("Outer > Inner") if it is still null. An over-long path keeps its
// outermost folders and is cut at 1023 bytes.
void GetFolderPath(int position);

// Where a reader appends: its source, the current menu and folder, and the folders it is inside.
struct ReaderCursor {
    int source = SOURCE_NETSCAPE;
    MenuHandle menu = nullptr;
    int folder = -1;
    std::vector<int> openFolders;  // enclosing folder indexes, innermost last
};

// Creates rootMenu when no reader has yet in this refresh, and points the cursor at top level.
void StartReading(ReaderCursor &cursor, int source);
// Makes room in entries for `more` records at once (readers that count first call it once).
void ReserveEntries(int more);
// Appends one record as every reader does: copies of the texts, the cursor's menu and folder, the
// folder's childCount raised; "Open Folder" also adds its folder record and enters it, "Close Folder"
// returns the cursor to the parent. Returns the new record's position. Allocation failure is fatal (1).
int AppendRecord(ReaderCursor &cursor, const char *name, const char *url);
// The same with a description (the hotlist's), copied when not null.
int AppendRecord(ReaderCursor &cursor, const char *name, const char *url, const char *description);
// A time in seconds since 1970 as the table keeps it: held at the nearest end of the 32-bit range.
int32_t TableTime(long long seconds);
// A heap copy of text; fatal (1) when memory runs out.
char *CopyText(const char *text);
