// Fuzzing the hotlist reader and the sort over what it read: no crash, and the table keeps its shape.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/settings.h"
#include "bookmarks/opera_reader.h"
#include "bookmarks/sorting.h"
#include "tests/support/table_checks.h"

static void Require(const std::string &problem)
{
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ReadOperaHotlistText(std::string(reinterpret_cast<const char *>(data), size).c_str());
    Require(CheckTable(false, -1));
    settings.sortOrder = size % 2 ? SORT_ORDER_ASCENDING : SORT_ORDER_DESCENDING;
    SortBookmarkTable();
    Require(CheckTable(true));
    ReleaseTable();
    return 0;
}
