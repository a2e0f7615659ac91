// Fuzzing the Chromium Bookmarks reader and the sort over what it read: no crash, and the table keeps its shape.
#include <cstdint>
#include <string>

#include "bookmarks/chromium_reader.h"
#include "base/settings.h"
#include "tests/support/table_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    ReadChromiumBookmarksText(&text[0]);
    CheckSortAndRelease(0, size % 2 ? SORT_ORDER_ASCENDING : SORT_ORDER_DESCENDING);
    return 0;
}
