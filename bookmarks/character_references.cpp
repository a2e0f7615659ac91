// Decoding the character references of an exported bookmark file: "Q&amp;A" is shown as "Q&A".
#include "bookmarks/character_references.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "base/code_page.h"

static const struct {
    const char *reference;
    char character;
} NAMED_REFERENCES[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};

static bool IsControl(unsigned long character)
{
    return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}

// A numeric reference "&#N;" or "&#xH;" at `at` (which starts "&#"): its character in the code page
// appended to out and the reference's length, or 0 when it is none that is decoded.
static size_t NumericReference(const char *at, const char *end, std::string &out)
{
    const char *digits = at + 2;
    int base = 10;
    if (digits < end && *digits == 'x') {
        base = 16;
        digits++;
    }
    unsigned long character = 0;
    std::from_chars_result number = std::from_chars(digits, end, character, base);
    if (number.ec != std::errc() || number.ptr == end || *number.ptr != ';' || IsControl(character))
        return 0;
    if (!AppendCodePageCharacter(character, out))
        return 0;
    return static_cast<size_t>(number.ptr + 1 - at);
}

// The reference at `at` (which is '&') decoded into out, and its length; 0 when it stays as written.
static size_t Reference(const char *at, const char *end, std::string &out)
{
    size_t left = static_cast<size_t>(end - at);
    if (left > 1 && at[1] == '#')
        return NumericReference(at, end, out);
    for (const auto &named : NAMED_REFERENCES) {
        size_t length = std::strlen(named.reference);
        if (left >= length && std::memcmp(at, named.reference, length) == 0) {
            out += named.character;
            return length;
        }
    }
    return 0;
}

const char *DecodeCharacterReferences(const char *begin, const char *end, char *buffer, size_t capacity)
{
    size_t used = 0;
    std::string character;
    while (begin < end && used < capacity) {
        // Only as far as the buffer has room: a text may be a data URL of megabytes.
        size_t window = std::min(static_cast<size_t>(end - begin), capacity - used);
        const char *ampersand = static_cast<const char *>(std::memchr(begin, '&', window));
        size_t plain = ampersand ? static_cast<size_t>(ampersand - begin) : window;
        std::memcpy(buffer + used, begin, plain);
        used += plain;
        begin += plain;
        if (begin == end || used == capacity)
            break;
        character.clear();
        size_t length = Reference(begin, end, character);
        if (length == 0) {
            character = "&";
            length = 1;
        }
        if (character.size() > capacity - used)
            break;
        std::memcpy(buffer + used, character.data(), character.size());
        used += character.size();
        begin += length;
    }
    buffer[used] = '\0';
    return buffer;
}
