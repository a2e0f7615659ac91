// Text helpers shared by the readers, the refresh and the search.
#pragma once
#include <cstddef>
#include <string>

// Copies of the first / last n characters (all when shorter, empty when n < 1) in one of two rotating
// 1025-byte scratch buffers: a result stays valid until two further calls of either helper.
const char *LeftString(const char *text, int n);
const char *RightString(const char *text, int n);
// The first occurrence of pattern in text, ignoring the case of A-Z; null when there is none.
const char *FindNoCase(const char *text, const char *pattern);
// The same within the bytes [begin, end), which need not end with a NUL; null when there is none.
const char *FindNoCaseIn(const char *begin, const char *end, const char *pattern);
// The first exact occurrence of pattern within [begin, end); null when there is none.
const char *FindIn(const char *begin, const char *end, const char *pattern);
// UTF-8 text (`length` bytes, or up to its NUL) in the program's code page, cut at `limit` bytes; text that
// is not valid UTF-8 stays as written.
std::string CodePageText(const char *utf8, size_t length, size_t limit);
