// tresk-cli verify: checks URLs as the Verify window does, in parallel, one result line per URL in input order.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/netscape_reader.h"
#include "cli/commands.h"
#include "verify/check_bookmark.h"

namespace {

struct VerifyOptions {
    int threads = 6;
    std::string proxyName;
    int proxyPort = 0;
    int timeout = 0;  // seconds for send and receive; 0 keeps the 90-second defaults
    const char *bookmarkFile = nullptr;
    std::vector<std::string> urls;
};

struct VerifyResult {
    bool passed = false;
    char status[STATUS_TEXT_CAPACITY] = "";
};

int BadArguments(const char *why, const char *what)
{
    std::fprintf(stderr, "tresk-cli verify: %s%s\n", why, what);
    std::fprintf(stderr, "usage: tresk-cli verify [--threads N] [--proxy HOST[:PORT]] [--timeout SECONDS] "
                         "(URL ... | --bookmarks FILE)\n");
    return 2;
}

// A whole decimal number within [low, high], or -1.
long ReadNumber(const char *text, long low, long high)
{
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high)
        return -1;
    return value;
}

bool ReadProxy(const char *text, VerifyOptions &options)
{
    std::string proxy = text;
    std::string::size_type colon = proxy.rfind(':');
    if (colon != std::string::npos) {
        long port = ReadNumber(proxy.c_str() + colon + 1, 1, 65535);
        if (port < 0)
            return false;
        options.proxyPort = static_cast<int>(port);
        proxy.erase(colon);
    }
    if (proxy.empty() || proxy.size() > 255)
        return false;
    options.proxyName = proxy;
    return true;
}

// 0 when the arguments make a run, else the exit status for bad arguments.
int ReadOptions(int argc, char **argv, VerifyOptions &options)
{
    for (int i = 0; i < argc; i++) {
        const char *arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--threads") == 0) {
            long n = hasValue ? ReadNumber(argv[++i], 1, 256) : -1;
            if (n < 0)
                return BadArguments("--threads wants a number from 1 to 256", "");
            options.threads = static_cast<int>(n);
        } else if (std::strcmp(arg, "--proxy") == 0) {
            if (!hasValue || !ReadProxy(argv[++i], options))
                return BadArguments("--proxy wants HOST or HOST:PORT", "");
        } else if (std::strcmp(arg, "--timeout") == 0) {
            long n = hasValue ? ReadNumber(argv[++i], 1, 86400) : -1;
            if (n < 0)
                return BadArguments("--timeout wants seconds from 1 to 86400", "");
            options.timeout = static_cast<int>(n);
        } else if (std::strcmp(arg, "--bookmarks") == 0) {
            if (!hasValue || options.bookmarkFile)
                return BadArguments("--bookmarks wants one file", "");
            options.bookmarkFile = argv[++i];
        } else if (std::strncmp(arg, "--", 2) == 0) {
            return BadArguments("unknown option ", arg);
        } else {
            options.urls.push_back(arg);
        }
    }
    if (options.bookmarkFile && !options.urls.empty())
        return BadArguments("give URLs or --bookmarks, not both", "");
    if (!options.bookmarkFile && options.urls.empty())
        return BadArguments("no URL to check", "");
    return 0;
}

// Every bookmark of a Netscape bookmark file, in file order.
int ReadBookmarkURLs(const char *path, std::vector<std::string> &urls)
{
    if (!ReadNetscapeBookmarks(path)) {
        std::fprintf(stderr, "tresk-cli verify: no bookmarks in %s\n", path);
        return 2;
    }
    for (int i = 0; i < bookmarkTable.entryCount; i++)
        if (IsBookmark(bookmarkTable.entries[i]))
            urls.push_back(bookmarkTable.entries[i].url);
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    return 0;
}

void ShowProgress(int done, int total, int passed)
{
    std::fprintf(stderr, "\r%d/%d checked, %d passed, %d failed", done, total, passed, done - passed);
    std::fflush(stderr);
}

void CheckAll(const VerifyOptions &options, std::vector<VerifyResult> &results)
{
    const std::vector<std::string> &urls = options.urls;
    std::atomic<size_t> next{0};
    std::mutex progressLock;
    int done = 0, passed = 0;
    int total = static_cast<int>(urls.size());
    bool live = isatty(2) != 0;
    auto worker = [&] {
        for (size_t i = next++; i < urls.size(); i = next++) {
            VerifyResult &result = results[i];
            result.passed = CheckBookmark(urls[i].c_str(), options.proxyName.c_str(), options.proxyPort,
                                          options.timeout, options.timeout, result.status);
            std::lock_guard<std::mutex> hold(progressLock);
            done++;
            passed += result.passed ? 1 : 0;
            if (live)
                ShowProgress(done, total, passed);
        }
    };
    size_t count = urls.size() < static_cast<size_t>(options.threads) ? urls.size() : options.threads;
    std::vector<std::thread> workers;
    for (size_t t = 0; t < count; t++)
        workers.emplace_back(worker);
    for (std::thread &t : workers)
        t.join();
    if (live)
        std::fputc('\n', stderr);
}

}  // namespace

int RunVerifyCommand(int argc, char **argv)
{
    VerifyOptions options;
    if (int bad = ReadOptions(argc, argv, options))
        return bad;
    if (options.bookmarkFile) {
        if (int bad = ReadBookmarkURLs(options.bookmarkFile, options.urls))
            return bad;
    }
    std::vector<VerifyResult> results(options.urls.size());
    CheckAll(options, results);
    bool allPassed = true;
    for (size_t i = 0; i < results.size(); i++) {
        std::printf("%s\t%s\n", results[i].passed ? "ok" : results[i].status, options.urls[i].c_str());
        allPassed = allPassed && results[i].passed;
    }
    return allPassed ? 0 : 1;
}
