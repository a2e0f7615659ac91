// Benchmark of the Netscape bookmark file reader on generated Chrome-style exports, beside a plain C line scanner.
// Each measurement runs in a fresh child process so its peak memory is its own.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bookmark_generator.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/netscape_reader.h"

static long MaxRssKilobytes()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// User plus system time of this process: on a machine shared with other work it varies less than the clock.
static double CpuSeconds()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The yardstick: the least a C program does to see every line of the file.
static long ScanLines(const char *path)
{
    FILE *file = std::fopen(path, "r");
    if (!file)
        return -1;
    static char buffer[65536];
    long lines = 0;
    while (std::fgets(buffer, sizeof buffer, file))
        if (std::memchr(buffer, '\n', std::strlen(buffer)))
            lines++;
    std::fclose(file);
    return lines;
}

// The yardstick of tresk-cli list: the file memory-mapped and its lines counted in one pass, no records kept.
static long ScanMappedLines(const char *path)
{
    int file = open(path, O_RDONLY);
    struct stat status;
    if (file < 0 || fstat(file, &status) != 0 || status.st_size == 0)
        return -1;
    size_t size = static_cast<size_t>(status.st_size);
    void *mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0);
    close(file);
    if (mapped == MAP_FAILED)
        return -1;
    long lines = 0;
    const char *at = static_cast<const char *>(mapped), *end = at + size;
    while ((at = static_cast<const char *>(std::memchr(at, '\n', static_cast<size_t>(end - at))))) {
        lines++;
        at++;
    }
    munmap(mapped, size);
    return lines;
}

// Wall-clock seconds of a whole process, its standard output thrown away: best of `runs`.
static double TimeProcess(const std::vector<std::string> &arguments, int runs)
{
    double best = 1e9;
    for (int run = 0; run < runs; run++) {
        auto start = std::chrono::steady_clock::now();
        pid_t child = fork();
        if (child == 0) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            std::vector<char *> argv;
            for (const std::string &argument : arguments)
                argv.push_back(const_cast<char *>(argument.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 1;
        waitpid(child, &status, 0);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && seconds < best)
            best = seconds;
    }
    return best;
}

// Child: one measurement, printed as "seconds cpu-seconds peak-kilobytes count".
static int RunChild(const char *what, const char *path)
{
    bool again = std::strcmp(what, "again") == 0;
    if (again) {
        // A refresh in the running program: the previous table is freed just before the read.
        ReadNetscapeBookmarks(path);
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
    long before = MaxRssKilobytes();
    double cpuBefore = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    long count;
    if (again || std::strcmp(what, "reader") == 0) {
        ReadNetscapeBookmarks(path);
        count = bookmarkTable.entryCount;
    } else if (std::strcmp(what, "mapped") == 0) {
        count = ScanMappedLines(path);
    } else {
        count = ScanLines(path);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double cpu = CpuSeconds() - cpuBefore;
    long peak = MaxRssKilobytes() - before;
    std::printf("%.6f %.6f %ld %ld\n", seconds, cpu, peak, count);
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    return 0;
}

struct Measure {
    double seconds = 1e9;
    double cpuSeconds = 1e9;
    long peakKilobytes = 0;
    long count = 0;
};

// Best time of a few runs (the file stays in the page cache), largest peak.
static Measure RunMeasured(const std::string &self, const char *what, const std::string &path, int runs)
{
    Measure best;
    for (int run = 0; run < runs; run++) {
        std::string command = "'" + self + "' --child " + what + " '" + path + "'";
        FILE *pipe = popen(command.c_str(), "r");
        if (!pipe)
            continue;
        double seconds = 0, cpu = 0;
        long peak = 0, count = 0;
        if (std::fscanf(pipe, "%lf %lf %ld %ld", &seconds, &cpu, &peak, &count) == 4) {
            if (seconds < best.seconds)
                best.seconds = seconds;
            if (cpu < best.cpuSeconds)
                best.cpuSeconds = cpu;
            if (peak > best.peakKilobytes)
                best.peakKilobytes = peak;
            best.count = count;
        }
        pclose(pipe);
    }
    return best;
}

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2], argv[3]);
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;
    self[length] = '\0';
    char directory[] = "/tmp/tresk_bench_XXXXXX";
    if (!mkdtemp(directory))
        return 1;

    std::printf("%-9s %8s | %8s %8s %6s %9s | %9s %8s %6s | %10s %9s | %8s %8s | %7s %10s %6s\n", "bookmarks",
                "file MB", "reader s", "cpu s", "MB/s", "records", "scanner s", "cpu s", "MB/s", "ratio s/cpu", "peak/file",
                "again s", "cpu s", "list s", "mmap scan s", "ratio");
    for (int bookmarks : {1000, 10000, 100000}) {
        std::string path = std::string(directory) + "/chrome-" + std::to_string(bookmarks) + ".html";
        if (!WriteChromeExport(path, bookmarks))
            return 1;
        double megabytes = FileSize(path) / 1e6;
        Measure reader = RunMeasured(self, "reader", path, 5);
        Measure scanner = RunMeasured(self, "scanner", path, 5);
        Measure again = RunMeasured(self, "again", path, 5);
        double list = TimeProcess({TRESK_CLI, "list", path}, 5);
        double mapped = TimeProcess({self, "--child", "mapped", path}, 5);
        std::printf("%-9d %8.2f | %8.4f %8.4f %6.0f %9ld | %9.4f %8.4f %6.0f | %4.2f/%4.2fx %8.2fx | %8.4f %8.4f | %7.4f "
                    "%10.4f %5.2fx\n", bookmarks,
                    megabytes, reader.seconds, reader.cpuSeconds, megabytes / reader.seconds, reader.count,
                    scanner.seconds, scanner.cpuSeconds, megabytes / scanner.seconds, reader.seconds / scanner.seconds,
                    reader.cpuSeconds / scanner.cpuSeconds, reader.peakKilobytes * 1024.0 / (megabytes * 1e6), again.seconds, again.cpuSeconds, list,
                    mapped, list / mapped);
        if (!std::getenv("TRESK_BENCH_KEEP"))
            std::remove(path.c_str());
    }
    if (!std::getenv("TRESK_BENCH_KEEP"))
        rmdir(directory);
    else
        std::printf("files kept in %s\n", directory);
    std::printf("reader: ReadNetscapeBookmarks alone (file read, records); scanner: fgets and memchr counting lines;\n"
                "best of 5 fresh processes each, wall clock and user+system time; peak = growth of the child's maximum\n"
                "resident set during the read, over the file size; again: a second read in the same process after the\n"
                "first table was freed, as a refresh of the running program does. list: the whole process tresk-cli\n"
                "list FILE >/dev/null; mmap scan: a whole process that maps the file and counts its lines in one pass\n"
                "(goal: list within 1.25x of it).\n");
    return 0;
}
