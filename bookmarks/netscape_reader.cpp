// Reader of the Netscape bookmark file: a line scanner that cuts its texts out of the lines Netscape writes.
#include "bookmarks/netscape_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/fatal_error.h"
#include "app/trace.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/text_helpers.h"

// Texts read from the file are cut at this many characters.
static const size_t MAX_TEXT = 1024;

enum LineKind { LINE_OTHER, LINE_FOLDER, LINE_BOOKMARK, LINE_LIST_END, LINE_SEPARATOR };

static bool StartsWithNoCase(const char *begin, const char *end, const char *tag, size_t length)
{
    return static_cast<size_t>(end - begin) >= length && FindNoCaseIn(begin, begin + length, tag) == begin;
}

// The four tags are tested in this order; "<DT><H3" before "<DT>" because a heading starts with both.
static LineKind KindOfLine(const char *begin, const char *end)
{
    if (StartsWithNoCase(begin, end, "<DT><H3", 7))
        return LINE_FOLDER;
    if (StartsWithNoCase(begin, end, "<DT>", 4))
        return LINE_BOOKMARK;
    if (StartsWithNoCase(begin, end, "</DL>", 5))
        return LINE_LIST_END;
    if (StartsWithNoCase(begin, end, "<HR>", 4))
        return LINE_SEPARATOR;
    return LINE_OTHER;
}

// Leading blanks are ignored before a line is tested: spaces as Netscape indents, and tabs because
// Safari indents its exports with them (a tab-indented export would otherwise read as empty).
static const char *SkipBlanks(const char *at, const char *end)
{
    while (at < end && (*at == ' ' || *at == '\t'))
        at++;
    return at;
}

// Ends every line with a NUL in place, so both passes walk the same lines without a working copy:
// an LF ends a line, and so does a CR directly before an LF. The file is read as bytes on every
// platform, so CR LF and LF files give the same table and a Ctrl-Z byte is an ordinary character.
// A NUL byte already in the file ends its line too; a lone CR is an ordinary character.
static void TerminateLines(char *text, size_t length)
{
    char *end = text + length;
    for (char *at = text; at < end;) {
        char *lineFeed = static_cast<char *>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
        if (!lineFeed)
            break;
        *lineFeed = '\0';
        if (lineFeed > at && lineFeed[-1] == '\r')
            lineFeed[-1] = '\0';
        at = lineFeed + 1;
    }
}

// Calls visit(kind, begin, end) for every recognised line, in file order. Firefox writes a separator
// and the next bookmark on one line ("<HR>    <DT><A ..."); the rest of a line after its "<HR>" tag is
// taken as a line of its own, so that bookmark is kept. Both passes go through here, so they agree.
template <typename Visit>
static void ScanLines(const char *text, size_t length, Visit visit)
{
    const char *textEnd = text + length;
    for (const char *line = text; line < textEnd;) {
        const char *lineEnd = line + std::strlen(line);
        const char *begin = SkipBlanks(line, lineEnd);
        while (begin < lineEnd) {
            LineKind kind = KindOfLine(begin, lineEnd);
            if (kind != LINE_OTHER)
                visit(kind, begin, lineEnd);
            if (kind != LINE_SEPARATOR)
                break;
            begin = SkipBlanks(begin + 4, lineEnd);
        }
        line = lineEnd + 1;
    }
}

// Copies [begin, end), cut at MAX_TEXT characters, into a buffer of MAX_TEXT + 1 bytes.
static const char *CutText(const char *begin, const char *end, char *buffer)
{
    size_t length = (begin && end > begin) ? static_cast<size_t>(end - begin) : 0;
    if (length > MAX_TEXT)
        length = MAX_TEXT;
    if (length)
        std::memcpy(buffer, begin, length);
    buffer[length] = '\0';
    return buffer;
}

// The end of a quoted value starting at `from`: the next double quote, or the end of the line when the
// quote is missing (the file format always has it; the cut at 1024 keeps such a text bounded).
static const char *QuoteEnd(const char *from, const char *end)
{
    const void *quote = std::memchr(from, '"', static_cast<size_t>(end - from));
    return quote ? static_cast<const char *>(quote) : end;
}

