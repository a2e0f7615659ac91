// tresk-cli list: reads the bookmark sources as a refresh does and prints the table, one record a line.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/read_sources.h"
#include "cli/commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

static const char NO_BOOKMARKS_MESSAGE[] =
    "Tresk could not find any bookmarks in the specified bookmark file.  Please ensure that it is a valid Netscape "
    "bookmark file.";

static int ListUsage()
{
    std::fprintf(stderr,
                 "usage: tresk-cli list [--sort default|ascending|descending] [--favorites DIR] [--opera FILE] [--chromium FILE]\n"
                 "                      [--firefox PLACES] BOOKMARK_FILE\n");
    return 2;
}

// Texts are printed as read, except the four bytes that would break the line and field layout.
static void AppendEscaped(std::string &line, const char *text)
{
    for (; *text; text++) {
        switch (*text) {
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\r': line += "\\r"; break;
        case '\n': line += "\\n"; break;
        default: line += *text; break;
        }
    }
}

static const char *KindName(const BookmarkEntry &entry)
{
    if (IsFolderStart(entry))
        return "folder";
    if (IsFolderEnd(entry))
        return "end";
    if (IsSeparator(entry))
        return "separator";
    return "bookmark";
}

static void PrintTable()
{
#ifdef _WIN32
    // The same bytes as the host build: no LF to CR LF translation on standard output.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::string line;
    char numbers[96];
    for (int position = 0; position < bookmarkTable.entryCount; position++) {
        const BookmarkEntry &entry = bookmarkTable.entries[position];
        std::snprintf(numbers, sizeof numbers, "%d\t%d\t%d\t%s\t%d\t%d\t%d\t", position, entry.id, entry.source,
                      KindName(entry), entry.parentFolder, entry.lastVisit, entry.lastModified);
        line = numbers;
        AppendEscaped(line, entry.name);
        line += '\t';
        AppendEscaped(line, entry.url);
        line += '\t';
        if (entry.description)
            AppendEscaped(line, entry.description);
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    std::fflush(stdout);
}

int RunListCommand(int argc, char **argv)
{
    const char *sort = "default";
    const char *favorites = nullptr;
    const char *opera = nullptr;
    const char *chromium = nullptr;
    const char *firefox = nullptr;
    const char *bookmarkFile = nullptr;
    for (int i = 0; i < argc; i++) {
        const char *arg = argv[i];
        const char **option = !std::strcmp(arg, "--sort")       ? &sort
                              : !std::strcmp(arg, "--favorites") ? &favorites
                              : !std::strcmp(arg, "--opera")     ? &opera
                              : !std::strcmp(arg, "--chromium")  ? &chromium
                              : !std::strcmp(arg, "--firefox")   ? &firefox
                                                                 : nullptr;
        if (option) {
            if (i + 1 >= argc)
                return ListUsage();
            *option = argv[++i];
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return ListUsage();
        } else if (bookmarkFile) {
            return ListUsage();
        } else {
            bookmarkFile = arg;
        }
    }
    if (!bookmarkFile)
        return ListUsage();
    if (std::strcmp(sort, "default") && std::strcmp(sort, "ascending") && std::strcmp(sort, "descending"))
        return ListUsage();

    // The sources as the program's settings would name them, read in the refresh's order.
    std::snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s", bookmarkFile);
    settings.useFavorites = favorites != nullptr;
    std::snprintf(settings.favoritesPath, sizeof settings.favoritesPath, "%s", favorites ? favorites : "");
    settings.useOperaHotlist = opera != nullptr;
    std::snprintf(settings.operaHotlistPath, sizeof settings.operaHotlistPath, "%s", opera ? opera : "");
    settings.useChromium = chromium != nullptr;
    std::snprintf(settings.chromiumBookmarksPath, sizeof settings.chromiumBookmarksPath, "%s", chromium ? chromium : "");
    settings.useFirefox = firefox != nullptr;
    std::snprintf(settings.firefoxPlacesPath, sizeof settings.firefoxPlacesPath, "%s", firefox ? firefox : "");
    settings.sortOrder = !std::strcmp(sort, "ascending") ? 1 : !std::strcmp(sort, "descending") ? 2 : 0;
    if (!ReadBookmarkSources()) {
        std::fprintf(stderr, "%s\n", NO_BOOKMARKS_MESSAGE);
        return 1;
    }
    PrintTable();
    DestroyBookmarkMenus();
    FreeBookmarkTable();
    return 0;
}
