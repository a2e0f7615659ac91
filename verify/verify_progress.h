// The Verify window's progress texts, and where its workers take their next bookmark.
#pragma once
#include <functional>
#include <map>
#include <string>

// The Status text of a row that waits to be taken.
extern const char NOT_VERIFIED[];  // "Not Verified"

// "0 of %d bookmarks processed": the progress line before a run.
std::string StartProgressText(int count);
// "%d of %d bookmarks processed  [%d verified, %d failed]"; ignored bookmarks count as failed.
std::string ProgressText(int processed, int total, int verified);
// Button 234 while workers finish their bookmark in hand: "Stopping (%d)".
std::string StoppingText(int workers);

// The list itself is the work list. Every item above the cursor has been taken already, and items only
// change from "Not Verified" to taken during a run, so the next one is found from the cursor on, in the
// order a scan from the top would find it, without reading the taken items again on every take. Items
// move only when one above them is deleted, so the cursor also knows where each row in hand is, and no
// search of the list is needed to show its result. A reset of the statuses or a sort starts it afresh.
struct TakeCursor {
    int next = 0;
    std::map<int, int> inHand;  // row index (item data) -> its item's position
};
// The first item from the cursor on whose Status reads "Not Verified", or -1 when an item cannot be read
// first (readStatus answers false past the last one). The cursor moves past the items read.
int FindNextNotVerified(TakeCursor &cursor, const std::function<bool(int item, std::string *status)> &readStatus);
// The row at this item has been taken; TakeRowItem gives the item back when its result is in, -1 when the
// row is not in hand.
void NoteRowTaken(TakeCursor &cursor, int row, int item);
int TakeRowItem(TakeCursor &cursor, int row);
// The item at this position was deleted: the items below it moved up by one.
void NoteItemDeleted(TakeCursor &cursor, int item);
