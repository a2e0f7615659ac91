// The character references that browsers write into the texts of a bookmark file they export.
#pragma once
#include <cstddef>

// Copies [begin, end) into buffer, which holds capacity bytes and the ending NUL, and returns buffer.
// Decoded, in one pass: &amp; &lt; &gt; &quot; &apos; and &#N; / &#xH; naming a character that the
// program's code page has and that is no control character. Everything else is copied as written. The
// copy ends where the next character would not fit.
const char *DecodeCharacterReferences(const char *begin, const char *end, char *buffer, size_t capacity);
