// A window's own copy of a listed bookmark: the Search and Verify lists, their context menu and the
// Properties dialog act on it, so a refresh of the table while such a window is open changes nothing there.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct BookmarkCopy {
    std::string name;
    std::string url;
    std::string description;
    std::string folderPath;  // "Outer > Inner", empty at top level
    int32_t source;          // BookmarkSource
    int32_t lastVisit;       // seconds since 1970, 0 = none
    int32_t lastModified;
    int32_t image;           // its picture in a result list (BookmarkImage), set by the list's window
};

// A copy of the record at table position (its folder path made with GetFolderPath).
BookmarkCopy CopyBookmark(int position);

// The result lists' sort order: column 0 the names, 1 the locations, 2 the folder paths, compared with
// A-Z folded; <0, 0, >0 like strcmp. Any other column compares equal.
int CompareBookmarkCopies(const BookmarkCopy &a, const BookmarkCopy &b, int column);

// Reorders rows by CompareBookmarkCopies on column, ascending for sign +1, descending for -1; equal rows
// keep their order. Returns where each row went: result[old index] = new index.
std::vector<int> SortBookmarkCopies(std::vector<BookmarkCopy> &rows, int column, int sign);

// The list image of a bookmark shown with icon set `iconSet` (0-4): 2 * iconSet, plus 1 when the URL
// begins with "mailto:" in any case.
int BookmarkImage(const std::string &url, int iconSet);
