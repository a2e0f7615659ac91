// The bookmark table: records, folder records, their menus and their lifetime.
#include "bookmarks/bookmark_table.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory_resource>
#include <string>

#include "base/fatal_error.h"

const char OPEN_FOLDER[] = "Open Folder";
const char CLOSE_FOLDER[] = "Close Folder";
const char SEPARATOR[] = "Separator";

BookmarkTable bookmarkTable;
bool sideBarPainted = false;
static int32_t entryCapacity = 0;
static int32_t folderCapacity = 0;

// The arena's blocks come from the heap; running out is fatal (1), as for every other part of the table.
class TableMemory : public std::pmr::memory_resource {
    void *do_allocate(size_t bytes, size_t) override
    {
        void *block = std::malloc(bytes);
        if (!block)
            ShowFatalError(FATAL_OUT_OF_MEMORY);
        return block;
    }
    void do_deallocate(void *block, size_t, size_t) override { std::free(block); }
    bool do_is_equal(const std::pmr::memory_resource &other) const noexcept override { return this == &other; }
};

// The records' names, urls and descriptions live in one arena that is freed as a whole with the table:
// a heap block per text cost two allocations per record to read and two frees per record to let go,
// a quarter of a 100,000-bookmark refresh under Wine.
static TableMemory tableMemory;
static std::pmr::monotonic_buffer_resource recordTexts(1 << 16, &tableMemory);

static char *StoreText(const char *text)
{
    size_t size = std::strlen(text) + 1;
    char *stored = static_cast<char *>(recordTexts.allocate(size, 1));
    std::memcpy(stored, text, size);
    return stored;
}

bool IsFolderStart(const BookmarkEntry &entry) { return std::strcmp(entry.url, OPEN_FOLDER) == 0; }
bool IsFolderEnd(const BookmarkEntry &entry) { return std::strcmp(entry.url, CLOSE_FOLDER) == 0; }
bool IsSeparator(const BookmarkEntry &entry) { return std::strcmp(entry.url, SEPARATOR) == 0; }
bool IsBookmark(const BookmarkEntry &entry)
{
    return !IsKindMarker(entry.url);
}

// The first letter settles most texts at once: these tests run for every record a reader appends.
bool IsKindMarker(const char *url)
{
    switch (url[0]) {
    case 'O': return std::strcmp(url, OPEN_FOLDER) == 0;
    case 'C': return std::strcmp(url, CLOSE_FOLDER) == 0;
    case 'S': return std::strcmp(url, SEPARATOR) == 0;
    default: return false;
    }
}

void DestroyBookmarkMenus()
{
    for (int i = bookmarkTable.folderCount - 1; i >= 0; i--)
        if (IsLiveMenu(bookmarkTable.folders[i].menu))
            DestroyPopupMenu(bookmarkTable.folders[i].menu);
    std::free(bookmarkTable.folders);
    bookmarkTable.folders = nullptr;
    folderCapacity = 0;
    if (bookmarkTable.rootMenu) {
        DestroyPopupMenu(bookmarkTable.rootMenu);
        bookmarkTable.rootMenu = nullptr;
        sideBarPainted = false;
    }
    bookmarkTable.folderCount = 0;
}

void FreeBookmarkTable()
{
    if (!bookmarkTable.entries)
        return;
    for (int i = 0; i < bookmarkTable.entryCount; i++)
        std::free(bookmarkTable.entries[i].folderPath);
    recordTexts.release();
    std::free(bookmarkTable.entries);
    bookmarkTable.entries = nullptr;
    bookmarkTable.entryCount = 0;
    entryCapacity = 0;
}

void GetFolderPath(int position)
{
    if (position < 0 || position >= bookmarkTable.entryCount)
        return;
    BookmarkEntry &record = bookmarkTable.entries[position];
    if (record.folderPath)
        return;
    record.folderPath = static_cast<char *>(std::malloc(1024));
    if (!record.folderPath)
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    std::string path;
    MenuHandle menu = record.parentMenu;
    // Each folder at most once: a damaged table must not loop for ever.
    for (int steps = 0; menu != bookmarkTable.rootMenu && steps <= bookmarkTable.folderCount; steps++) {
        int k = 0;
        while (k < bookmarkTable.folderCount && bookmarkTable.folders[k].menu != menu)
            k++;
        if (k == bookmarkTable.folderCount)
            break;
        int start = bookmarkTable.folders[k].entry;
        const char *name = (start >= 0 && start < bookmarkTable.entryCount) ? bookmarkTable.entries[start].name : "";
        path = path.empty() ? std::string(name) : std::string(name) + " > " + path;
        if (path.size() > 1023)
            path.resize(1023);  // the outermost folders are the ones kept
        menu = bookmarkTable.folders[k].parentMenu;
    }
    std::memcpy(record.folderPath, path.c_str(), path.size() + 1);
}

