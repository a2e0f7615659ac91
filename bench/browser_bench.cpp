// Reading the browsers' bookmarks at scale: a 50,000-bookmark Chromium Bookmarks file and a places.sqlite of
// 50,000 bookmarks beside 200,000 history rows. Prints the reading time (best and worst of three, each a
// whole reading into the table) and the peak memory of a process that only reads, against the file's size.
// Host: build/<tree>/bench/browser_bench; Windows, under Wine: cmake/wine-run.sh build/windows build/windows/bench/browser_bench.exe
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sqlite3.h>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/chromium_reader.h"
#include "bookmarks/firefox_reader.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
static double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / 1048576.0;
}
#else
#include <sys/resource.h>
static double PeakMegabytes()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}
#endif

namespace fs = std::filesystem;

static const int BOOKMARKS = 50000, PER_FOLDER = 50, HISTORY = 200000;

static std::string Url(int i)
{
    return "https://www.example" + std::to_string(i % 997) + ".com/articles/" + std::to_string(i) + "/index.html";
}

// Chrome's own layout: nested folders of 50, every node with its guid, id and dates, some with meta_info.
static void WriteBookmarksFile(const fs::path &path)
{
    std::ofstream out(path, std::ios::binary);
    out << "{\n   \"checksum\": \"0123456789abcdef0123456789abcdef\",\n   \"roots\": {\n      \"bookmark_bar\": {\n"
           "         \"children\": [ ";
    for (int f = 0; f < BOOKMARKS / PER_FOLDER; f++) {
        out << (f ? ", " : "") << "{\n            \"children\": [ ";
        for (int b = 0; b < PER_FOLDER; b++) {
            int i = f * PER_FOLDER + b;
            out << (b ? ", " : "") << "{\n               \"date_added\": \"133" << (10000000000000 + i)
                << "\",\n               \"date_last_used\": \"0\",\n               \"guid\": \"5c9f1a6e-0c1b-4e4a-9f0a-"
                << (100000000000 + i) << "\",\n               \"id\": \"" << (i + 100) << "\",\n"
                << (i % 10 == 0 ? "               \"meta_info\": {\n                  \"power_bookmark_meta\": \"\"\n"
                                  "               },\n" : "")
                << "               \"name\": \"Article number " << i << " \\u2013 a page worth keeping\",\n"
                << "               \"type\": \"url\",\n               \"url\": \"" << Url(i) << "\"\n            }";
        }
        out << " ],\n            \"date_added\": \"13300000000000000\",\n            \"date_last_used\": \"0\",\n"
               "            \"date_modified\": \"13300000000000000\",\n            \"guid\": \"00000000-0000-4000-8000-"
            << (100000000000 + f) << "\",\n            \"id\": \"" << (BOOKMARKS + 100 + f) << "\",\n"
            << "            \"name\": \"Folder " << f << "\",\n            \"type\": \"folder\"\n         }";
    }
    out << " ],\n         \"date_added\": \"13100000000000000\",\n         \"id\": \"1\",\n         \"name\": "
           "\"Bookmarks bar\",\n         \"type\": \"folder\"\n      },\n      \"other\": {\n         \"children\": [  ],\n"
           "         \"id\": \"2\",\n         \"name\": \"Other bookmarks\",\n         \"type\": \"folder\"\n      },\n"
           "      \"synced\": {\n         \"children\": [  ],\n         \"id\": \"3\",\n         \"name\": \"Mobile "
           "bookmarks\",\n         \"type\": \"folder\"\n      }\n   },\n   \"version\": 1\n}\n";
}

