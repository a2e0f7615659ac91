// The Search Bookmarks dialog: searches as the user types, remembers the last searches, and lists the
// results as copies of their own, so a refresh of the table while it is open changes nothing in it.
#include "tools/search_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "base/ascii_case.h"
#include "base/launch_url.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "menu/owner_draw.h"
#include "res/menu_ids.h"
#include "res/resource.h"
#include "res/search_ids.h"
#include "tools/context_menu.h"
#include "tools/dialog_layout.h"
#include "tools/result_list.h"
#include "tools/search_rules.h"

static const UINT_PTR SEARCH_TIMER = 1;
static const UINT TYPING_PAUSE_MS = 1000;  // a search runs this long after the last key
static const UINT AT_ONCE_MS = 10;         // at opening and after a pick from the history
static const char SEARCH_KEY[] = "Search";
static const int COLUMN_COUNT = 3;
static const char *const COLUMN_TITLES[COLUMN_COUNT] = {"Name", "Location", "Folder"};
static const int DEFAULT_WIDTHS[COLUMN_COUNT] = {235, 270, 195};

// The dialog's state while it is open.
static std::vector<BookmarkCopy> searchRows;  // what each result shows and opens, in the order shown
static std::vector<std::string> searchHistory;
static std::optional<std::string> lastSearchText;
static int sortColumn;
static int sortSign;
static bool firstSearch;  // the first search of this opening is still to be sorted
static HCURSOR waitCursor;
static HIMAGELIST resultImages;
static HICON dialogIcon;
static HBITMAP ascendingMark;
static HBITMAP descendingMark;
static SIZE buttonSize;  // Browse To as first laid out

static HWND ResultList(HWND dialog) { return GetDlgItem(dialog, IDC_SEARCH_RESULTS); }

static HBITMAP SortMark(int sign) { return sign < 0 ? descendingMark : ascendingMark; }

static std::string ControlText(HWND control)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

// The label is drawn at once: no message is handled until the list is filled.
static void ShowStatus(HWND dialog, const char *text)
{
    HWND label = GetDlgItem(dialog, IDC_SEARCH_COUNT);
    SetWindowTextA(label, text);
    UpdateWindow(label);
}

static void ShowResultCount(HWND dialog)
{
    int count = static_cast<int>(SendMessageA(ResultList(dialog), LVM_GETITEMCOUNT, 0, 0));
    ShowStatus(dialog, ResultCountText(count).c_str());
}

static void TermValueName(size_t index, char *name, size_t size)
{
    std::snprintf(name, size, "Search Term %d", static_cast<int>(index + 1));
}

static void ReadSearchHistory(HKEY key)
{
    for (size_t i = 0; i < SEARCH_HISTORY_LIMIT; i++) {
        char name[32], term[256];
        TermValueName(i, name, sizeof name);
        DWORD size = sizeof term - 1, type = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(term), &size) == ERROR_SUCCESS &&
            type == REG_SZ) {
            term[size] = '\0';
            searchHistory.push_back(term);
        }
    }
}

static void SaveSearchHistory(HKEY key)
{
    for (size_t i = 0; i < SEARCH_HISTORY_LIMIT; i++) {
        char name[32];
        TermValueName(i, name, sizeof name);
        if (i < searchHistory.size())
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(searchHistory[i].c_str()),
                           static_cast<DWORD>(searchHistory[i].size() + 1));
        else
            RegDeleteValueA(key, name);
    }
}

// The combo box's list shows the history; items go one by one, as emptying it at once would clear the text too.
static void ShowHistory(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, IDC_SEARCH_TEXT);
    while (SendMessageA(combo, CB_GETCOUNT, 0, 0) > 0)
        SendMessageA(combo, CB_DELETESTRING, 0, 0);
    for (const std::string &term : searchHistory)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(term.c_str()));
}

static void SetUpResultList(HWND dialog, const int *widths)
{
    HWND list = ResultList(dialog);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    resultImages = CreateBookmarkImageList(ILC_COLOR8 | ILC_MASK, nullptr, 0);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(resultImages));
    for (int column = 0; column < COLUMN_COUNT; column++) {
        LVCOLUMNA format = {};
        format.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        format.fmt = LVCFMT_LEFT;
        format.cx = widths[column] > 0 ? widths[column] : 200;
        format.pszText = const_cast<char *>(COLUMN_TITLES[column]);
        format.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&format));
    }
    ascendingMark = LoadHeaderMark(IDB_SORT_UP);
    descendingMark = LoadHeaderMark(IDB_SORT_DOWN);
    sortColumn = 0;
    sortSign = settings.sortOrder == SORT_ORDER_DESCENDING ? -1 : 1;
    SetHeaderMark(list, sortColumn, SortMark(sortSign));
}

