// Sorting the table: records grouped by their folder, then each group put in name order.
#include "bookmarks/sorting.h"

#include <algorithm>
#include <cstring>

#include "base/trace.h"
#include "base/ascii_case.h"
#include "bookmarks/bookmark_table.h"
#include "base/settings.h"

static int SortSign()
{
    return settings.sortOrder == SORT_ORDER_DESCENDING ? -1 : 1;
}

static bool IsCloseFolderName(const BookmarkEntry &entry)
{
    return std::strcmp(entry.name, CLOSE_FOLDER) == 0;
}

// A separator that takes part in a sort loses its name, so the menu builder leaves it out.
static void EmptySeparatorName(BookmarkEntry &entry)
{
    if (std::strcmp(entry.name, SEPARATOR) == 0)
        entry.name[0] = '\0';
}

int CompareByParentFolder(const BookmarkEntry *a, const BookmarkEntry *b)
{
    return a->parentFolder <= b->parentFolder ? -1 : 1;
}

int CompareByName(BookmarkEntry *a, BookmarkEntry *b)
{
    int sign = SortSign();
    EmptySeparatorName(*a);
    EmptySeparatorName(*b);
    if (IsCloseFolderName(*a))
        return -sign;
    if (IsCloseFolderName(*b))
        return sign;
    int order = CompareNoCase(a->name, b->name);
    return order < 0 ? -sign : (order > 0 ? sign : 0);
}

// CompareByName answers "less" both ways for two "Close Folder" names and CompareByParentFolder never
// answers "equal"; handed to a sort as they are, they are not orderings at all. The sort uses these
// orderings instead, which agree with them wherever they give one answer: end records rank before
// every name (after every name when descending) and rank equal among themselves.
static int NameRank(const BookmarkEntry &a, const BookmarkEntry &b)
{
    bool closeA = IsCloseFolderName(a), closeB = IsCloseFolderName(b);
    if (closeA != closeB)
        return closeA ? -1 : 1;
    if (closeA)
        return 0;
    return CompareNoCase(a.name, b.name);
}

static void SortGroup(BookmarkEntry *first, int size, int sign)
{
    if (size < 2)
        return;  // a record alone takes part in no comparison and keeps its name
    for (int i = 0; i < size; i++)
        EmptySeparatorName(first[i]);
    // Stable, so that records whose names compare equal keep their reading order.
    std::stable_sort(first, first + size,
                     [sign](const BookmarkEntry &a, const BookmarkEntry &b) { return sign * NameRank(a, b) < 0; });
}

void SortBookmarkTable()
{
    if (settings.sortOrder != SORT_ORDER_ASCENDING && settings.sortOrder != SORT_ORDER_DESCENDING)
        return;
    TraceEnter("SortBookmarkTable");
    BookmarkEntry *entries = bookmarkTable.entries;
    int count = bookmarkTable.entryCount;
    std::stable_sort(entries, entries + count,
                     [](const BookmarkEntry &a, const BookmarkEntry &b) { return a.parentFolder < b.parentFolder; });
    int sign = SortSign();
    int start = 0;
    int top = 0;
    while (start + top < count && entries[start + top].parentFolder == -1)
        top++;
    SortGroup(entries, top, sign);
    start += top;
    for (int k = 0; k < bookmarkTable.folderCount && start < count; k++) {
        // A count that disagrees with the records would reach past the array; it is held to what is left.
        int size = std::min(std::max(bookmarkTable.folders[k].childCount, 0), count - start);
        SortGroup(entries + start, size, sign);
        start += size;
    }
    TraceExit("SortBookmarkTable");
}
