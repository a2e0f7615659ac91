// The Verify window's state, shared by the dialog and its worker threads (the window exists at most once;
// g_verifyDialog itself lives in base/app_state.h, where the shell looks it up).
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/bookmark_copy.h"
#include "verify/verify_progress.h"

const int VERIFY_COLUMN_COUNT = 4;
const int STATUS_COLUMN = 3;

extern HWND g_verifyList;
// Serialises the workers' ends, so that exactly one last worker restores the idle window; lives as long as
// the dialog.
extern CRITICAL_SECTION g_verifyLock;
extern std::atomic<int32_t> g_verifyRunning;   // workers may take further bookmarks
extern std::atomic<int32_t> g_activeWorkers;   // workers started and not yet finished
extern int32_t g_verifyHasRun;                 // a run was started since the dialog opened
extern std::atomic<int32_t> g_totalCount, g_processedCount, g_verifiedCount;
extern int32_t g_threadCount, g_sendTimeout, g_recvTimeout;
extern int32_t g_imageNotVerified, g_imageVerifying, g_imageFailed;
extern int32_t g_sortColumn, g_sortDirection;
extern int32_t g_columnWidths[VERIFY_COLUMN_COUNT];
// The rows of the list (a virtual list: item i shows row i), only ever read and changed by the dialog's
// thread: the window's own copy of each listed bookmark, made when the list is filled, so a refresh of the
// table while the window is open changes nothing in it, and each row's status beside it.
extern std::vector<BookmarkCopy> g_verifyRows;
extern std::vector<RowStatus> g_rowStatuses;
extern TakeCursor g_takeCursor;

// What the workers ask of the dialog's thread, which alone touches the rows.
const UINT MSG_TAKE_ROW = WM_APP + 1;    // lParam: TakenRow *, filled in
const UINT MSG_ROW_RESULT = WM_APP + 2;  // lParam: const RowResult *
struct TakenRow {
    int32_t taken;    // the take's number, -1 when no row was left
    std::string url;  // a copy: the rows may move while it is checked
};
struct RowResult {
    int32_t taken;
    bool passed;
    const char *status;  // the failure or "... Ignored" text
};

// The class cursor of the dialog, the list and "&Browse To", made current: IDC_APPSTARTING while busy,
// IDC_ARROW otherwise.
void SetBusyCursor(HWND dialog, HCURSOR cursor);
extern HCURSOR g_arrowCursor;
extern HCURSOR g_busyCursor;
// Enables or greys the Close command of the dialog's system menu.
void EnableCloseCommand(HWND dialog, bool enable);

// The dialog's side of the rows: filled from the table, taken, given results, set back to "Not Verified",
// sorted, and shown through the list's LVN_GETDISPINFOA.
void FillVerifyList(HWND dialog);
void TakeNextItem(const char *status, int image, TakenRow *taken);
void ShowRowResult(HWND dialog, const RowResult &result);
void ResetStatuses();
void SortVerifyRows(int column, int sign);
void AnswerVerifyRequest(NMLVDISPINFOA *request);

// The worker thread: takes "Not Verified" rows one by one and sends back each result.
DWORD WINAPI VerifyWorker(LPVOID);
// What the last worker to end does: button "&Verify", the edits and Close enabled again, the arrow cursor;
// "(none)" in the proxy edits when it ran without a proxy.
void RestoreIdleWindow(HWND dialog, const char *proxyName);

// The "Verify" key: read at the start (false when no placement was read), written at the end.
bool LoadVerifySettings(HWND dialog, WINDOWPLACEMENT *placement);
void SaveVerifySettings(HWND dialog);
// Lays the controls out for the client size; the smallest size the window may be given.
void LayoutVerifyDialog(HWND dialog);
void LimitVerifyDialogSize(HWND dialog, MINMAXINFO *limits);
