// tresk-cli list: reads the bookmark sources as a refresh does and prints the table, one record a line.
#include <charconv>
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

// Texts are printed as read, except the four bytes that would break the line and field layout. Runs
// without them are copied whole: the byte-by-byte copy took a fifth of listing a large file.
static void AppendEscaped(std::string &line, const char *text)
{
    for (;;) {
        size_t plain = std::strcspn(text, "\\\t\r\n");
        line.append(text, plain);
        text += plain;
        switch (*text) {
        case '\0': return;
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\r': line += "\\r"; break;
        default: line += "\\n"; break;
        }
        text++;
    }
}

// A number and the tab after it, written at `at`; returns the end.
static char *NumberField(char *at, int number)
{
    at = std::to_chars(at, at + 11, number).ptr;  // "-2147483648" is the longest
    *at++ = '\t';
    return at;
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

// Lines are gathered and written in large pieces, and numbers formatted without printf: formatting
// was more than half the time of listing a 100,000-bookmark file.
static void PrintTable()
{
#ifdef _WIN32
    // The same bytes as the host build: no LF to CR LF translation on standard output.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const size_t PIECE = 1 << 16;
    std::string out;
    out.reserve(2 * PIECE);
    for (int position = 0; position < bookmarkTable.entryCount; position++) {
        const BookmarkEntry &entry = bookmarkTable.entries[position];
        char numbers[96];
        char *at = NumberField(NumberField(NumberField(numbers, position), entry.id), entry.source);
        const char *kind = KindName(entry);
        size_t kindLength = std::strlen(kind);
        std::memcpy(at, kind, kindLength);
        at[kindLength] = '\t';
        at = NumberField(NumberField(NumberField(at + kindLength + 1, entry.parentFolder), entry.lastVisit), entry.lastModified);
        out.append(numbers, static_cast<size_t>(at - numbers));
        AppendEscaped(out, entry.name);
        out += '\t';
        AppendEscaped(out, entry.url);
        out += '\t';
        if (entry.description)
            AppendEscaped(out, entry.description);
        out += '\n';
        if (out.size() >= PIECE) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
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
