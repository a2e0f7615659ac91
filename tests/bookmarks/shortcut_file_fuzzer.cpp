// Fuzzing the Internet Shortcut file reading: a URL found is never empty and holds no line end or NUL.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bookmarks/favorites_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string url;
    if (FindShortcutURL(reinterpret_cast<const char *>(data), size, url)) {
        if (url.empty() || url.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            std::abort();
        if (url.size() > size)
            std::abort();
    }
    return 0;
}