static void LayOut(HWND dialog)
{
    if (!ResultList(dialog))
        return;  // sized while it is being made, before its controls exist
    RECT client;
    GetClientRect(dialog, &client);
    RECT combo = ControlRect(dialog, IDC_SEARCH_TEXT);
    PlaceControl(dialog, IDC_SEARCH_TEXT, combo.left, combo.top, client.right - 2 * combo.left, combo.bottom - combo.top);
    if (buttonSize.cx == 0) {
        RECT browse = ControlRect(dialog, IDC_SEARCH_BROWSE);
        buttonSize = {browse.right - browse.left, browse.bottom - browse.top};
    }
    int w = buttonSize.cx, h = buttonSize.cy;
    PlaceControl(dialog, IDC_SEARCH_BROWSE, client.right - (2 * w + 20), client.bottom - h - 6, w, h);
    PlaceControl(dialog, IDCANCEL, client.right - w - 10, client.bottom - h - 6, w, h);
    RECT count = ControlRect(dialog, IDC_SEARCH_COUNT);
    int countHeight = count.bottom - count.top;
    PlaceControl(dialog, IDC_SEARCH_COUNT, count.left, client.bottom - countHeight - 6, count.right - count.left,
                 countHeight);
    RECT list = ControlRect(dialog, IDC_SEARCH_RESULTS);
    PlaceControl(dialog, IDC_SEARCH_RESULTS, list.left, list.top, client.right - list.left - 10,
                 client.bottom - h - list.top - 16);
    InvalidateRect(GetDlgItem(dialog, IDCANCEL), nullptr, TRUE);
}

static void OnGetMinMaxInfo(HWND dialog, MINMAXINFO *limits)
{
    // Asked for before the controls exist as well.
    if (!ResultList(dialog) || buttonSize.cx == 0)
        return;
    RECT count = ControlRect(dialog, IDC_SEARCH_COUNT);
    limits->ptMinTrackSize.x = (count.right - count.left) + 2 * buttonSize.cx + 40;
    limits->ptMinTrackSize.y = ControlRect(dialog, IDC_SEARCH_RESULTS).top + 150;
}

static INT_PTR OnInitDialog(HWND dialog)
{
    // The hidden main window stands in for the dialog on the taskbar while it is open.
    char title[256] = "";
    GetWindowTextA(dialog, title, sizeof title);
    SetWindowTextA(mainWindow, title);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    modalOpen = TRUE;
    modalWindow = dialog;
    firstSearch = true;
    dialogIcon = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_TRESK), IMAGE_ICON, 16, 16, 0));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(dialogIcon));

    WINDOWPLACEMENT placement = {};
    bool placed = false;
    int widths[COLUMN_COUNT] = {DEFAULT_WIDTHS[0], DEFAULT_WIDTHS[1], DEFAULT_WIDTHS[2]};
    searchHistory.clear();
    if (HKEY key = OpenToolKeyForReading(SEARCH_KEY)) {
        placed = ReadWindowPlacement(key, &placement);
        ReadColumnWidths(key, widths, COLUMN_COUNT);
        ReadSearchHistory(key);
        RegCloseKey(key);
    }
    ShowHistory(dialog);

    waitCursor = LoadCursorA(nullptr, IDC_APPSTARTING);
    HCURSOR previous = SetCursor(waitCursor);
    SetUpResultList(dialog, widths);
    buttonSize = {0, 0};
    LayOut(dialog);
    searchRows.reserve(static_cast<size_t>(bookmarkTable.entryCount));
    if (placed)
        SetWindowPlacement(dialog, &placement);
    SetTimer(dialog, SEARCH_TIMER, AT_ONCE_MS, SearchTimerProc);
    SetCursor(previous);
    return TRUE;
}

void RunSearch(HWND dialog, const char *text)
{
    HWND list = ResultList(dialog);
    HCURSOR previous = SetCursor(waitCursor);
    ShowStatus(dialog, "Searching...");
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ShowBookmarkRows(list, 0);
    searchRows.clear();
    for (int position : FindSearchResults(text)) {
        searchRows.push_back(CopyBookmark(position));
        searchRows.back().image = BookmarkImage(searchRows.back().url, IconSetForEntry(position));
    }
    // Results are listed by name, ascending; only the first search of an opening follows "Sort Order".
    SortBookmarkCopies(searchRows, 0, 1);
    ShowBookmarkRows(list, searchRows.size());
    ShowResultCount(dialog);
    if (firstSearch && sortSign < 0) {
        ShowStatus(dialog, "Sorting...");
        SortBookmarkRows(list, searchRows, 0, sortSign);
        ShowResultCount(dialog);
    }
    firstSearch = false;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    SetCursor(previous);
}

