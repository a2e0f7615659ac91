// The Verify Bookmarks window: its list of copies of every bookmark, the start and stop of the workers,
// sorting, opening a listed bookmark, and the wait for the workers before it goes.
#include "verify/verify_dialog.h"

#include "base/app_state.h"
#include "base/launch_url.h"
#include "res/menu_ids.h"
#include "res/resource.h"
#include "res/verify_ids.h"
#include "tools/context_menu.h"
#include "tools/result_list.h"
#include "verify/verify_settings.h"
#include "verify/verify_window.h"

HWND g_verifyList;
CRITICAL_SECTION g_verifyLock;
std::atomic<int32_t> g_verifyRunning{1};
std::atomic<int32_t> g_activeWorkers{0};
int32_t g_verifyHasRun;
std::atomic<int32_t> g_totalCount{0}, g_processedCount{0}, g_verifiedCount{0};
int32_t g_threadCount = DEFAULT_THREAD_COUNT, g_sendTimeout, g_recvTimeout;
// The statuses' pictures come after the two of every icon set.
int32_t g_imageNotVerified = BOOKMARK_IMAGE_COUNT, g_imageVerifying = BOOKMARK_IMAGE_COUNT + 1,
        g_imageFailed = BOOKMARK_IMAGE_COUNT + 2;
int32_t g_sortColumn, g_sortDirection = 1;
int32_t g_columnWidths[VERIFY_COLUMN_COUNT] = {200, 180, 155, 180};
std::vector<BookmarkCopy> g_verifyRows;
std::vector<RowStatus> g_rowStatuses;
TakeCursor g_takeCursor;
HCURSOR g_arrowCursor;
HCURSOR g_busyCursor;

static const UINT_PTR TIMER_FILL = 1;
static const UINT_PTR TIMER_REPAINT = 2;
static const char *const COLUMN_TITLES[VERIFY_COLUMN_COUNT] = {"Name", "Location", "Folder", "Status"};

static HBITMAP sortUpMark;
static HBITMAP sortDownMark;
// Handles of the last run's workers; the dialog goes only once every one of them has ended.
static std::vector<HANDLE> workerThreads;
static bool closing;

void SetBusyCursor(HWND dialog, HCURSOR cursor)
{
    for (HWND window : {dialog, g_verifyList, GetDlgItem(dialog, IDC_VERIFY_BROWSE)})
        SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    SetCursor(cursor);
}

