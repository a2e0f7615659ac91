// Reading times of the Favorites and Opera readers, and of the sort, over generated sources of 10k
// bookmarks each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_listing.h"
#include "bookmarks/favorites_reader.h"
#include "bookmarks/opera_reader.h"
#include "bookmarks/sorting.h"
#include "base/settings.h"

namespace fs = std::filesystem;

static const int FOLDERS = 100;
static const int PER_FOLDER = 100;  // 10 000 shortcuts, 10 000 hotlist bookmarks
static int runs = 3;  // readings per source: the first argument, when given

static double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A shortcut's file name. One in 20 is named, as Internet Explorer names favorites after page titles, in
// letters that an ANSI code page lacks.
static fs::path ShortcutName(int b)
{
    static const char *const titles[] = {u8"Zażółć gęślą jaźń ", u8"Ελληνικά νέα ", u8"中文书签 ", u8"Emoji \U0001F600 "};
    std::string name = (b % 20 == 7 ? titles[b / 20 % 4] : "Bookmark number ") + std::to_string(b) + ".url";
    return fs::u8path(name);
}

// 10 top folders of 10 subfolders of 100 shortcuts each.
static void MakeFavoritesTree(const fs::path &root)
{
    for (int f = 0; f < FOLDERS; f++) {
        fs::path folder = root / ("Group " + std::to_string(f / 10)) / ("Folder " + std::to_string(f % 10));
        fs::create_directories(folder);
        for (int b = 0; b < PER_FOLDER; b++) {
            std::string url = "http://www.example" + std::to_string(f) + ".com/page/" + std::to_string(b) + ".html";
            std::ofstream(folder / ShortcutName(b), std::ios::binary)
                << "[DEFAULT]\r\nBASEURL=" << url << "\r\n[InternetShortcut]\r\nURL=" << url << "\r\nIconIndex=0\r\n";
        }
    }
}

static void MakeHotlist(const fs::path &path)
{
    std::ofstream out(path, std::ios::binary);
    out << "Opera Hotlist version 2.0\nOptions: encoding = utf8, version=3\n\n";
    for (int f = 0; f < FOLDERS; f++) {
        out << "#FOLDER\n\tNAME=Folder " << f << "\n\tCREATED=946684800\n\n";
        for (int b = 0; b < PER_FOLDER; b++)
            out << "#URL\n\tNAME=Bookmark " << (b * 7919 % PER_FOLDER) << "\n\tURL=http://www.example" << f
                << ".com/page/" << b << ".html\n\tCREATED=946684800\n\tVISITED=978307200\n\tORDER=" << b
                << "\n\tDESCRIPTION=A description of bookmark " << b << "\n\n";
        out << "-\n\n";
    }
}

static void FreeTable()
{
    DestroyBookmarkMenus();
    FreeBookmarkTable();
}

// Best and median of the readings, each into an empty table.
template <class Read>
static void TimeReadings(const char *label, Read read)
{
    std::vector<double> times;
    int records = 0;
    for (int run = 0; run < runs; run++) {
        auto start = std::chrono::steady_clock::now();
        read();
        times.push_back(MillisecondsSince(start));
        records = bookmarkTable.entryCount;
        FreeTable();
    }
    std::sort(times.begin(), times.end());
    std::printf("%-34s %6d records  best %9.1f ms  median %9.1f ms\n", label, records, times[0], times[runs / 2]);
}

// Where the Favorites time goes: the shortcuts of one folder resolved by the system's object (the way of
// every file before; none on the host) and by reading the file.
static void TimeResolvers(const fs::path &folder)
{
    for (int throughObject = 1; throughObject >= 0; throughObject--) {
        auto start = std::chrono::steady_clock::now();
        int resolved = 0;
        for (int b = 0; b < PER_FOLDER; b++) {
            fs::path path = folder / ShortcutName(b);
            std::string bytes, url;
            resolved += throughObject ? AskShortcutObject(path, url)
                                      : ReadShortcutFile(path, bytes) && FindShortcutURL(bytes.data(), bytes.size(), url);
        }
        double each = MillisecondsSince(start) / PER_FOLDER;
        std::printf("%-34s %6d resolved %.3f ms each, %.1f s for 10k\n",
                    throughObject ? "Internet Shortcut object" : "file reading", resolved, each,
                    each * FOLDERS * PER_FOLDER / 1000);
    }
    EndShortcutResolving();
}

int main(int argc, char **argv)
{
    if (argc > 1)
        runs = std::max(1, std::atoi(argv[1]));
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures appear as they are measured, also through a pipe
    fs::path scratch = fs::temp_directory_path() / "tresk-sources-bench";
    fs::remove_all(scratch);
    fs::create_directories(scratch / "Favorites");
    auto start = std::chrono::steady_clock::now();
    MakeFavoritesTree(scratch / "Favorites");
    MakeHotlist(scratch / "hotlist.adr");
    std::printf("generated %d shortcuts and a %d-bookmark hotlist in %.0f ms\n", FOLDERS * PER_FOLDER,
                FOLDERS * PER_FOLDER, MillisecondsSince(start));

    std::string favorites = (scratch / "Favorites").string();
    std::string hotlist = (scratch / "hotlist.adr").string();
    TimeReadings("ReadFavoritesFolder (10k .url)", [&] { ReadFavoritesFolder(favorites.c_str()); });
    ReadFavoritesFolder(favorites.c_str());
    int unresolved = 0;
    for (int i = 0; i < bookmarkTable.entryCount; i++)
        unresolved += std::strcmp(bookmarkTable.entries[i].url, "<unable to resolve>") == 0;
    std::printf("%-34s %6d unresolved (goal: under 1 s, none unresolved)\n", "", unresolved);
    FreeTable();
    TimeReadings("ReadOperaHotlist (10k #URL)", [&] { ReadOperaHotlist(hotlist.c_str()); });
    TimeResolvers(scratch / "Favorites" / "Group 0" / "Folder 0");
    for (int order : {SORT_ORDER_ASCENDING, SORT_ORDER_DESCENDING}) {
        // One sort per order: a sorted table is not the same work again, and the readings cost more.
        ReadFavoritesFolder(favorites.c_str());
        ReadOperaHotlist(hotlist.c_str());
        settings.sortOrder = order;
        auto sortStart = std::chrono::steady_clock::now();
        SortBookmarkTable();
        std::printf("SortBookmarkTable (%s)%*s %6d records  once %9.1f ms\n",
                    order == SORT_ORDER_ASCENDING ? "ascending" : "descending", order == SORT_ORDER_ASCENDING ? 5 : 4, "",
                    bookmarkTable.entryCount, MillisecondsSince(sortStart));
        FreeTable();
    }
    fs::remove_all(scratch);
    return 0;
}
