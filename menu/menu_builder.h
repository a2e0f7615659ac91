// Turning the bookmark table into the cascading popup menus.
#pragma once
#include <cstdint>

// Item data of the menu items that are not bookmarks: the source headers.
const intptr_t HEADER_NETSCAPE = -1;
const intptr_t HEADER_FAVORITES = -2;
const intptr_t HEADER_OPERA = -3;

// A menu that closes without a choice returns 0, so the first entry must stay reachable: every bookmark
// item's command id is its table position + 1.
inline int CommandIdForEntry(int position) { return position + 1; }
inline int EntryForCommandId(int id) { return id - 1; }

void BuildBookmarkMenus();
// How many menu items fit into the height of the screen.
int ComputeMaxItemsPerColumn();
