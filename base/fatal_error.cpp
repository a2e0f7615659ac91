// The fatal error texts, shared by the Windows report and the host one.
#include "base/fatal_error.h"

#include <cstdio>

static const char *FatalErrorFormat(int code)
{
    switch (code) {
    case FATAL_OUT_OF_MEMORY: return "Out of Memory";
    case FATAL_CANNOT_OPEN_FILE: return "Cannot Open File";
    case FATAL_CANNOT_READ_FILE: return "Cannot Read From File";
    case FATAL_CANNOT_WRITE_FILE: return "Cannot Write to File";
    case FATAL_OVERFLOW: return "Overflow";
    case FATAL_INVALID_BOOKMARK_FILE: return "Invalid Bookmark File";
    case FATAL_BOOKMARK_FILE_NOT_FOUND: return "Cannot find Bookmark File";
    case FATAL_REGISTRY_KEY:
        return "Cannot access 'HKEY_CURRENT_USER\\Software\\Olvane\\Tresk' registry key.  Error Code: %d";
    case FATAL_BOOKMARK_PARSE: return "An error occurred while parsing the bookmark file: %s";
    default: return "";
    }
}

void FormatFatalError(int code, unsigned long lastError, const char *bookmarkFile, char *buffer, size_t size)
{
    if (size == 0)
        return;
    const char *format = FatalErrorFormat(code);
    if (code == FATAL_REGISTRY_KEY)
        std::snprintf(buffer, size, format, static_cast<int>(lastError));
    else if (code == FATAL_BOOKMARK_PARSE)
        std::snprintf(buffer, size, format, bookmarkFile ? bookmarkFile : "");
    else
        std::snprintf(buffer, size, "%s", format);
}
