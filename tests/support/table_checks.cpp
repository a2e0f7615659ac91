// Scratch files and databases, the table dump and the table's shape check for the bookmark tests and fuzzers.
#include "tests/support/table_checks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include <sqlite3.h>

#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/sorting.h"

namespace fs = std::filesystem;

// Removed with all it holds when the process ends.
static struct Scratch {
    fs::path root = fs::temp_directory_path() /
                    ("tresk-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
} scratch;

fs::path MakeScratchDirectory(const char *label)
{
    static int made = 0;
    fs::path directory = scratch.root / (std::string(label) + "-" + std::to_string(++made));
    fs::create_directories(directory);
    return directory;
}

std::string WriteScratchFile(const fs::path &path, const std::string &bytes)
{
    fs::path full = path.is_absolute() ? path : scratch.root / path;
    fs::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary | std::ios::trunc) << bytes;
    return full.string();
}

std::string ReadFileBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string MakeDatabase(const fs::path &path, const std::vector<std::string> &sql)
{
    std::error_code ignored;
    for (const char *suffix : {"", "-wal", "-shm"})
        fs::remove(path.string() + suffix, ignored);
    fs::create_directories(path.parent_path(), ignored);
    sqlite3 *db = nullptr;
    std::string problem;
    if (sqlite3_open(path.string().c_str(), &db) != SQLITE_OK)
        problem = sqlite3_errmsg(db);
    for (size_t i = 0; i < sql.size() && problem.empty(); i++)
        if (sqlite3_exec(db, sql[i].c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            problem = sqlite3_errmsg(db);
    sqlite3_close(db);
    return problem;
}

fs::path CopyTestDataWithDatabases(const fs::path &data)
{
    fs::path copy = MakeScratchDirectory("data");
    fs::copy(data, copy, fs::copy_options::recursive);
    std::string schema = ReadFileBytes(data / "firefox" / "schema.sql");
    for (const auto &item : fs::directory_iterator(data / "firefox"))
        if (item.path().extension() == ".sql" && item.path().stem() != "schema")
            MakeDatabase(copy / "firefox" / item.path().stem().concat(".sqlite"), {schema, ReadFileBytes(item.path())});
    return copy;
}

std::string ShortcutText(const std::string &url)
{
    return "[DEFAULT]\r\nBASEURL=" + url + "\r\n[InternetShortcut]\r\nURL=" + url + "\r\nIconIndex=0\r\n";
}

std::string DumpTable(int first)
{
    std::string dump;
    for (int i = first; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        dump += std::to_string(entry.parentFolder) + " " + entry.name + " = " + entry.url;
        if (entry.lastVisit)
            dump += " visited " + std::to_string(entry.lastVisit);
        if (entry.lastModified)
            dump += " modified " + std::to_string(entry.lastModified);
        if (entry.description)
            dump += std::string(" (") + entry.description + ")";
        dump += "\n";
    }
    return dump;
}

static std::string Problem(const char *what, int at) { return std::string(what) + " at " + std::to_string(at); }

// Reading order: each record sits in the innermost open folder; a start record opens the next folder.
static std::string CheckNesting(int openAtEnd)
{
    std::vector<int> open{-1};
    int nextFolder = 0;
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        if (entry.id != i)
            return Problem("id is not the position", i);
        if (entry.parentFolder != open.back())
            return Problem("record outside the innermost open folder", i);
        if (IsFolderStart(entry)) {
            if (nextFolder >= bookmarkTable.folderCount || bookmarkTable.folders[nextFolder].entry != i)
                return Problem("start record without its folder record", i);
            open.push_back(nextFolder++);
        } else if (IsFolderEnd(entry) && open.size() > 1) {
            open.pop_back();
        }
    }
    int left = static_cast<int>(open.size()) - 1;
    return openAtEnd < 0 || left == openAtEnd ? "" : std::to_string(left) + " folders left open";
}

// Sorted: the top-level group, then the group of folder 0, 1 ..., each as big as its count.
static std::string CheckGroups()
{
    int position = 0;
    while (position < bookmarkTable.entryCount && bookmarkTable.entries[position].parentFolder == -1)
        position++;
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        for (int n = 0; n < bookmarkTable.folders[k].childCount; n++, position++)
            if (position >= bookmarkTable.entryCount || bookmarkTable.entries[position].parentFolder != k)
                return Problem("group broken", position);
    return position == bookmarkTable.entryCount ? "" : "records left over after the last group";
}

std::string CheckTable(bool sorted, int openAtEnd)
{
    std::vector<int> counted(static_cast<size_t>(bookmarkTable.folderCount), 0);
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        if (!entry.name || !entry.url)
            return Problem("text missing", i);
        if (entry.parentFolder < -1 || entry.parentFolder >= bookmarkTable.folderCount)
            return Problem("no such folder", i);
        bool top = entry.parentFolder == -1;
        if (entry.parentMenu != (top ? bookmarkTable.rootMenu : bookmarkTable.folders[entry.parentFolder].menu))
            return Problem("not in its folder's menu", i);
        if (!top)
            counted[static_cast<size_t>(entry.parentFolder)]++;
    }
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        if (counted[static_cast<size_t>(k)] != bookmarkTable.folders[k].childCount)
            return Problem("childCount differs from the records", k);
    return sorted ? CheckGroups() : CheckNesting(openAtEnd);
}

void ReleaseTable()
{
    DestroyBookmarkMenus();
    FreeBookmarkTable();
}

void CheckSortAndRelease(int openAtEnd, int sortOrder)
{
    std::string problem = CheckTable(false, openAtEnd);
    settings.sortOrder = sortOrder;
    SortBookmarkTable();
    if (problem.empty())
        problem = CheckTable(true);
    ReleaseTable();
    if (problem.empty() && LiveMenuCount() > 0)
        problem = "menus left alive";
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
}