// A time attribute: the text `offset` characters after the start of `attribute` (past the name, the
// equals sign and the opening quote) up to the next quote, read as a decimal integer like atoi does
// (leading blanks, optional sign, digits up to the first non-digit). Missing, empty or cut off: 0.
// Values beyond 32 bits are held at the nearest limit rather than wrapped.
static int32_t ReadTime(const char *begin, const char *end, const char *attribute, size_t offset)
{
    const char *found = FindNoCaseIn(begin, end, attribute);
    if (!found || static_cast<size_t>(end - found) <= offset)
        return 0;
    const char *at = found + offset;
    const char *valueEnd = QuoteEnd(at, end);
    while (at < valueEnd && (*at == ' ' || (*at >= '\t' && *at <= '\r')))
        at++;
    bool negative = false;
    if (at < valueEnd && (*at == '+' || *at == '-'))
        negative = *at++ == '-';
    int64_t value = 0;
    for (; at < valueEnd && *at >= '0' && *at <= '9'; at++) {
        value = value * 10 + (*at - '0');
        if (value > INT32_MAX + int64_t(1))
            value = INT32_MAX + int64_t(1);
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        value = INT32_MAX;
    return static_cast<int32_t>(value);
}

// The folder name: from just after the first '"' directly followed by '>' (the end of the heading
// tag's last attribute) to the first "</H3>". A heading tag without any attribute quote
// ("<DT><H3>Name</H3>", "<DT><H3 FOLDED>Name</H3>", as Safari writes) starts its name just after the
// tag's '>'. Without a start the name is empty; without "</H3>" it runs to the end of the line.
static const char *FolderName(const char *begin, const char *end, char *buffer)
{
    const char *heading = begin + 4;  // the "<H3" after "<DT>"
    const char *tagEnd = static_cast<const char *>(std::memchr(heading, '>', static_cast<size_t>(end - heading)));
    const char *nameBegin = nullptr;
    if (tagEnd && !std::memchr(heading, '"', static_cast<size_t>(tagEnd - heading))) {
        nameBegin = tagEnd + 1;
    } else {
        const char *quote = FindIn(begin, end, "\">");
        if (quote)
            nameBegin = quote + 2;
    }
    if (!nameBegin)
        return CutText(nullptr, nullptr, buffer);
    const char *nameEnd = FindIn(nameBegin, end, "</H3>");
    return CutText(nameBegin, nameEnd ? nameEnd : end, buffer);
}

// The URL: after the first '<A HREF="', or failing that the first '<a href="', to the next quote.
// A line with neither anchor form has an empty URL.
static const char *BookmarkUrl(const char *begin, const char *end, char *buffer)
{
    const char *anchor = FindIn(begin, end, "<A HREF=\"");
    if (!anchor)
        anchor = FindIn(begin, end, "<a href=\"");
    if (!anchor)
        return CutText(nullptr, nullptr, buffer);
    const char *urlBegin = anchor + 9;
    return CutText(urlBegin, QuoteEnd(urlBegin, end), buffer);
}

// The title: after the line's second '>' (the first ends "<DT>", the second the anchor tag) to the
// first "</A>" in any case. No second '>': empty; no "</A>": to the end of the line.
static const char *BookmarkName(const char *begin, const char *end, char *buffer)
{
    const char *first = static_cast<const char *>(std::memchr(begin, '>', static_cast<size_t>(end - begin)));
    const char *second =
        first ? static_cast<const char *>(std::memchr(first + 1, '>', static_cast<size_t>(end - first - 1))) : nullptr;
    if (!second)
        return CutText(nullptr, nullptr, buffer);
    const char *nameEnd = FindNoCaseIn(second + 1, end, "</A>");
    return CutText(second + 1, nameEnd ? nameEnd : end, buffer);
}

// Second pass: appends the records into the slots the first pass counted.
struct Filler {
    ReaderCursor cursor;
    int slots = 0;              // records the first pass made room for
    bool topEndWritten = false;
    char name[MAX_TEXT + 1];
    char url[MAX_TEXT + 1];

    void Append(const char *recordName, const char *recordUrl, int32_t lastVisit = 0, int32_t lastModified = 0)
    {
        // Never beyond the counted slots, whatever the file holds.
        if (bookmarkTable.entryCount >= slots)
            return;
        int position = AppendRecord(cursor, recordName, recordUrl);
        bookmarkTable.entries[position].lastVisit = lastVisit;
        bookmarkTable.entries[position].lastModified = lastModified;
    }

    void operator()(LineKind kind, const char *begin, const char *end)
    {
        switch (kind) {
        case LINE_FOLDER:
            Append(FolderName(begin, end, name), OPEN_FOLDER);
            break;
        case LINE_BOOKMARK:
            Append(BookmarkName(begin, end, name), BookmarkUrl(begin, end, url), ReadTime(begin, end, "LAST_VISIT", 12),
                   ReadTime(begin, end, "LAST_MODIFIED", 15));
            break;
        case LINE_LIST_END:
            // The first pass made one end slot per heading and one for the outermost list end. A list
            // end that closes no open folder beyond that first top-level one closes nothing, and
            // keeping it would take the slot of a record still to come; it is dropped.
            if (cursor.folder == -1) {
                if (topEndWritten)
                    break;
                topEndWritten = true;
            }
            Append(CLOSE_FOLDER, CLOSE_FOLDER);
            break;
        case LINE_SEPARATOR:
            Append(SEPARATOR, SEPARATOR);
            break;
        case LINE_OTHER:
            break;
        }
    }
};

// The whole file in one heap block one byte longer than the file, ended by a NUL; null when the file
// cannot be opened or measured. *length receives the number of bytes actually read.
static char *LoadFile(const char *path, size_t *length)
{
    FILE *file = std::fopen(path, "rb");
    if (!file)
        return nullptr;
    // A directory opens on some systems and then reports a nonsense length; one byte read first tells an
    // unreadable file from a readable one before that length is trusted.
    if (std::fgetc(file) == EOF && std::ferror(file)) {
        std::fclose(file);
        return nullptr;
    }
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0) {
        std::fclose(file);
        return nullptr;
    }
    if (std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        ShowFatalError(FATAL_CANNOT_READ_FILE);
    }
    // size + 1 cannot overflow: a long always fits size_t with room for one more on our targets.
    char *text = static_cast<char *>(std::malloc(static_cast<size_t>(size) + 1));
    if (!text) {
        std::fclose(file);
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    }
    *length = std::fread(text, 1, static_cast<size_t>(size), file);
    std::fclose(file);
    text[*length] = '\0';
    return text;
}

