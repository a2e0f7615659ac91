// Fuzzing the Firefox reader. An input is SQL run into a database in Firefox's schema (odd rows: loops, nulls,
// strange types), optionally followed by a NUL and patches of three bytes each (a 16-bit offset in steps of
// 16 bytes, a byte to XOR there) that damage the database file itself: SQLite must fail cleanly, the reader
// must not crash, and whatever it appends keeps the table's shape, sorted too.
#include <cstdint>
#include <string>

#include "base/settings.h"

#include "bookmarks/firefox_reader.h"
#include "tests/support/table_checks.h"

static void Damage(const std::string &path, const std::string &patches)
{
    std::string bytes = ReadFileBytes(path);
    for (size_t i = 0; i + 3 <= patches.size() && !bytes.empty(); i += 3) {
        size_t offset = (static_cast<unsigned char>(patches[i]) | static_cast<unsigned char>(patches[i + 1]) << 8) * 16;
        bytes[offset % bytes.size()] ^= patches[i + 2];
    }
    WriteScratchFile(path, bytes);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string schema = ReadFileBytes(TRESK_TEST_DATA "/firefox/schema.sql");
    static const std::string places = (MakeScratchDirectory("fuzz") / "places.sqlite").string();
    std::string input(reinterpret_cast<const char *>(data), size);
    size_t end = input.find('\0');
    MakeDatabase(places, {schema, input.substr(0, end)});
    if (end != std::string::npos)
        Damage(places, input.substr(end + 1));
    ReadFirefoxBookmarks(places.c_str());
    CheckSortAndRelease(0, size % 2 ? SORT_ORDER_ASCENDING : SORT_ORDER_DESCENDING);
    return 0;
}
