// Reading a shell "DefaultIcon" value ("file,index") for the icon sets.
#include "menu/icon_location.h"

#include "base/ascii_case.h"

#include <climits>
#include <cstdlib>
#include <cstring>


// The index after the comma, read as the C library reads a number; no digits mean 0. Kept one short of
// the int range so that the next index (the open folder) cannot overflow.
static int ParseIndex(const char *digits)
{
    long value = std::strtol(digits, nullptr, 10);
    if (value > INT_MAX - 1)
        return INT_MAX - 1;
    if (value < INT_MIN + 1)
        return INT_MIN + 1;
    return static_cast<int>(value);
}

bool SplitIconLocation(const char *text, char *file, size_t fileSize, int *index)
{
    const char *comma = std::strrchr(text, ',');
    size_t length = comma ? static_cast<size_t>(comma - text) : std::strlen(text);
    *index = comma ? ParseIndex(comma + 1) : 0;
    const char *start = text;
    while (length > 0 && (*start == ' ' || *start == '"')) {
        start++;
        length--;
    }
    while (length > 0 && (start[length - 1] == ' ' || start[length - 1] == '"'))
        length--;
    if (fileSize == 0 || length == 0 || length >= fileSize) {
        if (fileSize > 0)
            file[0] = '\0';
        return false;
    }
    std::memcpy(file, start, length);
    file[length] = '\0';
    return true;
}

bool EndsWithShellFolderIcon(const char *text)
{
    static const char suffix[] = "\\shell32.dll,3";
    const size_t suffixLength = sizeof suffix - 1;
    size_t length = std::strlen(text);
    if (length < suffixLength)
        return false;
    return CompareNoCase(text + length - suffixLength, suffix) == 0;
}
