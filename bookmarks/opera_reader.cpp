// Reader of the Opera hotlist: "#FOLDER" and "#URL" records whose values are read by their keys.
#include "bookmarks/opera_reader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/ascii_case.h"
#include "base/trace.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/source_file.h"
#include "bookmarks/text_helpers.h"

static const size_t MAX_VALUE_LENGTH = 1024;

// Splits the working copy in place at LF into trimmed lines. Empty lines vanish before trimming; a line
// of blanks stays as an empty line and is no value of a record. A CR before the LF is dropped first:
// the Windows runtime's text mode does that when reading, and the host build must read a hotlist
// written on Windows the same way.
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

static bool IsFolderLine(const char *line) { return CompareNoCase(line, "#FOLDER") == 0; }
static bool IsBookmarkLine(const char *line) { return CompareNoCase(line, "#URL") == 0; }
static bool IsFolderEndLine(const char *line) { return std::strcmp(line, "-") == 0; }

// The values of one record, null when its key is missing. Every hotlist since Opera 6 starts a record
// with an ID= line and writes keys that older ones lack, so the values are found by their keys, not by
// their lines' places; a key given twice counts where it first appears.
struct RecordValues {
    const char *name = nullptr;
    const char *url = nullptr;
    const char *created = nullptr;
    const char *visited = nullptr;
    const char *description = nullptr;
    const char *trash = nullptr;  // "YES" marks the browser's deleted items
};

static void TakeValue(const char *line, const char *key, const char *&value)
{
    if (!value && StartsWithNoCase(line, key))
        value = line + std::strlen(key);
}

// Reads the value lines after the keyword line at `at`, up to the next keyword line or "-"; returns the
// index of that line (or the number of lines).
static size_t ReadRecord(const std::vector<const char *> &lines, size_t at, RecordValues &values)
{
    for (at++; at < lines.size(); at++) {
        const char *line = lines[at];
        if (IsFolderLine(line) || IsBookmarkLine(line) || IsFolderEndLine(line))
            break;
        TakeValue(line, "NAME=", values.name);
        TakeValue(line, "URL=", values.url);
        TakeValue(line, "CREATED=", values.created);
        TakeValue(line, "VISITED=", values.visited);
        TakeValue(line, "DESCRIPTION=", values.description);
        TakeValue(line, "TRASH FOLDER=", values.trash);
    }
    return at;
}

// The index of the line after the "-" that closes the folder whose keyword line is at `at`; the number
// of lines when it is never closed.
static size_t SkipFolder(const std::vector<const char *> &lines, size_t at)
{
    int depth = 1;
    for (at++; at < lines.size() && depth > 0; at++) {
        if (IsFolderLine(lines[at]))
            depth++;
        else if (IsFolderEndLine(lines[at]))
            depth--;
    }
    return at;
}

// Opera 6 and later write their texts in UTF-8 and say so under the first line: "Options: encoding =
// utf8, version=3". Older hotlists are in the code page already.
static bool SaysUtf8(const std::vector<const char *> &lines)
{
    for (const char *line : lines) {
        if (IsFolderLine(line) || IsBookmarkLine(line))
            return false;
        const char *at = StartsWithNoCase(line, "Options:") ? FindNoCase(line, "encoding") : nullptr;
        if (!at)
            continue;
        at += 8;
        at += std::strspn(at, " \t");
        if (*at == '=')
            return StartsWithNoCase(at + 1 + std::strspn(at + 1, " \t"), "utf8");
    }
    return false;
}

// A name or description as the table keeps it: converted from UTF-8 when the hotlist is in UTF-8, then
// cut at `limit` bytes. A missing value is empty.
static std::string TextValue(const char *value, bool utf8, size_t limit)
{
    if (utf8)
        return CodePageText(value ? value : "", std::string::npos, limit);
    std::string text(value ? value : "");
    if (text.size() > limit)
        text.resize(limit);
    return text;
}

static void AppendOperaBookmark(ReaderCursor &cursor, const RecordValues &values, bool utf8)
{
    std::string url = TextValue(values.url, false, MAX_VALUE_LENGTH);
    if (IsKindMarker(url.c_str()))
        return;
    std::string description = TextValue(values.description, utf8, std::string::npos);  // no cap
    int position = AppendRecord(cursor, TextValue(values.name, utf8, MAX_VALUE_LENGTH).c_str(), url.c_str(),
                                description.empty() ? nullptr : description.c_str());
    BookmarkEntry &entry = bookmarkTable.entries[position];
    if (values.created && *values.created)
        entry.lastModified = TableTime(std::strtoll(values.created, nullptr, 10));
    if (values.visited && *values.visited)
        entry.lastVisit = TableTime(std::strtoll(values.visited, nullptr, 10));
}

int ReadOperaHotlistText(const char *text)
{
    TraceEnter("ReadOperaHotlistText");
    std::string working(text);
    std::vector<const char *> lines = SplitLines(&working[0]);
    int slots = 0;
    for (const char *line : lines)
        slots += IsFolderLine(line) ? 2 : IsBookmarkLine(line) ? 1 : 0;  // a folder: its start and end
    Trace("%d lines, %d record slots", static_cast<int>(lines.size()), slots);
    if (slots == 0) {
        TraceExit("ReadOperaHotlistText");
        return 0;
    }
    bool utf8 = SaysUtf8(lines);
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_OPERA);
    ReserveEntries(slots);
    for (size_t i = 0; i < lines.size();) {
        const char *line = lines[i];
        RecordValues values;
        if (IsFolderLine(line)) {
            size_t next = ReadRecord(lines, i, values);
            if (values.trash && CompareNoCase(values.trash, "YES") == 0) {
                i = SkipFolder(lines, i);
                continue;
            }
            AppendRecord(cursor, TextValue(values.name, utf8, MAX_VALUE_LENGTH).c_str(), OPEN_FOLDER);
            i = next;
        } else if (IsBookmarkLine(line)) {
            i = ReadRecord(lines, i, values);
            AppendOperaBookmark(cursor, values, utf8);
        } else {
            // a "-" at top level and a line outside any record produce nothing
            if (IsFolderEndLine(line) && cursor.menu != bookmarkTable.rootMenu)
                AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
            i++;
        }
    }
    TraceExit("ReadOperaHotlistText");
    return 1;
}

int ReadOperaHotlist(const char *path)
{
    TraceEnter("ReadOperaHotlist");
    int result = ReadSourceWith(path, "r", [](char *text) { return ReadOperaHotlistText(text); });
    TraceExit("ReadOperaHotlist");
    return result;
}
