// Copies of listed bookmarks, their sort order and their list image.
#include "tools/bookmark_copy.h"

#include <algorithm>
#include <numeric>

#include "base/ascii_case.h"
#include "bookmarks/bookmark_table.h"

BookmarkCopy CopyBookmark(int position)
{
    if (position < 0 || position >= bookmarkTable.entryCount)
        return BookmarkCopy{"", "", "", "", SOURCE_NETSCAPE, 0, 0, 0};
    GetFolderPath(position);
    const BookmarkEntry &entry = bookmarkTable.entries[position];
    BookmarkCopy copy;
    copy.name = entry.name;
    copy.url = entry.url;
    copy.description = entry.description ? entry.description : "";
    copy.folderPath = entry.folderPath ? entry.folderPath : "";
    copy.source = entry.source;
    copy.lastVisit = entry.lastVisit;
    copy.lastModified = entry.lastModified;
    copy.image = 0;
    return copy;
}

int CompareBookmarkCopies(const BookmarkCopy &a, const BookmarkCopy &b, int column)
{
    switch (column) {
    case 0: return CompareNoCase(a.name.c_str(), b.name.c_str());
    case 1: return CompareNoCase(a.url.c_str(), b.url.c_str());
    case 2: return CompareNoCase(a.folderPath.c_str(), b.folderPath.c_str());
    default: return 0;
    }
}

std::vector<int> SortBookmarkCopies(std::vector<BookmarkCopy> &rows, int column, int sign)
{
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return sign * CompareBookmarkCopies(rows[static_cast<size_t>(a)], rows[static_cast<size_t>(b)], column) < 0;
    });
    std::vector<BookmarkCopy> sorted;
    sorted.reserve(rows.size());
    std::vector<int> moved(rows.size());
    for (size_t i = 0; i < order.size(); i++) {
        sorted.push_back(std::move(rows[static_cast<size_t>(order[i])]));
        moved[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    rows.swap(sorted);
    return moved;
}

int BookmarkImage(const std::string &url, int iconSet)
{
    return 2 * iconSet + (StartsWithNoCase(url.c_str(), "mailto:") ? 1 : 0);
}
