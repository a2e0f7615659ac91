// The Verify window's rows as the workers see them: their statuses, the progress texts, where the next row
// to check is, and the order by status.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The Status text of a row that waits to be taken.
extern const char NOT_VERIFIED[];  // "Not Verified"

// What a row's Status column shows: the text and its picture.
struct RowStatus {
    std::string text;
    int32_t image;
};

// "0 of %d bookmarks processed": the progress line before a run.
std::string StartProgressText(int count);
// "%d of %d bookmarks processed  [%d verified, %d failed]"; ignored bookmarks count as failed.
std::string ProgressText(int processed, int total, int verified);
// Button 234 while workers finish their bookmark in hand: "Stopping (%d)".
std::string StoppingText(int workers);

// The rows are the work list. Every row above the cursor has been taken already, and rows only change from
// "Not Verified" to taken during a run, so the next one is found from the cursor on, in the order a scan from
// the top would find it, without reading the taken rows again on every take. Rows move only when one above
// them is deleted, so the cursor also knows where each row in hand is now, by the number of its take. A reset
// of the statuses or a sort starts it afresh.
struct TakeCursor {
    int next = 0;
    std::map<int, int> inHand;  // take number -> the row's position
};
// The first row from the cursor on whose Status reads "Not Verified", or -1 when a row cannot be read first
// (readStatus answers false past the last one). The cursor moves past the rows read.
int FindNextNotVerified(TakeCursor &cursor, const std::function<bool(int row, std::string *status)> &readStatus);
// The row at this position was taken by take number `taken`; TakeRowBack gives its position when its
// result is in, -1 when that take is not in hand.
void NoteRowTaken(TakeCursor &cursor, int taken, int row);
int TakeRowBack(TakeCursor &cursor, int taken);
// The row at this position was deleted: the rows below it moved up by one.
void NoteRowDeleted(TakeCursor &cursor, int row);

// Where each row goes when the rows are ordered by their Status text with A-Z folded, ascending for sign +1
// and descending for -1, equal ones keeping their order: result[old position] = new position.
std::vector<int> StatusOrder(const std::vector<RowStatus> &statuses, int sign);
// Puts items where `moved` says (moved[old position] = new position).
template <typename T>
void PutInOrder(std::vector<T> &items, const std::vector<int> &moved)
{
    std::vector<T> ordered(items.size());
    for (size_t i = 0; i < items.size(); i++)
        ordered[static_cast<size_t>(moved[i])] = std::move(items[i]);
    items.swap(ordered);
}
