// The Verify workers: each takes the next "Not Verified" row, checks its bookmark, and sends back the result;
// a passed bookmark's row goes, a failed one keeps its reason. The rows themselves are the dialog's thread's.
#include "verify/verify_window.h"

#include <string>

#include "base/app_state.h"
#include "res/verify_ids.h"
#include "verify/check_bookmark.h"
#include "verify/verify_settings.h"

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

static void FinishWorker(HWND dialog, const char *proxyName)
{
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
        TakenRow row;
        SendMessageA(dialog, MSG_TAKE_ROW, 0, reinterpret_cast<LPARAM>(&row));
        if (row.taken < 0)
            break;
        char status[STATUS_TEXT_CAPACITY];
        RowResult result = {row.taken, false, status};
        result.passed = CheckBookmark(row.url.c_str(), proxyName.c_str(), proxyPort, g_sendTimeout, g_recvTimeout, status);
        SendMessageA(dialog, MSG_ROW_RESULT, 0, reinterpret_cast<LPARAM>(&result));
    }
    FinishWorker(dialog, proxyName.c_str());
    return 0;
}
