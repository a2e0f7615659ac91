// Sorting the table by the "Sort Order" setting: the records of every folder put in name order.
#pragma once

struct BookmarkEntry;

// Sorts within each folder (and the top level) by name when "Sort Order" is 1 or 2; folders stay whole.
void SortBookmarkTable();
// -1 when a's parentFolder is less than or equal to b's, +1 otherwise (never 0).
int CompareByParentFolder(const BookmarkEntry *a, const BookmarkEntry *b);
// The name order of one folder, descending when "Sort Order" is 2. Empties the name of either record
// when it is exactly "Separator"; a record named "Close Folder" comes before the other (after it when
// descending); the rest by name with A-Z folded to lower case.
int CompareByName(BookmarkEntry *a, BookmarkEntry *b);
