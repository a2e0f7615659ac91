// Reader of Firefox's bookmarks: the rows of moz_bookmarks with their moz_places URLs, from a private copy
// of places.sqlite opened with SQLite, turned into the table's folders, bookmarks and separators.
#include "bookmarks/firefox_reader.h"

#include <sqlite3.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/code_page.h"
#include "base/trace.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_listing.h"
#include "bookmarks/private_copy.h"
#include "bookmarks/text_helpers.h"

namespace {

const size_t MAX_TEXT = 1024;
enum PlacesType { TYPE_BOOKMARK = 1, TYPE_FOLDER = 2, TYPE_SEPARATOR = 3 };

// The roots by their fixed guids, in the order Firefox shows them, with the names it shows; the tags root
// holds copies of tagged bookmarks and is left out.
const struct {
    const char *guid;
    const char *name;
} ROOTS[] = {{"menu________", "Bookmarks Menu"},
             {"toolbar_____", "Bookmarks Toolbar"},
             {"unfiled_____", "Other Bookmarks"},
             {"mobile______", "Mobile Bookmarks"}};

struct PlacesRow {
    int64_t id;
    int type;
    std::string title;  // UTF-8
    std::string url;    // empty when the row has no place
    std::string guid;
    int64_t dateAdded, lastModified, lastVisit;  // microseconds since 1970, 0 = none
};

struct PlacesTree {
    std::vector<PlacesRow> rows;
    std::unordered_map<int64_t, std::vector<size_t>> children;  // by parent id, in position order
    std::vector<uint32_t> bookmarkPages;
};

std::mutex readingLock;
FirefoxReading lastReading;  // under readingLock

const char QUERY[] =
    "SELECT b.id, b.parent, b.type, b.title, p.url, b.guid, b.dateAdded, b.lastModified, p.last_visit_date "
    "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk ORDER BY b.parent, b.position";

std::string ColumnText(sqlite3_stmt *statement, int column)
{
    const unsigned char *text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char *>(text), sqlite3_column_bytes(statement, column)) : "";
}

bool QueryRows(sqlite3 *db, PlacesTree &tree)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, QUERY, -1, &statement, nullptr) != SQLITE_OK)
        return false;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        tree.rows.push_back({sqlite3_column_int64(statement, 0), sqlite3_column_int(statement, 2),
                             ColumnText(statement, 3), ColumnText(statement, 4), ColumnText(statement, 5),
                             sqlite3_column_int64(statement, 6), sqlite3_column_int64(statement, 7),
                             sqlite3_column_int64(statement, 8)});
        tree.children[sqlite3_column_int64(statement, 1)].push_back(tree.rows.size() - 1);
    }
    sqlite3_finalize(statement);
    return step == SQLITE_DONE;
}

// Where moz_bookmarks lives in the file, so that the watch can tell a change of the bookmarks in the WAL.
void QueryBookmarkPages(sqlite3 *db, std::vector<uint32_t> &pages)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT pageno FROM dbstat WHERE name IN (SELECT name FROM sqlite_schema WHERE "
                           "tbl_name = 'moz_bookmarks')", -1, &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            pages.push_back(static_cast<uint32_t>(sqlite3_column_int64(statement, 0)));
    sqlite3_finalize(statement);
    std::sort(pages.begin(), pages.end());
}

// The copy is opened for writing: SQLite replays the copied WAL into it, which a read-only or immutable
// opening would not (it would silently give the rows of before the WAL).
bool ReadCopy(const std::string &copy, PlacesTree &tree)
{
    std::string path;
    if (!Utf8FromCodePage(copy, path))
        return false;
    sqlite3 *db = nullptr;
    bool read = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                QueryRows(db, tree);
    if (read)
        QueryBookmarkPages(db, tree.bookmarkPages);
    sqlite3_close(db);
    return read;
}

bool ReadPlaces(const char *placesPath, PlacesTree &tree)
{
    std::string folder = MakePrivateFolder();
    if (folder.empty())
        return false;
    std::string copy = folder + PATH_SEPARATOR + "places.sqlite";
    std::string wal = std::string(placesPath) + "-wal";
    // Looked at before the copy, so that the copy holds at least this much of the WAL.
    WalPosition walCopied = ReadWalNews(wal.c_str(), WalPosition(), {}).end;
    bool read = CopySharedFile(placesPath, copy);
    if (read)
        CopySharedFile(wal, copy + "-wal");  // none while Firefox is closed
    read = read && ReadCopy(copy, tree);
    RemovePrivateFolder(folder);
    std::lock_guard<std::mutex> guard(readingLock);
    lastReading.when = std::chrono::steady_clock::now();
    if (!read) {
        tree = PlacesTree();
        return false;
    }
    lastReading.bookmarkPages = tree.bookmarkPages;
    lastReading.wal = walCopied;
    return true;
}

