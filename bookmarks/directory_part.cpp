// The directory part of a file path, for the change watch.
#include <cstring>

#include "bookmarks/change_watch.h"

std::string GetDirectoryPart(const char *path)
{
    const char *lastBackslash = std::strrchr(path, '\\');
    return lastBackslash ? std::string(path, static_cast<size_t>(lastBackslash - path)) : std::string();
}
