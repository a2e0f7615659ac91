// The program's code page in the host build: Windows-1252, the ANSI code page of Western Windows, through iconv.
#include "base/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

static const char CODE_PAGE[] = "WINDOWS-1252";

// Windows keeps the five bytes that Windows-1252 leaves undefined as the C1 characters of the same
// number; iconv has no character for them.
static bool IsUndefinedByte(unsigned long character)
{
    return character == 0x81 || character == 0x8D || character == 0x8F || character == 0x90 || character == 0x9D;
}

// Converts all of `in` into the code page or wide characters and appends the result to out; false
// (out unchanged) when a character cannot be taken. With `lacking` set, a wide character the code page
// lacks becomes that byte instead.
static bool Convert(const char *to, const char *from, const std::string &in, std::string &out, char lacking = 0)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string result(in.size() * sizeof(wchar_t) + 1, '\0');  // no character grows beyond that
    char *inAt = const_cast<char *>(in.data());
    size_t inLeft = in.size();
    char *outAt = &result[0];
    size_t outLeft = result.size();
    while (iconv(converter, &inAt, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1) && errno == EILSEQ &&
           lacking && inLeft >= sizeof(wchar_t)) {
        wchar_t character;
        std::memcpy(&character, inAt, sizeof character);
        *outAt++ = IsUndefinedByte(static_cast<unsigned long>(character)) ? static_cast<char>(character) : lacking;
        outLeft--;
        inAt += sizeof character;
        inLeft -= sizeof character;
    }
    iconv_close(converter);
    if (inLeft != 0)
        return false;
    out.append(result.data(), result.size() - outLeft);
    return true;
}

bool AppendCodePageCharacter(unsigned long character, std::string &out)
{
    if ((character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF)
        return false;
    if (IsUndefinedByte(character)) {
        out += static_cast<char>(character);
        return true;
    }
    wchar_t wide = static_cast<wchar_t>(character);
    return Convert(CODE_PAGE, "WCHAR_T", std::string(reinterpret_cast<const char *>(&wide), sizeof wide), out);
}

bool CodePageFromUtf8(const std::string &utf8, std::string &out)
{
    std::string wide, converted;
    if (!Convert("WCHAR_T", "UTF-8", utf8, wide) || !Convert(CODE_PAGE, "WCHAR_T", wide, converted, '?'))
        return false;
    out.swap(converted);
    return true;
}

bool Utf8FromCodePage(const std::string &text, std::string &out)
{
    std::string converted;
    if (!Convert("UTF-8", CODE_PAGE, text, converted))
        return false;
    out.swap(converted);
    return true;
}
