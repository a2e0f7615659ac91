// What the Search and Verify windows' result lists share: the bookmark pictures, the rows with their own
// copies, the sort and its mark in the header, and the placement and column widths kept in the registry.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "tools/bookmark_copy.h"

// 16 x 16 pictures: 0 and 1 the bookmark and the mail link (icons 120, 121); 2 and 3, 4 and 5 those of
// icon sets 1 and 2, or icons 120 and 121 again where a set shows set 0's picture; then the icon resources
// of `extra` in order. `flags` as ImageList_Create takes them (colour depth, mask).
HIMAGELIST CreateBookmarkImageList(UINT flags, const int *extra, int extraCount);

// Appends a list item for rows[index]: its name cut to 1024 characters, the image, the index as item
// data; the list's own ascending sort places it. Returns the item's position.
int InsertBookmarkRow(HWND list, const std::vector<BookmarkCopy> &rows, int index, int image);
// The row index (item data) of the list item, or -1 when there is no such item.
int RowOfItem(HWND list, int item);
// The row of the first selected item, or -1 when none is selected.
int SelectedRow(HWND list);
// Sorts the list by CompareBookmarkCopies on column, ascending for sign +1, descending for -1.
void SortBookmarkRows(HWND list, const std::vector<BookmarkCopy> &rows, int column, int sign);

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
