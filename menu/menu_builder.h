// Turning the bookmark table into the cascading popup menus.
#pragma once
#include <cstdint>

// Item data of the menu items that are not bookmarks: the source headers.
const intptr_t HEADER_NETSCAPE = -1;
const intptr_t HEADER_FAVORITES = -2;
const intptr_t HEADER_OPERA = -3;
// Bit 16 of the other items' data: the item stands in the root menu's first column, beside the side bar.
const uintptr_t SIDE_BAR_COLUMN_FLAG = 0x10000;
// A menu that closes without a choice returns 0, so the first entry must stay reachable: every bookmark
// item's command id is its table position + 1. Everything that turns ids into positions goes through here.
const int ENTRY_COMMAND_BASE = 1;
inline int CommandIdForEntry(int position) { return position + ENTRY_COMMAND_BASE; }
inline int EntryForCommandId(int id) { return id - ENTRY_COMMAND_BASE; }

void BuildBookmarkMenus();
// How many menu items fit into the height of the screen.
int ComputeMaxItemsPerColumn();
