// The program's code page on Windows: the system's ANSI code page and its own conversions.
#include "base/code_page.h"

#include <windows.h>

static bool AppendWide(const WCHAR *wide, int length, std::string &out)
{
    char bytes[8];
    BOOL usedDefault = FALSE;
    int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, bytes, sizeof bytes, nullptr,
                                      &usedDefault);
    if (written <= 0 || usedDefault)
        return false;
    out.append(bytes, static_cast<size_t>(written));
    return true;
}

bool AppendCodePageCharacter(unsigned long character, std::string &out)
{
    if ((character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF)
        return false;
    WCHAR wide[2];
    if (character < 0x10000) {
        wide[0] = static_cast<WCHAR>(character);
        return AppendWide(wide, 1, out);
    }
    character -= 0x10000;
    wide[0] = static_cast<WCHAR>(0xD800 + (character >> 10));
    wide[1] = static_cast<WCHAR>(0xDC00 + (character & 0x3FF));
    return AppendWide(wide, 2, out);
}

// Character by character, so that a character beyond the 16-bit range that the code page lacks gives
// one '?' as it does in the host build, not one for each half of its surrogate pair.
bool CodePageFromUtf8(const std::string &utf8, std::string &out)
{
    int size = static_cast<int>(utf8.size());
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0 && size > 0)
        return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, &wide[0], length);
    std::string converted;
    for (int i = 0; i < length;) {
        int units = IS_HIGH_SURROGATE(wide[i]) && i + 1 < length && IS_LOW_SURROGATE(wide[i + 1]) ? 2 : 1;
        if (wide[i] < 0x80)
            converted += static_cast<char>(wide[i]);  // every ANSI code page keeps ASCII as it is
        else if (!AppendWide(&wide[i], units, converted))
            converted += '?';
        i += units;
    }
    out.swap(converted);
    return true;
}

bool Utf8FromCodePage(const std::string &text, std::string &out)
{
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0 && size > 0)
        return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &converted[0], bytes, nullptr, nullptr);
    out.swap(converted);
    return true;
}