int32_t TableTime(long long seconds)
{
    return static_cast<int32_t>(std::clamp<long long>(seconds, INT32_MIN, INT32_MAX));
}

char *CopyText(const char *text)
{
    size_t length = std::strlen(text);
    char *copy = static_cast<char *>(std::malloc(length + 1));
    if (!copy)
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    std::memcpy(copy, text, length + 1);
    return copy;
}

void StartReading(ReaderCursor &cursor, int source)
{
    if (!bookmarkTable.rootMenu)
        bookmarkTable.rootMenu = NewPopupMenu();
    cursor.source = source;
    cursor.menu = bookmarkTable.rootMenu;
    cursor.folder = -1;
    cursor.openFolders.clear();
}

void ReserveEntries(int more)
{
    if (more <= 0 || bookmarkTable.entryCount + more <= entryCapacity)
        return;
    int64_t wanted = static_cast<int64_t>(bookmarkTable.entryCount) + more;
    // Grow geometrically so readers that append one at a time stay linear.
    int64_t capacity = entryCapacity ? entryCapacity : 16;
    while (capacity < wanted)
        capacity *= 2;
    if (capacity > INT32_MAX / static_cast<int64_t>(sizeof(BookmarkEntry)))
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    void *grown = std::realloc(bookmarkTable.entries, static_cast<size_t>(capacity) * sizeof(BookmarkEntry));
    if (!grown)
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    bookmarkTable.entries = static_cast<BookmarkEntry *>(grown);
    entryCapacity = static_cast<int32_t>(capacity);
}

static void AddFolderRecord(ReaderCursor &cursor, int position)
{
    // Room for folderCount + 2 records before each folder is added, grown geometrically so that a file
    // of thousands of folders does not copy the array once per folder.
    if (bookmarkTable.folderCount + 2 > folderCapacity) {
        int64_t capacity = folderCapacity ? folderCapacity * int64_t(2) : 16;
        if (capacity > INT32_MAX / static_cast<int64_t>(sizeof(FolderRecord)))
            ShowFatalError(FATAL_OUT_OF_MEMORY);
        void *grown = std::realloc(bookmarkTable.folders, static_cast<size_t>(capacity) * sizeof(FolderRecord));
        if (!grown)
            ShowFatalError(FATAL_OUT_OF_MEMORY);
        bookmarkTable.folders = static_cast<FolderRecord *>(grown);
        folderCapacity = static_cast<int32_t>(capacity);
    }
    FolderRecord &folder = bookmarkTable.folders[bookmarkTable.folderCount];
    folder.entry = bookmarkTable.entries[position].id;
    folder.parentMenu = cursor.menu;
    folder.menu = NewPopupMenu();
    folder.menuPos = 0;
    folder.childCount = 0;
    cursor.openFolders.push_back(cursor.folder);
    cursor.folder = bookmarkTable.folderCount++;
    cursor.menu = folder.menu;
}

// Back to the parent of the folder just closed. Every folder has its own menu, so "the first folder
// whose menu is the parent menu" is the enclosing folder, which the cursor remembers.
static void LeaveFolder(ReaderCursor &cursor)
{
    if (cursor.folder == -1) {
        cursor.menu = bookmarkTable.rootMenu;
        return;
    }
    cursor.menu = bookmarkTable.folders[cursor.folder].parentMenu;
    if (cursor.openFolders.empty()) {
        cursor.folder = -1;
    } else {
        cursor.folder = cursor.openFolders.back();
        cursor.openFolders.pop_back();
    }
}

int AppendRecord(ReaderCursor &cursor, const char *name, const char *url, const char *description)
{
    ReserveEntries(1);
    int position = bookmarkTable.entryCount;
    BookmarkEntry &entry = bookmarkTable.entries[position];
    entry.id = position;
    entry.source = cursor.source;
    entry.parentMenu = cursor.menu;
    entry.menuPos = 0;
    entry.parentFolder = cursor.folder;
    entry.lastVisit = 0;
    entry.lastModified = 0;
    entry.description = description ? StoreText(description) : nullptr;
    entry.folderPath = nullptr;
    entry.name = StoreText(name);
    entry.url = StoreText(url);
    bookmarkTable.entryCount++;
    if (cursor.folder != -1)
        bookmarkTable.folders[cursor.folder].childCount++;
    if (url[0] == 'O' && std::strcmp(url, OPEN_FOLDER) == 0)
        AddFolderRecord(cursor, position);
    else if (url[0] == 'C' && std::strcmp(url, CLOSE_FOLDER) == 0)
        LeaveFolder(cursor);
    return position;
}

int AppendRecord(ReaderCursor &cursor, const char *name, const char *url)
{
    return AppendRecord(cursor, name, url, nullptr);
}
