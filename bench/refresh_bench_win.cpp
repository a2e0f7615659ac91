// The whole refresh of the running program (menus destroyed, table freed, bookmark file read, sorted, menus
// built) timed on generated Chrome exports of 1k, 10k and 100k bookmarks, with the process's peak memory.
// Each file is measured in a fresh child process, so the peak memory it reports belongs to that file alone.
#include "base/settings.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shell.h"
#include "bench/bookmark_generator.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/netscape_reader.h"
#include "app/refresh.h"
#include "bookmarks/change_watch.h"
#include "bookmarks/sorting.h"
#include "menu/icon_sets.h"
#include "menu/menu_builder.h"

static const int RUNS = 3;  // timed refreshes per sort order and style

using Clock = std::chrono::steady_clock;

static double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User plus kernel time of this process. Under Wine the wineserver's share of menu calls is not in it.
static double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto toSeconds = [](const FILETIME &time) {
        return ((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return toSeconds(kernel) + toSeconds(user);
}

static PROCESS_MEMORY_COUNTERS MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// The settings of a first start, without the tray icon (nothing here answers it) and with the bench file.
static void SetBenchSettings(const char *path)
{
    std::memset(&settings, 0, sizeof settings);
    settings.refreshMenu = 1;
    settings.limitItemsPerColumn = 0;
    settings.itemsPerColumn = 25;
    settings.limitItemWidth = 1;
    settings.itemWidth = 250;
    settings.displayEmptyFolders = 1;
    settings.menuStyle = MENU_STYLE_PLAIN;
    settings.useBookmarkFile = 1;
    std::snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s", path);
}

struct Phases {
    double free = 0, read = 0, sort = 0, build = 0, total = 0, cpu = 0;
};

// The steps of RefreshBookmarks, each timed (the tray icon and the change watch left out).
static Phases TimedRefresh()
{
    Phases phases;
    double cpuStart = CpuSeconds();
    Clock::time_point start = Clock::now();
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    phases.free = SecondsSince(start);
    Clock::time_point step = Clock::now();
    ReadNetscapeBookmarks(settings.bookmarkFile);
    phases.read = SecondsSince(step);
    step = Clock::now();
    SortBookmarkTable();
    phases.sort = SecondsSince(step);
    step = Clock::now();
    BuildBookmarkMenus();
    phases.build = SecondsSince(step);
    phases.total = SecondsSince(start);
    phases.cpu = CpuSeconds() - cpuStart;
    return phases;
}

static const char *SortName(int order)
{
    return order == SORT_ORDER_ASCENDING ? "ascending" : order == SORT_ORDER_DESCENDING ? "descending" : "default";
}

// Child: every sort order and style on one file; one line per combination, then the memory line.
static int RunChild(int bookmarks, const char *path)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    appInstance = GetModuleHandleA(nullptr);
    if (!CreateMainWindow(appInstance))
        return 1;
    LoadIconSets();
    SetBenchSettings(path);
    double megabytes = FileSize(path) / 1e6;
    PROCESS_MEMORY_COUNTERS before = MemoryCounters();

    // The refresh at start-up, through the program's own function (tray update and change watch included).
    Clock::time_point start = Clock::now();
    RefreshBookmarks();
    double firstSeconds = SecondsSince(start);
    StopChangeWatch();
    PROCESS_MEMORY_COUNTERS afterFirst = MemoryCounters();
    std::printf("%-7d %7.2f  RefreshBookmarks at start  %8d records %6d folders %8.3f s\n", bookmarks, megabytes,
                bookmarkTable.entryCount, bookmarkTable.folderCount, firstSeconds);

    for (int style : {MENU_STYLE_PLAIN, MENU_STYLE_FANCY}) {
        for (int order : {SORT_ORDER_DEFAULT, SORT_ORDER_ASCENDING, SORT_ORDER_DESCENDING}) {
            settings.menuStyle = style;
            settings.sortOrder = order;
            std::vector<Phases> runs;
            for (int run = 0; run < RUNS; run++)
                runs.push_back(TimedRefresh());
            std::sort(runs.begin(), runs.end(), [](const Phases &a, const Phases &b) { return a.total < b.total; });
            const Phases &best = runs[0];
            std::printf("%-7d %7.2f  %-5s %-10s  %8.3f %8.3f %8.3f | %7.3f %7.3f %7.3f %7.3f\n", bookmarks, megabytes,
                        style == MENU_STYLE_PLAIN ? "Plain" : "Fancy", SortName(order), best.total, runs[RUNS / 2].total,
                        best.cpu, best.free, best.read, best.sort, best.build);
        }
    }
    PROCESS_MEMORY_COUNTERS atEnd = MemoryCounters();
    double fileBytes = megabytes * 1e6;
    std::printf("%-7d %7.2f  memory: working set before %.1f MB; peak after the first refresh %.1f MB (+%.1f MB, "
                "%.2fx file), after all %.1f MB (+%.1f MB, %.2fx file); private peak %.1f -> %.1f MB (+%.2fx file)\n",
                bookmarks, megabytes, before.WorkingSetSize / 1e6, afterFirst.PeakWorkingSetSize / 1e6,
                (afterFirst.PeakWorkingSetSize - before.WorkingSetSize) / 1e6,
                (afterFirst.PeakWorkingSetSize - before.WorkingSetSize) / fileBytes, atEnd.PeakWorkingSetSize / 1e6,
                (atEnd.PeakWorkingSetSize - before.WorkingSetSize) / 1e6,
                (atEnd.PeakWorkingSetSize - before.WorkingSetSize) / fileBytes, before.PeakPagefileUsage / 1e6,
                atEnd.PeakPagefileUsage / 1e6, (atEnd.PeakPagefileUsage - before.PagefileUsage) / fileBytes);
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    DestroyWindow(mainWindow);
    return 0;
}

// Runs this program as a child on one file; it writes to the same standard output.
static bool RunChildProcess(int bookmarks, const std::string &path)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string command = std::string("\"") + self + "\" --child " + std::to_string(bookmarks) + " \"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status == 0;
}

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(std::atoi(argv[2]), argv[3]);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string directory = std::string(temp) + "tresk-refresh-bench";
    CreateDirectoryA(directory.c_str(), nullptr);

    std::printf("bookmarks file MB  style sort         best s  median s  cpu s | free s  read s  sort s build s\n");
    for (int bookmarks : {1000, 10000, 100000}) {
        std::string path = directory + "\\chrome-" + std::to_string(bookmarks) + ".html";
        if (!WriteChromeExport(path, bookmarks)) {
            std::printf("cannot write %s\n", path.c_str());
            return 1;
        }
        if (!RunChildProcess(bookmarks, path))
            std::printf("%d bookmarks: the measuring process failed\n", bookmarks);
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(directory.c_str());
    std::printf("Each size in a fresh process. A refresh: DestroyBookmarkMenus, FreeBookmarkTable, ReadNetscapeBookmarks,\n"
                "SortBookmarkTable, BuildBookmarkMenus (the menus of the previous refresh destroyed first); best and\n"
                "median of %d, wall clock; cpu = user+kernel of this process in the best run. Memory from\n"
                "GetProcessMemoryInfo: peak working set growth over the working set before the first refresh.\n"
                "Goal: the whole refresh of 100,000 bookmarks (best and median) under 0.5 s.\n",
                RUNS);
    return 0;
}
