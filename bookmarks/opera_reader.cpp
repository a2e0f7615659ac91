// Reader of the Opera hotlist: "#FOLDER" and "#URL" records whose values sit at fixed line positions.
#include "bookmarks/opera_reader.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/fatal_error.h"
#include "base/trace.h"
#include "base/ascii_case.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/source_file.h"

static const size_t MAX_VALUE_LENGTH = 1024;

// Splits the working copy in place at LF into trimmed lines. Empty lines vanish before trimming, so a
// line of blanks still takes a position. A CR before the LF is dropped first: the Windows runtime's text
// mode does that when reading, and the host build must read a hotlist written on Windows the same way.
static std::vector<const char *> SplitLines(char *text)
{
    std::vector<const char *> lines;
    char *line = text;
    while (*line) {
        char *end = std::strchr(line, '\n');
        char *next = end ? end + 1 : line + std::strlen(line);
        if (end)
            *end = '\0';
        else
            end = next;
        if (end > line && end[-1] == '\r')
            *--end = '\0';
        if (end > line) {
            while (*line == ' ' || *line == '\t')
                line++;
            lines.push_back(line);
        }
        line = next;
    }
    return lines;
}

// The line at an offset after a keyword line; lines past the end of the file count as empty.
static const char *LineAt(const std::vector<const char *> &lines, size_t index)
{
    return index < lines.size() ? lines[index] : "";
}

// The line without its key (not looked at): empty when the line is shorter than the key.
static std::string ValueAfter(const char *line, size_t keyLength)
{
    size_t length = std::strlen(line);
    if (length <= keyLength)
        return std::string();
    return std::string(line + keyLength, std::min(length - keyLength, MAX_VALUE_LENGTH));
}

// The value of "key=value" when the line begins with the key (any case) and has a value, else null.
static const char *KeyedValue(const char *line, const char *key)
{
    if (!StartsWithNoCase(line, key))
        return nullptr;
    const char *value = line + std::strlen(key);
    return *value ? value : nullptr;
}

// A time as the hotlist writes it, in decimal; values beyond 32 bits are held at the nearest limit.
static int32_t ReadTime(const char *digits)
{
    long long value = std::strtoll(digits, nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

static void AppendOperaBookmark(ReaderCursor &cursor, const std::vector<const char *> &lines, size_t at)
{
    std::string url = ValueAfter(LineAt(lines, at + 2), 4);
    if (IsKindMarker(url.c_str()))
        return;
    const char *description = KeyedValue(LineAt(lines, at + 6), "description=");
    int position = AppendRecord(cursor, ValueAfter(LineAt(lines, at + 1), 5).c_str(), url.c_str(), description);
    BookmarkEntry &entry = bookmarkTable.entries[position];
    if (const char *created = KeyedValue(LineAt(lines, at + 3), "created="))
        entry.lastModified = ReadTime(created);
    if (const char *visited = KeyedValue(LineAt(lines, at + 4), "visited="))
        entry.lastVisit = ReadTime(visited);
}

int ReadOperaHotlistText(const char *text)
{
    TraceEnter("ReadOperaHotlistText");
    std::string working(text);
    std::vector<const char *> lines = SplitLines(&working[0]);
    int slots = 0;
    for (const char *line : lines) {
        if (CompareNoCase(line, "#FOLDER") == 0)
            slots += 2;  // its start and its end record
        else if (CompareNoCase(line, "#URL") == 0)
            slots += 1;
    }
    Trace("%d lines, %d record slots", static_cast<int>(lines.size()), slots);
    if (slots == 0) {
        TraceExit("ReadOperaHotlistText");
        return 0;
    }
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_OPERA);
    ReserveEntries(slots);
    for (size_t i = 0; i < lines.size(); i++) {
        const char *line = lines[i];
        if (CompareNoCase(line, "#FOLDER") == 0)
            AppendRecord(cursor, ValueAfter(LineAt(lines, i + 1), 5).c_str(), OPEN_FOLDER);
        else if (CompareNoCase(line, "#URL") == 0)
            AppendOperaBookmark(cursor, lines, i);
        else if (std::strcmp(line, "-") == 0 && cursor.menu != bookmarkTable.rootMenu)
            AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
        // a "-" at top level and every value line produce nothing by themselves
    }
    TraceExit("ReadOperaHotlistText");
    return 1;
}

// The whole file in one NUL-ended heap block, as the Netscape reader takes its file; null when it
// cannot be opened.
static char *ReadWholeFile(const char *path)
{
    std::FILE *file = OpenSourceFile(path, "r");
    if (!file)
        return nullptr;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        ShowFatalError(FATAL_CANNOT_READ_FILE);
    }
    char *text = static_cast<char *>(std::malloc(static_cast<size_t>(length) + 1));
    if (!text) {
        std::fclose(file);
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    }
    // Text mode may read fewer bytes than the length taken (CR LF pairs become LF).
    size_t got = std::fread(text, 1, static_cast<size_t>(length), file);
    std::fclose(file);
    text[got] = '\0';
    return text;
}

int ReadOperaHotlist(const char *path)
{
    TraceEnter("ReadOperaHotlist");
    char *text = ReadWholeFile(path);
    int result = text ? ReadOperaHotlistText(text) : 0;
    std::free(text);
    TraceExit("ReadOperaHotlist");
    return result;
}