int ReadNetscapeBookmarks(const char *path)
{
    TraceEnter("ReadNetscapeBookmarks");
    size_t length = 0;
    char *text = LoadFile(path, &length);
    if (!text) {
        Trace("cannot open %s", path);
        TraceExit("ReadNetscapeBookmarks");
        return 0;
    }
    TerminateLines(text, length);

    // First pass: two slots per heading (its start and its end record), one per bookmark and separator.
    int64_t count = 0;
    ScanLines(text, length, [&count](LineKind kind, const char *, const char *) {
        count += kind == LINE_FOLDER ? 2 : (kind == LINE_BOOKMARK || kind == LINE_SEPARATOR) ? 1 : 0;
    });
    if (count == 0) {
        std::free(text);
        TraceExit("ReadNetscapeBookmarks");
        return 0;
    }
    count++;  // the outermost list end
    if (count > INT32_MAX - bookmarkTable.entryCount)
        ShowFatalError(FATAL_OUT_OF_MEMORY);  // more records than positions can number

    Filler filler;
    StartReading(filler.cursor, SOURCE_NETSCAPE);
    ReserveEntries(static_cast<int>(count));
    filler.slots = bookmarkTable.entryCount + static_cast<int>(count);
    ScanLines(text, length, [&filler](LineKind kind, const char *begin, const char *end) { filler(kind, begin, end); });

    std::free(text);
    Trace("%d records from %s", bookmarkTable.entryCount, path);
    TraceExit("ReadNetscapeBookmarks");
    return 1;
}
