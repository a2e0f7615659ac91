// libFuzzer harness for the Netscape bookmark file reader: any bytes as a file, read, check, sort, check, free.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/netscape_reader.h"
#include "tests/support/table_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string path = WriteScratchFile("fuzz.htm", std::string(reinterpret_cast<const char *>(data), size));
    // A file is read twice, but nothing changes it here: a counted line always yields its record.
    if (ReadNetscapeBookmarks(path.c_str()) != (bookmarkTable.entryCount > 0 ? 1 : 0))
        std::abort();
    CheckSortAndRelease(-1, size % 2 ? SORT_ORDER_ASCENDING : SORT_ORDER_DESCENDING);
    return 0;
}