void EnableCloseCommand(HWND dialog, bool enable)
{
    EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

static void SetUpList()
{
    const int extra[] = {IDC_CMD_ABOUT, IDC_CMD_VERIFY, IDI_LINK_FAILED};  // g_imageNotVerified, ...Verifying, ...Failed
    HIMAGELIST images = CreateBookmarkImageList(ILC_COLOR8, extra, 3);
    SendMessageA(g_verifyList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    DWORD styles = LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
    SendMessageA(g_verifyList, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    for (int column = 0; column < VERIFY_COLUMN_COUNT; column++) {
        LVCOLUMNA header = {};
        header.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        header.fmt = LVCFMT_LEFT;
        header.cx = g_columnWidths[column];
        header.pszText = const_cast<char *>(COLUMN_TITLES[column]);
        header.iSubItem = column;
        SendMessageA(g_verifyList, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
    }
}

// The list is filled once the window is up, so that it shows at once even for a large table.
static void CALLBACK FillTimerProc(HWND dialog, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(dialog, timer);
    SendMessageA(g_verifyList, WM_SETREDRAW, FALSE, 0);
    FillVerifyList(dialog);
    SendMessageA(g_verifyList, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(g_verifyList);
}

static BOOL OnInitDialog(HWND dialog)
{
    g_verifyDialog = dialog;
    g_verifyList = GetDlgItem(dialog, IDC_VERIFY_LIST);
    SetDlgItemTextA(dialog, IDC_VERIFY_BUTTON, "&Verify");
    HANDLE icon = LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_TRESK), IMAGE_ICON, 16, 16, 0);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    g_arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    g_busyCursor = LoadCursorA(nullptr, IDC_APPSTARTING);
    g_verifyHasRun = 0;
    g_threadCount = DEFAULT_THREAD_COUNT;
    closing = false;
    InitializeCriticalSection(&g_verifyLock);
    WINDOWPLACEMENT placement = {};
    bool placed = LoadVerifySettings(dialog, &placement);
    SetUpList();
    if (placed)
        SetWindowPlacement(dialog, &placement);
    LayoutVerifyDialog(dialog);
    sortUpMark = LoadHeaderMark(IDB_SORT_UP);
    sortDownMark = LoadHeaderMark(IDB_SORT_DOWN);
    SetHeaderMark(g_verifyList, 0, sortUpMark);
    g_sortColumn = 0;
    g_sortDirection = 1;
    SendDlgItemMessageA(dialog, IDC_PROXY_NAME, EM_LIMITTEXT, PROXY_TEXT_SIZE, 0);
    SetTimer(dialog, TIMER_FILL, 1, FillTimerProc);
    SetFocus(GetDlgItem(dialog, IDC_VERIFY_BUTTON));
    return FALSE;  // the focus is set
}

static void OnColumnClick(int column)
{
    if (g_activeWorkers > 0) {
        MessageBeep(0);  // the workers know their rows by position
        return;
    }
    g_sortDirection = column == g_sortColumn ? -g_sortDirection : 1;
    SetHeaderMark(g_verifyList, g_sortColumn, nullptr);
    SetHeaderMark(g_verifyList, column, g_sortDirection > 0 ? sortUpMark : sortDownMark);
    g_sortColumn = column;
    SortVerifyRows(column, g_sortDirection);
}

static void OnBrowseTo()
{
    int row = SelectedRow(g_verifyList);
    if (row < 0 || row >= static_cast<int>(g_verifyRows.size())) {
        MessageBeep(0);
        return;
    }
    LaunchURL(g_verifyRows[static_cast<size_t>(row)].url.c_str());
}

static BOOL OnNotify(HWND dialog, NMHDR *note)
{
    if (note->idFrom != IDC_VERIFY_LIST)
        return FALSE;
    switch (note->code) {
    case LVN_GETDISPINFOA:
        AnswerVerifyRequest(reinterpret_cast<NMLVDISPINFOA *>(note));
        return TRUE;
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<const NMLISTVIEW *>(note)->iSubItem);
        return TRUE;
    case NM_DBLCLK:
        OnBrowseTo();
        return TRUE;
    case NM_RCLICK:
        ListContextMenu(dialog, g_verifyList, g_verifyRows);
        return TRUE;
    }
    return FALSE;
}

// While workers run, the list and the progress line draw nothing as they change: the dialog's thread would
// paint each change at once while the worker that asked for it waits (a deleted row scrolls every row below
// it), and a run of 5,000 bookmarks took 14% longer under Wine. They are repainted four times a second
// instead, and after the last worker.
static void HoldRedraw(HWND dialog, bool hold)
{
    for (HWND window : {g_verifyList, GetDlgItem(dialog, IDC_VERIFY_PROGRESS)})
        SendMessageA(window, WM_SETREDRAW, !hold, 0);
}

static void CALLBACK RepaintTimerProc(HWND dialog, UINT, UINT_PTR timer, DWORD)
{
    HoldRedraw(dialog, false);
    InvalidateRect(GetDlgItem(dialog, IDC_VERIFY_PROGRESS), nullptr, TRUE);
    UpdateWindow(dialog);
    if (g_activeWorkers > 0)
        HoldRedraw(dialog, true);
    else
        KillTimer(dialog, timer);
}

static void CloseWorkerHandles()
{
    for (HANDLE thread : workerThreads)
        CloseHandle(thread);
    workerThreads.clear();
}

// Every worker is counted before any of them runs, so that one which finds no row at once cannot take
// itself for the last while others have yet to start.
static void StartWorkers(HWND dialog)
{
    CloseWorkerHandles();
    for (int i = 0; i < g_threadCount; i++) {
        HANDLE thread = CreateThread(nullptr, 0, VerifyWorker, nullptr, CREATE_SUSPENDED, nullptr);
        if (thread)
            workerThreads.push_back(thread);
    }
    g_activeWorkers = static_cast<int32_t>(workerThreads.size());
    for (HANDLE thread : workerThreads)
        ResumeThread(thread);
    if (workerThreads.empty())
        RestoreIdleWindow(dialog, "");
}

static void StartVerifying(HWND dialog)
{
    int count = static_cast<int>(g_verifyRows.size());
    SetDlgItemTextA(dialog, IDC_VERIFY_PROGRESS, StartProgressText(count).c_str());
    SendMessageA(g_verifyList, LVM_ENSUREVISIBLE, 0, FALSE);
    if (g_verifyHasRun)
        ResetStatuses();
    char name[PROXY_TEXT_SIZE + 1] = "", port[PROXY_TEXT_SIZE + 1] = "";
    GetDlgItemTextA(dialog, IDC_PROXY_NAME, name, sizeof name);
    GetDlgItemTextA(dialog, IDC_PROXY_PORT, port, sizeof port);
    if (ProxyPortMissing(name, port)) {
        MessageBoxA(dialog, ProxyPortMessage().c_str(), "Verify Bookmarks", MB_ICONEXCLAMATION);
        return;
    }
    if (ProxyName(name).empty())
        SetDlgItemTextA(dialog, IDC_PROXY_PORT, NO_PROXY_TEXT);
    EnableWindow(GetDlgItem(dialog, IDC_PROXY_NAME), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_PROXY_PORT), FALSE);
    SetDlgItemTextA(dialog, IDC_VERIFY_BUTTON, "&Stop");
    g_verifyHasRun = 1;
    UpdateWindow(g_verifyList);
    g_verifyRunning = 1;
    g_verifiedCount = 0;
    g_processedCount = 0;
    g_totalCount = count;
    g_takeCursor = TakeCursor();
    SetBusyCursor(dialog, g_busyCursor);
    HoldRedraw(dialog, true);
    SetTimer(dialog, TIMER_REPAINT, 250, RepaintTimerProc);
    StartWorkers(dialog);
}

// Workers finish the bookmark in hand; the last of them restores the idle window.
static void StopVerifying(HWND dialog)
{
    g_verifyRunning = 0;
    HWND button = GetDlgItem(dialog, IDC_VERIFY_BUTTON);
    EnableWindow(button, FALSE);
    SetWindowTextA(button, StoppingText(g_activeWorkers).c_str());
    if (GetActiveWindow() == dialog && !GetFocus())
        SetFocus(button);
}

// Dispatches messages until every worker thread has ended: the workers' window calls are carried out by
// this thread, and the lock and the rows must outlive them.
static void StopAndWait(HWND dialog)
{
    if (g_activeWorkers > 0) {
        StopVerifying(dialog);
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        EnableCloseCommand(dialog, false);
    }
    for (HANDLE thread : workerThreads)
        while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            PumpMessages();
    CloseWorkerHandles();
}

// The window's close command reaches here as IDCANCEL too (the dialog manager turns WM_CLOSE into it).
static void OnClose(HWND dialog)
{
    if (closing)
        return;  // Escape while the close below waits
    closing = true;
    StopAndWait(dialog);
    EndDialog(dialog, IDCANCEL);
}

static void OnDestroy(HWND dialog)
{
    StopAndWait(dialog);  // also destroyed with its owner, by Exit from the tray menu during a run
    SaveVerifySettings(dialog);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(g_verifyList, LVM_SETIMAGELIST, LVSIL_SMALL, 0));
    ImageList_Destroy(images);
    DeleteObject(sortUpMark);
    DeleteObject(sortDownMark);
    DeleteCriticalSection(&g_verifyLock);
    g_verifyRows.clear();
    g_rowStatuses.clear();
    g_verifyDialog = nullptr;
}

static void OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_VERIFY_BUTTON:
        if (g_activeWorkers == 0)
            StartVerifying(dialog);
        else if (g_verifyRunning)
            StopVerifying(dialog);
        break;
    case IDC_VERIFY_BROWSE:
        OnBrowseTo();
        break;
    case IDCANCEL:
        OnClose(dialog);
        break;
    }
}

INT_PTR CALLBACK VerifyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            LayoutVerifyDialog(dialog);
        return TRUE;
    case WM_GETMINMAXINFO:
        LimitVerifyDialogSize(dialog, reinterpret_cast<MINMAXINFO *>(lParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(dialog, reinterpret_cast<NMHDR *>(lParam));
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case MSG_TAKE_ROW:
        TakeNextItem("Verifying...", g_imageVerifying, reinterpret_cast<TakenRow *>(lParam));
        return TRUE;
    case MSG_ROW_RESULT:
        ShowRowResult(dialog, *reinterpret_cast<const RowResult *>(lParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy(dialog);
        return TRUE;
    }
    return FALSE;
}

int OpenVerifyDialog()
{
    SetForegroundWindow(mainWindow);
    // The list view's class must be there before the template's controls are made.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_VERIFY), mainWindow, VerifyDialogProc, 0);
    return 1;
}
