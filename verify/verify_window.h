// The Verify window's state, shared by the dialog and its worker threads (the window exists at most once;
// g_verifyDialog itself lives in base/app_state.h, where the shell looks it up).
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "tools/bookmark_copy.h"
#include "verify/verify_progress.h"

const int VERIFY_COLUMN_COUNT = 4;
const int STATUS_COLUMN = 3;

extern HWND g_verifyList;
// Guards the list, the take cursor and the counters while workers run; lives as long as the dialog.
extern CRITICAL_SECTION g_verifyLock;
extern std::atomic<int32_t> g_verifyRunning;   // workers may take further bookmarks
extern std::atomic<int32_t> g_activeWorkers;   // workers started and not yet finished
extern int32_t g_verifyHasRun;                 // a run was started since the dialog opened
extern std::atomic<int32_t> g_totalCount, g_processedCount, g_verifiedCount;
extern int32_t g_threadCount, g_sendTimeout, g_recvTimeout;
extern int32_t g_imageNotVerified, g_imageVerifying, g_imageFailed;
extern int32_t g_sortColumn, g_sortDirection;
extern int32_t g_columnWidths[VERIFY_COLUMN_COUNT];
// The window's own copy of each listed bookmark, made when the list is filled; a row's item data is its
// index here. A refresh of the table while the window is open therefore changes nothing in it.
extern std::vector<BookmarkCopy> g_verifyRows;
extern TakeCursor g_takeCursor;

// The class cursor of the dialog, the list and "&Browse To", made current: IDC_APPSTARTING while busy,
// IDC_ARROW otherwise.
void SetBusyCursor(HWND dialog, HCURSOR cursor);
extern HCURSOR g_arrowCursor;
extern HCURSOR g_busyCursor;
// Enables or greys the Close command of the dialog's system menu.
void EnableCloseCommand(HWND dialog, bool enable);
// A row's Status column: the text and its image.
void SetItemStatus(int item, const char *text, int image);

// The worker thread: takes "Not Verified" rows one by one and writes back each result.
DWORD WINAPI VerifyWorker(LPVOID);
// What the last worker to end does: button "&Verify", the edits and Close enabled again, the arrow cursor;
// "(none)" in the proxy edits when it ran without a proxy.
void RestoreIdleWindow(HWND dialog, const char *proxyName);
// Marks the next "Not Verified" row with the status and image; its row index, or -1 when none is left.
int TakeNextItem(const char *status, int image);

// The "Verify" key: read at the start (false when no placement was read), written at the end.
bool LoadVerifySettings(HWND dialog, WINDOWPLACEMENT *placement);
void SaveVerifySettings(HWND dialog);
// Lays the controls out for the client size; the smallest size the window may be given.
void LayoutVerifyDialog(HWND dialog);
void LimitVerifyDialogSize(HWND dialog, MINMAXINFO *limits);
