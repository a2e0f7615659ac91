// Reader of the Netscape bookmark file: a line scanner that cuts its texts out of the lines Netscape writes.
#include "bookmarks/netscape_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/ascii_case.h"
#include "base/fatal_error.h"
#include "base/trace.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/character_references.h"
#include "bookmarks/source_file.h"
#include "bookmarks/text_helpers.h"

// Texts read from the file are cut at this many characters.
static const size_t MAX_TEXT = 1024;

enum LineKind { LINE_OTHER, LINE_FOLDER, LINE_BOOKMARK, LINE_LIST_END, LINE_SEPARATOR };

// Whether [begin, end) starts with tag, ignoring the case of A-Z.
static bool LineStartsWith(const char *begin, const char *end, const char *tag, size_t length)
{
    if (static_cast<size_t>(end - begin) < length)
        return false;
    for (size_t i = 0; i < length; i++)
        if (!SameNoCase(static_cast<unsigned char>(begin[i]), static_cast<unsigned char>(tag[i])))
            return false;
    return true;
}

// The four tags are tested in this order; "<DT><H3" before "<DT>" because a heading starts with both.
static LineKind KindOfLine(const char *begin, const char *end)
{
    if (begin == end || *begin != '<')
        return LINE_OTHER;  // most lines of a file are none of the four
    if (LineStartsWith(begin, end, "<DT>", 4))
        return LineStartsWith(begin + 4, end, "<H3", 3) ? LINE_FOLDER : LINE_BOOKMARK;
    if (LineStartsWith(begin, end, "</DL>", 5))
        return LINE_LIST_END;
    if (LineStartsWith(begin, end, "<HR>", 4))
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

// The file is read in pieces into one buffer that is reused for the whole file: a copy of the whole file
// would cost a fresh page of memory for every 4 KB read, more than the scanning itself, and a piece of
// 64 KB is still in the processor's cache when its lines are scanned. A line longer than the buffer
// makes it grow to hold that line.
static const size_t PIECE_SIZE = 1 << 16;

struct FileLines {
    FILE *file;
    char *buffer;
    size_t capacity;
    size_t start = 0;   // the first byte not yet handed out
    size_t filled = 0;  // bytes in the buffer
    size_t searched = 0;  // bytes after start already known to hold no LF, so a long line is scanned once
    bool atEnd = false;

    // The next line [*begin, *end), without its line end; false after the last one. The file is read as
    // bytes on every platform, so an LF ends a line and a CR directly before it is dropped (CR LF and LF
    // files give the same table), and a Ctrl-Z byte is an ordinary character.
    bool Next(const char **begin, const char **end)
    {
        for (;;) {
            char *from = buffer + start;
            char *lineFeed = static_cast<char *>(std::memchr(from + searched, '\n', filled - start - searched));
            if (lineFeed) {
                start = static_cast<size_t>(lineFeed - buffer) + 1;
                searched = 0;
                *begin = from;
                *end = (lineFeed > from && lineFeed[-1] == '\r') ? lineFeed - 1 : lineFeed;
                return true;
            }
            if (atEnd) {
                if (start == filled)
                    return false;
                *begin = from;
                *end = buffer + filled;
                start = filled;
                searched = 0;
                return true;
            }
            searched = filled - start;
            Refill();
        }
    }

    // Keeps the unfinished line at the front of the buffer and reads more behind it.
    void Refill()
    {
        if (start > 0) {
            std::memmove(buffer, buffer + start, filled - start);
            filled -= start;
            start = 0;
        }
        if (filled == capacity) {
            size_t grown = capacity * 2;
            char *larger = static_cast<char *>(std::realloc(buffer, grown));
            if (!larger)
                ShowFatalError(FATAL_OUT_OF_MEMORY);
            buffer = larger;
            capacity = grown;
        }
        size_t got = std::fread(buffer + filled, 1, capacity - filled, file);
        filled += got;
        if (got == 0)
            atEnd = true;
    }
};

// Calls visit(kind, begin, end) for every recognised line, in file order, reading the file from its
// start. A NUL byte (a damaged file) ends its line like a line end does, so what follows it on that line
// is still read rather than lost. Firefox writes a separator and the next bookmark
// on one line ("<HR>    <DT><A ..."); the rest of a line after its "<HR>" tag is taken as a line of its
// own, so that bookmark is kept.
template <typename Visit>
static void ScanLines(FileLines &lines, Visit visit)
{
    const char *line, *lineEnd;
    while (lines.Next(&line, &lineEnd)) {
        while (line < lineEnd) {
            const char *nul = static_cast<const char *>(std::memchr(line, '\0', static_cast<size_t>(lineEnd - line)));
            const char *end = nul ? nul : lineEnd;
            const char *begin = SkipBlanks(line, end);
            while (begin < end) {
                LineKind kind = KindOfLine(begin, end);
                if (kind != LINE_OTHER)
                    visit(kind, begin, end);
                if (kind != LINE_SEPARATOR)
                    break;
                begin = SkipBlanks(begin + 4, end);
            }
            line = end + 1;
        }
    }
}

// The text [begin, end) with its character references decoded (browsers write "Q&amp;A" for "Q&A"),
// cut at MAX_TEXT characters, in a buffer of MAX_TEXT + 1 bytes; (null, null) is the empty text. The cut
// comes after decoding, so a text is never cut inside a reference.
static const char *CutText(const char *begin, const char *end, char *buffer)
{
    return DecodeCharacterReferences(begin, end, buffer, MAX_TEXT);
}

// The end of a quoted value starting at `from`: the next double quote, or the end of the line when the
// quote is missing (the file format always has it; the cut at 1024 keeps such a text bounded).
static const char *QuoteEnd(const char *from, const char *end)
{
    const void *quote = std::memchr(from, '"', static_cast<size_t>(end - from));
    return quote ? static_cast<const char *>(quote) : end;
}

// Where "LAST_VISIT" and "LAST_MODIFIED" first occur in the line, in any case, or null. One search for
// their '_' finds both: a Chrome line is mostly icon data, and searching it once per attribute cost
// more than the rest of the line's reading.
static void FindTimeAttributes(const char *begin, const char *end, const char **visit, const char **modified)
{
    *visit = *modified = nullptr;
    const char *at = begin;
    while (!*visit || !*modified) {
        const char *underscore = static_cast<const char *>(std::memchr(at, '_', static_cast<size_t>(end - at)));
        if (!underscore)
            return;
        at = underscore + 1;
        const char *name = underscore - 4;
        if (underscore - begin < 4)
            continue;
        if (!*visit && LineStartsWith(name, end, "LAST_VISIT", 10))
            *visit = name;
        else if (!*modified && LineStartsWith(name, end, "LAST_MODIFIED", 13))
            *modified = name;
    }
}

// A time attribute found at `found`: the text `offset` characters after its start (past the name, the
// equals sign and the opening quote) up to the next quote, read as a decimal integer like atoi does
// (leading blanks, optional sign, digits up to the first non-digit). Missing, empty or cut off: 0.
// Values beyond 32 bits are held at the nearest limit rather than wrapped.
static int32_t ReadTime(const char *found, const char *end, size_t offset)
{
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

// Appends the records as the lines come. Nothing is appended before the first line that makes a record
// of its own (a heading, a bookmark, a separator), so a file without one leaves the table untouched.
struct Filler {
    ReaderCursor cursor;
    bool started = false;
    bool topEndPending = false;  // a top-level list end before the first record, appended with it
    bool topEndWritten = false;
    char name[MAX_TEXT + 1];
    char url[MAX_TEXT + 1];

    void Start()
    {
        if (started)
            return;
        started = true;
        StartReading(cursor, SOURCE_NETSCAPE);
        if (topEndPending)
            AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    }

    void Append(const char *recordName, const char *recordUrl, int32_t lastVisit = 0, int32_t lastModified = 0)
    {
        Start();
        int position = AppendRecord(cursor, recordName, recordUrl);
        bookmarkTable.entries[position].lastVisit = lastVisit;
        bookmarkTable.entries[position].lastModified = lastModified;
    }

    void AppendBookmark(const char *begin, const char *end)
    {
        if (IsKindMarker(BookmarkUrl(begin, end, url)))
            return;
        const char *visit, *modified;
        FindTimeAttributes(begin, end, &visit, &modified);
        Append(BookmarkName(begin, end, name), url, ReadTime(visit, end, 12), ReadTime(modified, end, 15));
    }

    // Each list end closes the open folder. A list end that closes no open folder beyond that first
    // top-level one closes nothing and is dropped: one end per heading and one outermost end is what a
    // file can hold.
    void AppendListEnd()
    {
        if (cursor.folder == -1) {
            if (topEndWritten)
                return;
            topEndWritten = true;
            if (!started) {
                topEndPending = true;
                return;
            }
        }
        Append(CLOSE_FOLDER, CLOSE_FOLDER);
    }

    void operator()(LineKind kind, const char *begin, const char *end)
    {
        switch (kind) {
        case LINE_FOLDER:
            Append(FolderName(begin, end, name), OPEN_FOLDER);
            break;
        case LINE_BOOKMARK:
            AppendBookmark(begin, end);
            break;
        case LINE_LIST_END:
            AppendListEnd();
            break;
        case LINE_SEPARATOR:
            Append(SEPARATOR, SEPARATOR);
            break;
        case LINE_OTHER:
            break;
        }
    }
};

// Opens the file and makes its read buffer (the file's length plus one, at most one piece); false when
// the file cannot be opened or read. The length is taken by seeking to the end; a file that cannot be
// positioned back to its start is fatal (3).
static bool OpenLines(const char *path, FileLines &lines)
{
    lines.file = OpenSourceFile(path, "rb");
    if (!lines.file)
        return false;
    long size = -1;
    if (std::fseek(lines.file, 0, SEEK_END) == 0)
        size = std::ftell(lines.file);
    if (size < 0) {
        std::fclose(lines.file);
        return false;
    }
    if (std::fseek(lines.file, 0, SEEK_SET) != 0) {
        std::fclose(lines.file);
        ShowFatalError(FATAL_CANNOT_READ_FILE);
    }
    lines.capacity = static_cast<unsigned long>(size) < PIECE_SIZE ? static_cast<size_t>(size) + 1 : PIECE_SIZE;
    lines.buffer = static_cast<char *>(std::malloc(lines.capacity));
    if (!lines.buffer) {
        std::fclose(lines.file);
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    }
    return true;
}

// One pass over the file: a pass that only counted the records first, to size the record array, read
// and scanned the whole file a second time, which cost a third of the reading; the array grows
// geometrically instead. Every list end that is kept closes a heading or is the one outermost end, so
// the records never outnumber two per heading, one per bookmark and separator, and one.
int ReadNetscapeBookmarks(const char *path)
{
    TraceEnter("ReadNetscapeBookmarks");
    FileLines lines;
    if (!OpenLines(path, lines)) {
        Trace("cannot open %s", path);
        TraceExit("ReadNetscapeBookmarks");
        return 0;
    }
    Filler filler;
    ScanLines(lines, [&filler](LineKind kind, const char *begin, const char *end) { filler(kind, begin, end); });
    std::fclose(lines.file);
    std::free(lines.buffer);
    Trace("%d records from %s", bookmarkTable.entryCount, path);
    TraceExit("ReadNetscapeBookmarks");
    return filler.started ? 1 : 0;
}
