// Text into the program's code page from UTF-16, character by character on either platform's conversion.
#include "base/code_page.h"

static bool IsHighSurrogate(unsigned long unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
static bool IsLowSurrogate(unsigned long unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string CodePageFromUtf16(const std::u16string &utf16)
{
    std::string out;
    for (size_t i = 0; i < utf16.size(); i++) {
        unsigned long character = utf16[i];
        if (character < 0x80) {
            out += static_cast<char>(character);  // every ANSI code page keeps ASCII as it is
            continue;
        }
        if (IsHighSurrogate(character) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1]))
            character = 0x10000 + ((character - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        if (!AppendCodePageCharacter(character, out))
            out += '?';  // also a half of a surrogate pair without its other half: no character at all
    }
    return out;
}
