// The Bookmark Properties dialog: name, location, description, folder and the two times of one bookmark.
#include "tools/properties_dialog.h"

#include <cstdio>
#include <cstring>

#include "base/app_state.h"
#include "bookmarks/bookmark_table.h"
#include "res/properties_ids.h"

BookmarkCopy propertiesEntry;
// The dialog that was busy when Properties opened (the Search dialog), given back on close.
static HWND previousModalWindow;

static const char UNKNOWN_TIME[] = "<unknown>";

void FormatBookmarkTime(int32_t seconds, char *text, size_t size)
{
    char date[256] = "<unknown>";
    char time[256] = "";
    // Times before 1970 come only from damaged sources; they are shown as unknown rather than guessed at.
    if (seconds < 0) {
        std::snprintf(text, size, "%s", UNKNOWN_TIME);
        return;
    }
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (static_cast<ULONGLONG>(seconds) + 11644473600ULL) * 10000000ULL;  // 100 ns since 1601
    FILETIME fileTime = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc, local;
    if (FileTimeToSystemTime(&fileTime, &utc) && SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        char formatted[256];
        if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &local, nullptr, formatted, 255) > 0)
            std::memcpy(date, formatted, sizeof date);
        GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 255);
    }
    std::snprintf(text, size, "%s %s", date, time);
}

static void SetTimeField(HWND dialog, int control, int32_t seconds, const char *placeholder)
{
    char text[520];
    if (seconds == 0)
        std::snprintf(text, sizeof text, "%s", placeholder);
    else
        FormatBookmarkTime(seconds, text, sizeof text);
    SetDlgItemTextA(dialog, control, text);
}

static INT_PTR OnInitDialog(HWND dialog)
{
    previousModalWindow = modalWindow;
    modalOpen = TRUE;
    modalWindow = dialog;
    const BookmarkCopy &entry = propertiesEntry;
    SetDlgItemTextA(dialog, IDC_PROPERTIES_NAME, entry.name.c_str());
    SetDlgItemTextA(dialog, IDC_PROPERTIES_LOCATION, entry.url.c_str());
    SetDlgItemTextA(dialog, IDC_PROPERTIES_DESCRIPTION, entry.description.c_str());
    SetDlgItemTextA(dialog, IDC_PROPERTIES_FOLDER, entry.folderPath.empty() ? "<none>" : entry.folderPath.c_str());
    // Favorites shortcuts carry no visit time at all, so "never visited" would be wrong for them.
    const char *notVisited = entry.source == SOURCE_FAVORITES ? "<undefined>" : "<never visited>";
    SetTimeField(dialog, IDC_PROPERTIES_VISITED, entry.lastVisit, notVisited);
    SetTimeField(dialog, IDC_PROPERTIES_MODIFIED, entry.lastModified, "<undefined>");
    return TRUE;
}

static void OnDestroy()
{
    if (previousModalWindow) {
        SetActiveWindow(previousModalWindow);
        modalWindow = previousModalWindow;
        previousModalWindow = nullptr;
        return;
    }
    modalOpen = FALSE;
    modalWindow = nullptr;
    if (g_verifyDialog && !IsIconic(g_verifyDialog))
        SetActiveWindow(g_verifyDialog);
}

INT_PTR CALLBACK PropertiesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            EndDialog(dialog, 1);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    }
    return FALSE;
}

INT_PTR OpenPropertiesDialog(const BookmarkCopy &bookmark)
{
    propertiesEntry = bookmark;
    return DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_PROPERTIES), mainWindow, PropertiesDialogProc, 0);
}