void CALLBACK SearchTimerProc(HWND dialog, UINT, UINT_PTR, DWORD)
{
    KillTimer(dialog, SEARCH_TIMER);
    HWND combo = GetDlgItem(dialog, IDC_SEARCH_TEXT);
    if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0))
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    std::string text = ControlText(combo);
    if (lastSearchText && CompareNoCase(lastSearchText->c_str(), text.c_str()) == 0)
        return;
    lastSearchText = text;
    if (!text.empty()) {
        AddToSearchHistory(searchHistory, text);
        ShowHistory(dialog);
        SendMessageA(combo, CB_SETCURSEL, 0, 0);
        // Without this the whole text stays selected and the next key would replace it.
        SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(-1), 0));
    }
    RunSearch(dialog, text.c_str());
}

static void OnBrowseTo(HWND dialog)
{
    int row = SelectedRow(ResultList(dialog));
    if (row < 0 || row >= static_cast<int>(searchRows.size())) {
        MessageBeep(MB_OK);
        return;
    }
    LaunchURL(searchRows[static_cast<size_t>(row)].url.c_str());
}

static void OnColumnClick(HWND dialog, int column)
{
    HWND list = ResultList(dialog);
    sortSign = column == sortColumn ? -sortSign : 1;
    SetHeaderMark(list, sortColumn, nullptr);
    sortColumn = column;
    SetHeaderMark(list, sortColumn, SortMark(sortSign));
    ShowStatus(dialog, "Sorting...");
    SortBookmarkRows(list, searchRows, sortColumn, sortSign);
    ShowResultCount(dialog);
}

static void OnClose(HWND dialog)
{
    HCURSOR previous = SetCursor(waitCursor);
    HKEY key = CreateToolKey(SEARCH_KEY);
    SaveWindowPlacement(key, dialog);
    int widths[COLUMN_COUNT];
    SaveColumnWidths(key, ResultList(dialog), widths, COLUMN_COUNT);
    SaveSearchHistory(key);
    RegCloseKey(key);
    SetCursor(previous);
    EndDialog(dialog, 0);
}

static void OnDestroy(HWND dialog)
{
    ShowWindow(mainWindow, SW_HIDE);
    SetWindowTextA(mainWindow, "Tresk");  // the name that a second copy and other tools look for
    KillTimer(dialog, SEARCH_TIMER);
    SendMessageA(ResultList(dialog), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    ImageList_Destroy(resultImages);
    DestroyIcon(dialogIcon);
    DeleteObject(ascendingMark);
    DeleteObject(descendingMark);
    resultImages = nullptr;
    dialogIcon = nullptr;
    ascendingMark = descendingMark = nullptr;
    searchRows = std::vector<BookmarkCopy>();
    lastSearchText.reset();
    modalOpen = FALSE;
    modalWindow = nullptr;
}

static INT_PTR OnNotify(HWND dialog, NMHDR *note)
{
    if (note->idFrom != IDC_SEARCH_RESULTS)
        return FALSE;
    switch (note->code) {
    case LVN_GETDISPINFOA:
        AnswerRowRequest(reinterpret_cast<NMLVDISPINFOA *>(note), searchRows);
        break;
    case LVN_COLUMNCLICK:  // the list's form of its header's item click
        OnColumnClick(dialog, reinterpret_cast<const NMLISTVIEW *>(note)->iSubItem);
        break;
    case NM_DBLCLK:
        OnBrowseTo(dialog);
        break;
    case NM_RCLICK:
        ListContextMenu(dialog, ResultList(dialog), searchRows);
        break;
    }
    return FALSE;
}

static void OnCommand(HWND dialog, int control, int notification)
{
    switch (control) {
    case IDC_SEARCH_TEXT:
        if (notification == CBN_EDITCHANGE)
            SetTimer(dialog, SEARCH_TIMER, TYPING_PAUSE_MS, SearchTimerProc);
        else if (notification == CBN_SELENDOK)
            SetTimer(dialog, SEARCH_TIMER, AT_ONCE_MS, SearchTimerProc);
        break;
    case IDC_SEARCH_BROWSE:
        OnBrowseTo(dialog);
        break;
    case IDCANCEL:
        OnClose(dialog);
        break;
    }
}

INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            LayOut(dialog);
        return TRUE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(dialog, reinterpret_cast<MINMAXINFO *>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(dialog, reinterpret_cast<NMHDR *>(lParam));
    case WM_DESTROY:
        OnDestroy(dialog);
        return FALSE;
    }
    return FALSE;
}

void OpenSearchDialog()
{
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_SEARCH), mainWindow, SearchDialogProc, 0);
}
