// libFuzzer harness for the Netscape bookmark file reader: any bytes as a file, read, check, free.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/netscape_reader.h"
#include "tests/support/table_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string path = WriteScratchFile("fuzz.htm", std::string(reinterpret_cast<const char *>(data), size));
    int found = ReadNetscapeBookmarks(path.c_str());
    // A file is read twice, but nothing changes it here: a counted line always yields its record.
    std::string problem = found == (bookmarkTable.entryCount > 0 ? 1 : 0) ? CheckTable(false, -1) : "wrong result";
    ReleaseTable();
    if (problem.empty() && LiveMenuCount() > 0)
        problem = "menus left alive";
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
