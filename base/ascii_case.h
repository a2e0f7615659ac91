// Case-insensitive text tests of the whole program: only A-Z are folded, bytes compare unsigned.
#pragma once

inline int FoldAsciiCase(int c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

inline bool SameNoCase(int a, int b)
{
    return FoldAsciiCase(a) == FoldAsciiCase(b);
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
    return FoldAsciiCase(*x) - FoldAsciiCase(*y);
}

inline bool StartsWithNoCase(const char *text, const char *prefix)
{
    for (; *prefix; text++, prefix++)
        if (!SameNoCase(static_cast<unsigned char>(*text), static_cast<unsigned char>(*prefix)))
            return false;  // also stops at the end of text, whose NUL matches no prefix character
    return true;
}
