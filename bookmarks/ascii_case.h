// Case-insensitive text tests of the readers and the sort: only A-Z are folded, bytes compare unsigned.
#pragma once
#include <cstddef>

inline unsigned char FoldAsciiCase(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// <0, 0, >0 like strcmp; a text that is a prefix of the other is the smaller one.
inline int CompareNoCase(const char *a, const char *b)
{
    const unsigned char *x = reinterpret_cast<const unsigned char *>(a);
    const unsigned char *y = reinterpret_cast<const unsigned char *>(b);
    while (*x && FoldAsciiCase(*x) == FoldAsciiCase(*y)) {
        x++;
        y++;
    }
    return static_cast<int>(FoldAsciiCase(*x)) - static_cast<int>(FoldAsciiCase(*y));
}

inline bool StartsWithNoCase(const char *text, const char *prefix)
{
    for (; *prefix; text++, prefix++)
        if (FoldAsciiCase(static_cast<unsigned char>(*text)) != FoldAsciiCase(static_cast<unsigned char>(*prefix)))
            return false;  // also stops at the end of text, whose NUL matches no prefix character
    return true;
}
