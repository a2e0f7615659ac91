// What the Search and Verify windows' result lists share: the bookmark pictures, the rows with their own
// copies, the sort and its mark in the header, and the placement and column widths kept in the registry.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "bookmarks/bookmark_table.h"
#include "tools/bookmark_copy.h"

// 16 x 16 pictures, two per icon set: 0 and 1 the bookmark and the mail link (icons 120, 121); then 2 * set
// and 2 * set + 1 those of icon sets 1 to 4, or icons 120 and 121 again where a set shows set 0's picture;
// then, from BOOKMARK_IMAGE_COUNT on, the icon resources of `extra` in order. `flags` as ImageList_Create
// takes them (colour depth, mask).
const int BOOKMARK_IMAGE_COUNT = 2 * SOURCE_COUNT;
HIMAGELIST CreateBookmarkImageList(UINT flags, const int *extra, int extraCount);

// A result list is a virtual list (LVS_OWNERDATA): item i shows rows[i], the window's own copies in the
// order shown, and the list asks the window for what it draws (AnswerRowRequest). It keeps nothing per
// item, so showing, sorting and emptying 100,000 results each take a fraction of a second.

// Shows the first `count` rows, none selected.
void ShowBookmarkRows(HWND list, size_t count);
// Answers the list's LVN_GETDISPINFOA for columns 0-2: the name (at most 1024 characters) and the image,
// the location (the same), the folder path. False for any other column, which is the window's own.
bool AnswerRowRequest(NMLVDISPINFOA *request, const std::vector<BookmarkCopy> &rows);
// The row shown by a list item: the item itself in a virtual list, the item data in any other; -1 when
// there is no such item.
int RowOfItem(HWND list, int item);
// The row of the first selected item, or -1 when none is selected.
int SelectedRow(HWND list);
// Sorts the rows by CompareBookmarkCopies on column, ascending for sign +1, descending for -1; the selected
// row stays selected and is scrolled into view. Returns where each row went (result[old index] = new
// index), for a window that keeps more about its rows than their copies.
std::vector<int> SortBookmarkRows(HWND list, std::vector<BookmarkCopy> &rows, int column, int sign);
// The rows were put in another order (moved[old index] = new index): the list is repainted, and the row that
// was selected at `selected` is selected again where it went and scrolled into view.
void FollowSelectedRow(HWND list, int selected, const std::vector<int> &moved);

// Bitmap 123 (ascending) or 124 (descending) with the system's 3-D colours mapped in.
HBITMAP LoadHeaderMark(int resource);
// Shows the mark at the right of the column's header text; a null mark takes it away.
void SetHeaderMark(HWND list, int column, HBITMAP mark);

// The window's subkey of the program's key ("Search", "Verify") opened for reading, or null.
HKEY OpenToolKeyForReading(const char *subkey);
// The same, created when missing, for writing; fatal (11) when it cannot be had.
HKEY CreateToolKey(const char *subkey);
// "Window Placement" (44 bytes); false when it is missing. A minimised show state comes back as normal.
bool ReadWindowPlacement(HKEY key, WINDOWPLACEMENT *placement);
void SaveWindowPlacement(HKEY key, HWND window);
// "Column %d Width" of each column, read over the widths given.
void ReadColumnWidths(HKEY key, int *widths, int count);
// Stores the list's current column widths (deleting the value of a width below 1) and returns them.
void SaveColumnWidths(HKEY key, HWND list, int *widths, int count);
