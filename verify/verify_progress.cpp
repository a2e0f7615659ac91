// The Verify window's progress texts and the take cursor of its workers.
#include "verify/verify_progress.h"

#include <cstdio>

const char NOT_VERIFIED[] = "Not Verified";

std::string StartProgressText(int count)
{
    char text[64];
    std::snprintf(text, sizeof text, "0 of %d bookmarks processed", count);
    return text;
}

std::string ProgressText(int processed, int total, int verified)
{
    char text[128];
    std::snprintf(text, sizeof text, "%d of %d bookmarks processed  [%d verified, %d failed]", processed, total,
                  verified, processed - verified);
    return text;
}

std::string StoppingText(int workers)
{
    return "Stopping (" + std::to_string(workers) + ")";
}

int FindNextNotVerified(TakeCursor &cursor, const std::function<bool(int item, std::string *status)> &readStatus)
{
    std::string status;
    for (; readStatus(cursor.next, &status); cursor.next++) {
        if (status == NOT_VERIFIED)
            return cursor.next++;
    }
    return -1;
}

void NoteRowTaken(TakeCursor &cursor, int row, int item)
{
    cursor.inHand[row] = item;
}

int TakeRowItem(TakeCursor &cursor, int row)
{
    auto found = cursor.inHand.find(row);
    if (found == cursor.inHand.end())
        return -1;
    int item = found->second;
    cursor.inHand.erase(found);
    return item;
}

void NoteItemDeleted(TakeCursor &cursor, int item)
{
    if (item < cursor.next)
        cursor.next--;
    for (auto &row : cursor.inHand)
        if (row.second > item)
            row.second--;
}
