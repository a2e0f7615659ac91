// Text helpers: short copies in rotating scratch buffers and substring search without regard to case.
#include "bookmarks/text_helpers.h"

#include "base/ascii_case.h"
#include "base/code_page.h"

#include <algorithm>
#include <cstring>

static const int SCRATCH_SIZE = 1025;
static char scratch[2][SCRATCH_SIZE];
static int nextScratch = 0;

// Callers keep n well below 1024; a larger n is cut so the copy always fits its buffer.
static const char *CopyToScratch(const char *from, size_t length)
{
    if (length > SCRATCH_SIZE - 1)
        length = SCRATCH_SIZE - 1;
    char *buffer = scratch[nextScratch];
    nextScratch ^= 1;
    std::memcpy(buffer, from, length);
    buffer[length] = '\0';
    return buffer;
}

const char *LeftString(const char *text, int n)
{
    size_t length = 0;
    // Counted by hand rather than with strlen: the text may be a whole file line of megabytes.
    while (static_cast<int>(length) < n && length < SCRATCH_SIZE - 1 && text[length])
        length++;
    return CopyToScratch(text, length);
}

const char *RightString(const char *text, int n)
{
    size_t length = std::strlen(text);
    size_t take = n < 1 ? 0 : static_cast<size_t>(n);
    if (take > SCRATCH_SIZE - 1)
        take = SCRATCH_SIZE - 1;  // the last characters are the ones a right part keeps
    if (take > length)
        take = length;
    return CopyToScratch(text + length - take, take);
}

static inline bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

static bool SameTextNoCase(const char *a, const char *b, size_t length)
{
    for (size_t i = 0; i < length; i++)
        if (!SameNoCase(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Searches for candidates with memchr on one pattern byte that has no case (the '_' of "LAST_VISIT",
// the '<' of "</A>"), which skips long runs such as inline favicon data at memory speed. A pattern made
// only of letters falls back to comparing byte by byte. Nothing is copied or allocated.
const char *FindNoCaseIn(const char *begin, const char *end, const char *pattern)
{
    size_t patternLength = std::strlen(pattern);
    if (patternLength == 0)
        return begin;
    if (end < begin || static_cast<size_t>(end - begin) < patternLength)
        return nullptr;
    const char *last = end - patternLength;  // the last place a match may start
    size_t anchor = 0;
    while (anchor < patternLength && IsLetter(static_cast<unsigned char>(pattern[anchor])))
        anchor++;
    if (anchor == patternLength) {
        unsigned char first = static_cast<unsigned char>(pattern[0]);
        for (const char *at = begin; at <= last; at++)
            if (SameNoCase(static_cast<unsigned char>(*at), first) && SameTextNoCase(at, pattern, patternLength))
                return at;
        return nullptr;
    }
    const char *from = begin + anchor;
    const char *limit = last + anchor + 1;  // hits of the anchor at or beyond this cannot start a match
    while (from < limit) {
        const void *hit = std::memchr(from, pattern[anchor], static_cast<size_t>(limit - from));
        if (!hit)
            return nullptr;
        const char *start = static_cast<const char *>(hit) - anchor;
        if (SameTextNoCase(start, pattern, patternLength))
            return start;
        from = static_cast<const char *>(hit) + 1;
    }
    return nullptr;
}

const char *FindNoCase(const char *text, const char *pattern)
{
    return FindNoCaseIn(text, text + std::strlen(text), pattern);
}

const char *FindIn(const char *begin, const char *end, const char *pattern)
{
    size_t patternLength = std::strlen(pattern);
    if (patternLength == 0)
        return begin;
    if (end < begin || static_cast<size_t>(end - begin) < patternLength)
        return nullptr;
    const char *limit = end - patternLength + 1;
    const char *from = begin;
    while (from < limit) {
        const void *hit = std::memchr(from, pattern[0], static_cast<size_t>(limit - from));
        if (!hit)
            return nullptr;
        const char *start = static_cast<const char *>(hit);
        if (std::memcmp(start, pattern, patternLength) == 0)
            return start;
        from = start + 1;
    }
    return nullptr;
}

std::string CodePageText(const char *utf8, size_t length, size_t limit)
{
    std::string text = length == std::string::npos ? std::string(utf8) : std::string(utf8, length);
    bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii)  // ASCII is the same in every code page
        CodePageFromUtf8(text, text);
    if (text.size() > limit)
        text.resize(limit);
    return text;
}
