// The Verify workers: each takes the next "Not Verified" row of the list, checks its bookmark outside the
// lock and writes the result back; a passed bookmark's row goes, a failed one keeps its reason.
#include "verify/verify_window.h"

#include <commctrl.h>

#include <string>

#include "base/app_state.h"
#include "res/verify_ids.h"
#include "verify/check_bookmark.h"
#include "verify/verify_settings.h"

static const int STATUS_READ_LIMIT = 50;

// An item's Status text and its row (item data), in one request.
static bool ReadItem(int item, std::string *status, int *row)
{
    char text[STATUS_READ_LIMIT + 1] = "";
    LVITEMA request = {};
    request.mask = LVIF_TEXT | LVIF_PARAM;
    request.iItem = item;
    request.iSubItem = STATUS_COLUMN;
    request.pszText = text;
    request.cchTextMax = sizeof text;
    if (!SendMessageA(g_verifyList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&request)))
        return false;
    *status = text;
    *row = static_cast<int>(request.lParam);
    return true;
}

int TakeNextItem(const char *status, int image)
{
    EnterCriticalSection(&g_verifyLock);
    int row = -1;
    int item = FindNextNotVerified(g_takeCursor, [&row](int at, std::string *text) { return ReadItem(at, text, &row); });
    if (item >= 0) {
        SetItemStatus(item, status, image);
        NoteRowTaken(g_takeCursor, row, item);
    }
    LeaveCriticalSection(&g_verifyLock);
    return item >= 0 ? row : -1;
}

// Under the lock: the row's result in the list, the counters and the progress line.
static void ShowResult(int row, bool passed, const char *status)
{
    int item = TakeRowItem(g_takeCursor, row);
    if (passed) {
        if (item >= 0 && g_verifyDialog) {
            SendMessageA(g_verifyList, LVM_DELETEITEM, item, 0);
            NoteItemDeleted(g_takeCursor, item);
        }
        g_verifiedCount++;
    } else if (item >= 0 && g_verifyDialog) {
        SetItemStatus(item, status, g_imageFailed);
    }
    int processed = ++g_processedCount;
    if (g_verifyDialog)
        SetDlgItemTextA(g_verifyDialog, IDC_VERIFY_PROGRESS,
                        ProgressText(processed, g_totalCount, g_verifiedCount).c_str());
}

void RestoreIdleWindow(HWND dialog, const char *proxyName)
{
    SetBusyCursor(dialog, g_arrowCursor);
    EnableWindow(GetDlgItem(dialog, IDCANCEL), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_PROXY_NAME), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_PROXY_PORT), TRUE);
    if (!*proxyName) {
        SetDlgItemTextA(dialog, IDC_PROXY_NAME, NO_PROXY_TEXT);
        SetDlgItemTextA(dialog, IDC_PROXY_PORT, NO_PROXY_TEXT);
    }
    EnableCloseCommand(dialog, true);
    // "&Verify" comes back last: whoever sees it finds the rest of the idle window in place.
    HWND button = GetDlgItem(dialog, IDC_VERIFY_BUTTON);
    SetWindowTextA(button, "&Verify");
    EnableWindow(button, TRUE);
    // The button had the focus until it was disabled; this thread's input is the dialog's (attached).
    if (GetActiveWindow() == dialog && !GetFocus())
        SetFocus(button);
}

static void FinishWorker(const char *proxyName)
{
    HWND dialog = g_verifyDialog;
    // Under the lock, so that no worker's "Stopping (%d)" can land after the last one's "&Verify".
    EnterCriticalSection(&g_verifyLock);
    int left = --g_activeWorkers;
    g_verifyRunning = 0;
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
    HWND button = GetDlgItem(dialog, IDC_VERIFY_BUTTON);
    EnableWindow(button, FALSE);
    EnableCloseCommand(dialog, false);
    SetWindowTextA(button, StoppingText(left).c_str());
    if (left == 0)
        RestoreIdleWindow(dialog, proxyName);
    LeaveCriticalSection(&g_verifyLock);
}

DWORD WINAPI VerifyWorker(LPVOID)
{
    HWND dialog = g_verifyDialog;
    // The window calls below are carried out by the dialog's thread; attached, this thread also sees the
    // dialog's active window and focus, which the last worker looks at.
    AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(dialog, nullptr), TRUE);
    char nameText[PROXY_TEXT_SIZE + 1] = "", portText[PROXY_TEXT_SIZE + 1] = "";
    GetDlgItemTextA(dialog, IDC_PROXY_NAME, nameText, sizeof nameText);
    GetDlgItemTextA(dialog, IDC_PROXY_PORT, portText, sizeof portText);
    std::string proxyName = ProxyName(nameText);
    int proxyPort = ProxyPort(portText);
    if (proxyName.empty()) {
        SetDlgItemTextA(dialog, IDC_PROXY_NAME, NO_PROXY_TEXT);
        SetDlgItemTextA(dialog, IDC_PROXY_PORT, NO_PROXY_TEXT);
    }
    while (g_verifyRunning) {
        int row = TakeNextItem("Verifying...", g_imageVerifying);
        if (row < 0)
            break;
        char status[STATUS_TEXT_CAPACITY];
        bool passed = CheckBookmark(g_verifyRows[static_cast<size_t>(row)].url.c_str(), proxyName.c_str(), proxyPort,
                                    g_sendTimeout, g_recvTimeout, status);
        EnterCriticalSection(&g_verifyLock);
        ShowResult(row, passed, status);
        LeaveCriticalSection(&g_verifyLock);
    }
    FinishWorker(proxyName.c_str());
    return 0;
}
