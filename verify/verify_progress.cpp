// The Verify window's progress texts, the take cursor of its workers and the order by status.
#include "verify/verify_progress.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "base/ascii_case.h"

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

int FindNextNotVerified(TakeCursor &cursor, const std::function<bool(int row, std::string *status)> &readStatus)
{
    std::string status;
    for (; readStatus(cursor.next, &status); cursor.next++) {
        if (status == NOT_VERIFIED)
            return cursor.next++;
    }
    return -1;
}

void NoteRowTaken(TakeCursor &cursor, int taken, int row)
{
    cursor.inHand[taken] = row;
}

int TakeRowBack(TakeCursor &cursor, int taken)
{
    auto found = cursor.inHand.find(taken);
    if (found == cursor.inHand.end())
        return -1;
    int row = found->second;
    cursor.inHand.erase(found);
    return row;
}

void NoteRowDeleted(TakeCursor &cursor, int row)
{
    if (row < cursor.next)
        cursor.next--;
    for (auto &held : cursor.inHand)
        if (held.second > row)
            held.second--;
}

std::vector<int> StatusOrder(const std::vector<RowStatus> &statuses, int sign)
{
    std::vector<int> order(statuses.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::string &first = statuses[static_cast<size_t>(a)].text, &second = statuses[static_cast<size_t>(b)].text;
        return sign * CompareNoCase(first.c_str(), second.c_str()) < 0;
    });
    std::vector<int> moved(order.size());
    for (size_t i = 0; i < order.size(); i++)
        moved[static_cast<size_t>(order[i])] = static_cast<int>(i);
    return moved;
}
