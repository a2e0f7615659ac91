// Reading every bookmark source that the settings turn on into the table, in the program's order.
#pragma once

// Reads the bookmark file into the (empty) table; when it gave records, the Favorites, the hotlist and the
// Chromium and Firefox bookmarks follow (as the settings turn them on) and the table is sorted by "Sort
// Order". False when the bookmark file gave nothing, in which case nothing else is read.
bool ReadBookmarkSources();
