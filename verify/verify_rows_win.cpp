// The Verify window's rows on the dialog's thread: filled with copies of the table's bookmarks, taken by the
// workers and given their results, set back to "Not Verified", sorted, and shown to the virtual list.
#include "verify/verify_window.h"

#include <algorithm>
#include <cstring>

#include "bookmarks/bookmark_table.h"
#include "res/verify_ids.h"
#include "tools/result_list.h"

// The order of the rows is the list's: redrawing row `row` is redrawing item `row`.
static void RedrawRow(int row)
{
    SendMessageA(g_verifyList, LVM_REDRAWITEMS, row, row);
}

static void SetProgressText(HWND dialog, const std::string &text)
{
    SetDlgItemTextA(dialog, IDC_VERIFY_PROGRESS, text.c_str());
}

void FillVerifyList(HWND dialog)
{
    SetBusyCursor(dialog, g_busyCursor);
    g_verifyRows.clear();
    for (int position = 0; position < bookmarkTable.entryCount; position++) {
        const BookmarkEntry &entry = bookmarkTable.entries[position];
        if (!IsBookmark(entry) || (entry.name[0] == '\0' && entry.url[0] == '\0'))
            continue;
        g_verifyRows.push_back(CopyBookmark(position));
        g_verifyRows.back().image = BookmarkImage(g_verifyRows.back().url, g_verifyRows.back().source);
    }
    SortBookmarkCopies(g_verifyRows, 0, 1);
    g_rowStatuses.assign(g_verifyRows.size(), RowStatus{NOT_VERIFIED, g_imageNotVerified});
    ShowBookmarkRows(g_verifyList, g_verifyRows.size());
    SetProgressText(dialog, StartProgressText(static_cast<int>(g_verifyRows.size())));
    ShowWindow(GetDlgItem(dialog, IDC_VERIFY_PROGRESS), SW_SHOW);
    SetBusyCursor(dialog, g_arrowCursor);
}

void TakeNextItem(const char *status, int image, TakenRow *taken)
{
    static int32_t takes;
    int row = FindNextNotVerified(g_takeCursor, [](int at, std::string *text) {
        if (at >= static_cast<int>(g_rowStatuses.size()))
            return false;
        *text = g_rowStatuses[static_cast<size_t>(at)].text;
        return true;
    });
    taken->taken = -1;
    if (row < 0)
        return;
    g_rowStatuses[static_cast<size_t>(row)] = RowStatus{status, image};
    RedrawRow(row);
    taken->taken = ++takes;
    taken->url = g_verifyRows[static_cast<size_t>(row)].url;
    NoteRowTaken(g_takeCursor, taken->taken, row);
}

void ShowRowResult(HWND dialog, const RowResult &result)
{
    int row = TakeRowBack(g_takeCursor, result.taken);
    if (result.passed) {
        if (row >= 0) {
            g_verifyRows.erase(g_verifyRows.begin() + row);
            g_rowStatuses.erase(g_rowStatuses.begin() + row);
            SendMessageA(g_verifyList, LVM_DELETEITEM, row, 0);
            NoteRowDeleted(g_takeCursor, row);
        }
        g_verifiedCount++;
    } else if (row >= 0) {
        g_rowStatuses[static_cast<size_t>(row)] = RowStatus{result.status, g_imageFailed};
        RedrawRow(row);
    }
    g_processedCount++;
    SetProgressText(dialog, ProgressText(g_processedCount, g_totalCount, g_verifiedCount));
}

void ResetStatuses()
{
    for (RowStatus &status : g_rowStatuses)
        status = RowStatus{NOT_VERIFIED, g_imageNotVerified};
    InvalidateRect(g_verifyList, nullptr, TRUE);
}

void SortVerifyRows(int column, int sign)
{
    if (column != STATUS_COLUMN) {
        PutInOrder(g_rowStatuses, SortBookmarkRows(g_verifyList, g_verifyRows, column, sign));
        return;
    }
    int selected = SelectedRow(g_verifyList);
    std::vector<int> moved = StatusOrder(g_rowStatuses, sign);
    PutInOrder(g_verifyRows, moved);
    PutInOrder(g_rowStatuses, moved);
    FollowSelectedRow(g_verifyList, selected, moved);
}

void AnswerVerifyRequest(NMLVDISPINFOA *request)
{
    LVITEMA &item = request->item;
    if (AnswerRowRequest(request, g_verifyRows) || item.iItem < 0 ||
        item.iItem >= static_cast<int>(g_rowStatuses.size()) || item.iSubItem != STATUS_COLUMN) {
        if ((item.mask & LVIF_IMAGE) && item.iSubItem > 0 && item.iSubItem < STATUS_COLUMN)
            item.iImage = -1;  // the location and the folder show no picture
        return;
    }
    const RowStatus &status = g_rowStatuses[static_cast<size_t>(item.iItem)];
    if (item.mask & LVIF_IMAGE)
        item.iImage = status.image;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        size_t length = std::min(status.text.size(), static_cast<size_t>(item.cchTextMax) - 1);
        std::memcpy(item.pszText, status.text.data(), length);
        item.pszText[length] = '\0';
    }
}