// Firefox's schema from the tests, 200,000 visited places, 50,000 of them bookmarked in folders of 50 under
// the menu, and one visit row for each place.
static bool WritePlaces(const fs::path &path)
{
    std::ifstream in(TRESK_SOURCE_DIR "/tests/data/firefox/schema.sql", std::ios::binary);
    std::string schema((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string n = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ";
    std::string rows =
        "BEGIN;" + n + std::to_string(HISTORY) + ") INSERT INTO moz_places (id, url, title, rev_host, visit_count, "
        "last_visit_date, guid, url_hash, frecency) SELECT i, 'https://www.example' || (i % 997) || '.com/articles/' || "
        "i || '/index.html', 'Page title ' || i, 'moc.elpmaxe.www.', 1, 1600000000000000 + i * 1000, printf('p%011d', i), "
        "i, 100 FROM n;" + n + std::to_string(HISTORY) + ") INSERT INTO moz_historyvisits (place_id, visit_date, "
        "visit_type, session) SELECT i, 1600000000000000 + i * 1000, 1, 0 FROM n;" + n +
        std::to_string(BOOKMARKS / PER_FOLDER) + ") INSERT INTO moz_bookmarks (id, type, parent, position, title, "
        "dateAdded, lastModified, guid) SELECT 100000 + i, 2, 2, i - 1, 'Folder ' || i, 1600000000000000, "
        "1600000000000000, printf('f%011d', i) FROM n;" + n + std::to_string(BOOKMARKS) + ") INSERT INTO moz_bookmarks "
        "(id, type, fk, parent, position, title, dateAdded, lastModified, guid) SELECT 1000 + i, 1, i, 100001 + (i - 1) / " +
        std::to_string(PER_FOLDER) + ", (i - 1) % " + std::to_string(PER_FOLDER) + ", 'Article number ' || i || ' – a page "
        "worth keeping', 1600000000000000 + i, 1600000000000000 + i, printf('b%011d', i) FROM n; COMMIT;";
    fs::remove(path);
    sqlite3 *db = nullptr;
    bool made = sqlite3_open(path.string().c_str(), &db) == SQLITE_OK &&
                sqlite3_exec(db, schema.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
                sqlite3_exec(db, rows.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!made)
        std::fprintf(stderr, "places.sqlite: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return made;
}

// One process per source, so that the peak memory is that of reading alone.
static int ReadOnly(const std::string &source, const std::string &path)
{
    double baseline = PeakMegabytes(), fastest = 1e9, slowest = 0;
    int records = 0;
    for (int run = 0; run < 3; run++) {
        auto start = std::chrono::steady_clock::now();
        int read = source == "chromium" ? ReadChromiumBookmarks(path.c_str()) : ReadFirefoxBookmarks(path.c_str());
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        records = bookmarkTable.entryCount;
        DestroyBookmarkMenus();
        FreeBookmarkTable();
        if (!read)
            return 1;
        fastest = std::min(fastest, seconds), slowest = std::max(slowest, seconds);
    }
    double file = fs::file_size(path) / 1048576.0, peak = PeakMegabytes();
    std::printf("%-8s %7.1f MB file, %6d records: %.3f s (slowest %.3f s); peak %.1f MB, %.1f MB over the %.1f MB "
                "before reading = %.2f x the file\n",
                source.c_str(), file, records, fastest, slowest, peak, peak - baseline, baseline,
                (peak - baseline) / file);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "read")
        return ReadOnly(argv[2], argv[3]);
    fs::path folder = fs::temp_directory_path() / "tresk-browser-bench";
    fs::create_directories(folder);
    fs::path bookmarks = folder / "Bookmarks", places = folder / "places.sqlite";
    WriteBookmarksFile(bookmarks);
    if (!WritePlaces(places))
        return 1;
    int failed = 0;
    for (const auto &[source, path] : {std::make_pair("chromium", bookmarks), std::make_pair("firefox", places)}) {
        std::fflush(stdout);
        std::string command = "\"" + std::string(argv[0]) + "\" read " + source + " \"" + path.string() + "\"";
#ifdef _WIN32
        command = "\"" + command + "\"";  // cmd /c takes off the outer quotes
#endif
        failed |= std::system(command.c_str());
    }
    fs::remove_all(folder);
    return failed ? 1 : 0;
}
