// Fuzzing the Chromium Bookmarks reader and the sort over what it read: no crash, and the table keeps its shape.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/settings.h"
#include "bookmarks/chromium_reader.h"
#include "bookmarks/sorting.h"
#include "tests/support/table_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    ReadChromiumBookmarksText(&text[0]);
    std::string problem = CheckTable();
    settings.sortOrder = size % 2 ? SORT_ORDER_ASCENDING : SORT_ORDER_DESCENDING;
    SortBookmarkTable();
    if (problem.empty())
        problem = CheckTable(true);
    ReleaseTable();
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
