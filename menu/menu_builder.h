// Turning the bookmark table into the cascading popup menus, and the command ids of their items.
#pragma once
#include <cstdint>

// Item data of the source header items: -1 - source.
const intptr_t SOURCE_HEADER_NETSCAPE = -1;
const intptr_t SOURCE_HEADER_FAVORITES = -2;
const intptr_t SOURCE_HEADER_OPERA = -3;
const intptr_t SOURCE_HEADER_CHROMIUM = -4;
const intptr_t SOURCE_HEADER_FIREFOX = -5;

// Item data bit of the items in the root menu's first column, the column beside which the side bar is
// painted. Item data of a folder, bookmark or separator is this flag plus the low word of its parent
// menu's handle; only the flag is ever tested. Item data is stored sign-extended, so a header's -1 reads
// back as (ULONG_PTR)(intptr_t)-1 on every build.
const intptr_t SIDE_BAR_COLUMN_FLAG = 0x10000;

// Command ids of the items that are not entries: source headers and the grayed "(empty)" item.
const int HEADER_ITEM_ID = 0;
const int EMPTY_ITEM_ID = -1;

// A popup menu answers 0 when nothing was chosen, so an entry's position cannot be its command id (the
// first entry could never be chosen): every folder, bookmark and separator item has the command id
// position + 1. Everything that turns an id into a position or back (popup menu result, GetMenuState by
// command, the owner-draw item id) goes through these two.
inline int CommandIdForEntry(int position)
{
    return position + 1;
}
// The table position of a command id, or -1 for 0 (nothing chosen, a header) and for the "(empty)" item.
// An item id read as UINT converts to the same int. The caller still checks the position against
// entryCount when the id did not come from the current menus.
inline int EntryForCommandId(int commandId)
{
    return commandId > 0 ? commandId - 1 : -1;
}

// Appends one item per table record to its menu (the table read, sorted, its menus created and empty);
// sets every shown record's menuPos and rewrites every FolderRecord.entry from an id to a position.
void BuildBookmarkMenus();
// How many menu items fit into the height of the screen.
int ComputeMaxItemsPerColumn();