int32_t SecondsOf(int64_t microseconds)
{
    return microseconds > 0 ? TableTime(microseconds / 1000000) : 0;
}

// One record as the table gets it.
struct PlacesRecord {
    std::string name, url;
    const PlacesRow *row;  // null for an end record
};

// A query ("place:...") is a view that only Firefox can show; no other program can open it.
bool IsShownBookmark(const PlacesRow &row)
{
    return !row.url.empty() && row.url.compare(0, 6, "place:") != 0 && !IsKindMarker(row.url.c_str());
}

// Walks the four roots depth first, with a stack of its own (no recursion however deep the folders) and
// each row taken once (a damaged file whose parents form a loop ends).
template <typename Take>
void WalkRecords(const PlacesTree &tree, Take take)
{
    struct Level {
        const std::vector<size_t> *children;
        size_t next;
    };
    static const std::vector<size_t> none;
    std::unordered_set<int64_t> taken;
    auto open = [&](std::vector<Level> &levels, const PlacesRow &row, std::string name) {
        take(PlacesRecord{std::move(name), OPEN_FOLDER, &row});
        auto children = tree.children.find(row.id);
        levels.push_back({children == tree.children.end() ? &none : &children->second, 0});
    };
    for (const auto &root : ROOTS) {
        for (const PlacesRow &row : tree.rows) {
            if (row.guid != root.guid || row.type != TYPE_FOLDER || !taken.insert(row.id).second)
                continue;
            std::vector<Level> levels;
            open(levels, row, root.name);
            while (!levels.empty()) {
                Level &level = levels.back();
                if (level.next == level.children->size()) {
                    take(PlacesRecord{CLOSE_FOLDER, CLOSE_FOLDER, nullptr});
                    levels.pop_back();
                    continue;
                }
                const PlacesRow &child = tree.rows[(*level.children)[level.next++]];
                if (!taken.insert(child.id).second)
                    continue;
                std::string title = CodePageText(child.title.c_str(), child.title.size(), MAX_TEXT);
                if (child.type == TYPE_FOLDER)
                    open(levels, child, title);  // `level` is not used after this
                else if (child.type == TYPE_SEPARATOR)
                    take(PlacesRecord{SEPARATOR, SEPARATOR, &child});
                else if (child.type == TYPE_BOOKMARK && IsShownBookmark(child))
                    take(PlacesRecord{title, child.url.substr(0, MAX_TEXT), &child});
            }
        }
    }
}

// FNV-1a over the records' texts and change times, each text with its NUL.
struct Digest {
    uint64_t value = 14695981039346656037ull;
    void Add(const void *bytes, size_t size)
    {
        for (size_t i = 0; i < size; i++)
            value = (value ^ static_cast<const unsigned char *>(bytes)[i]) * 1099511628211ull;
    }
    void Add(const PlacesRecord &record)
    {
        Add(record.name.c_str(), record.name.size() + 1);
        Add(record.url.c_str(), record.url.size() + 1);
        int32_t changed = record.row ? ChangeTime(*record.row) : 0;
        Add(&changed, sizeof changed);
    }
    // The table's lastModified: the row's last change, or its creation when it has none.
    static int32_t ChangeTime(const PlacesRow &row)
    {
        return SecondsOf(row.lastModified ? row.lastModified : row.dateAdded);
    }
};

}  // namespace

int ReadFirefoxBookmarks(const char *placesPath)
{
    TraceEnter("ReadFirefoxBookmarks");
    PlacesTree tree;
    Digest digest;
    bool started = false;
    ReaderCursor cursor;
    if (ReadPlaces(placesPath, tree)) {
        Trace("%d rows", static_cast<int>(tree.rows.size()));
        WalkRecords(tree, [&](const PlacesRecord &record) {
            if (!started)
                StartReading(cursor, SOURCE_FIREFOX);
            started = true;
            digest.Add(record);
            int position = AppendRecord(cursor, record.name.c_str(), record.url.c_str());
            if (record.row) {
                bookmarkTable.entries[position].lastModified = Digest::ChangeTime(*record.row);
                bookmarkTable.entries[position].lastVisit = SecondsOf(record.row->lastVisit);
            }
        });
    }
    {
        std::lock_guard<std::mutex> guard(readingLock);
        lastReading.tableDigest = started ? digest.value : 0;
    }
    TraceExit("ReadFirefoxBookmarks");
    return started ? 1 : 0;
}

uint64_t ReadFirefoxDigest(const char *placesPath)
{
    PlacesTree tree;
    Digest digest;
    bool any = false;
    if (ReadPlaces(placesPath, tree))
        WalkRecords(tree, [&](const PlacesRecord &record) { digest.Add(record), any = true; });
    return any ? digest.value : 0;
}

FirefoxReading LastFirefoxReading()
{
    std::lock_guard<std::mutex> guard(readingLock);
    return lastReading;
}
