// Copies of listed bookmarks, their sort order and their list image.
#include "tools/bookmark_copy.h"

#include "base/ascii_case.h"
#include "bookmarks/bookmark_table.h"

BookmarkCopy CopyBookmark(int position)
{
    if (position < 0 || position >= bookmarkTable.entryCount)
        return BookmarkCopy{"", "", "", "", SOURCE_NETSCAPE, 0, 0};
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

int BookmarkImage(const std::string &url, int iconSet)
{
    return 2 * iconSet + (StartsWithNoCase(url.c_str(), "mailto:") ? 1 : 0);
}
