// The Options dialog: shows every setting, checks the bookmark file, applies what changed and saves.
#include "base/settings.h"
#include "settings/options_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "base/app_state.h"
#include "base/trace.h"
#include "bookmarks/browser_profiles.h"
#include "menu/menu_builder.h"
#include "res/options_ids.h"
#include "settings/hot_key.h"
#include "settings/settings_store.h"

namespace {

const int PATH_SIZE = 260;
// Nine digits always fit the 32-bit settings, whatever the user types.
const int NUMBER_DIGITS = 9;
const char APP_TITLE[] = "Tresk";

// The settings as they were when the dialog opened: OK compares against them to apply only what changed.
struct OptionsSnapshot {
    int32_t trayIcon;
    int32_t refreshMenu;
    int32_t limitItemsPerColumn;
    int32_t itemsPerColumn;
    int32_t limitItemWidth;
    int32_t itemWidth;
    int32_t displayEmptyFolders;
    int32_t menuStyle;
    int32_t sortOrder;
    int32_t useBookmarkFile;
    int32_t useFavorites;
    int32_t useOperaHotlist;
    int32_t useChromium;
    int32_t useFirefox;
    int32_t iconStyle;
    int32_t repositionSubmenus;
    int32_t doubleClickAction;
    char *bookmarkFile;  // heap copy, freed when the dialog is destroyed
    int32_t hotKey;      // also the key put back when a new one cannot be registered
};

OptionsSnapshot optionsSnapshot;
int maxItemsPerColumn;

struct ListItem {
    const char *text;
    int data;
};

const ListItem ICON_STYLES[] = {
    {"Netscape Icons", 0}, {"Internet Explorer Icons", 1}, {"Opera Icons", 2}, {"Application-Specific Icons", 3}};
const ListItem MENU_STYLES[] = {{"Plain", 0}, {"Fancy", 1}, {"Very Fancy", 2}, {"Dancy", 3}};
const ListItem SORT_ORDERS[] = {{"Default Order", 0}, {"Ascending", 1}, {"Descending", 2}};
const ListItem START_STYLES[] = {{"Normal Window", SW_SHOWNORMAL}, {"Maximized Window", SW_SHOWMAXIMIZED}};
// The tray menu's command ids: Search, Verify, Refresh, Quick URL Entry, Options.
const ListItem DOUBLE_CLICK_ACTIONS[] = {{"Search Bookmarks", 4008}, {"Verify Bookmarks", 4012},
                                         {"Refresh Bookmarks", 4003}, {"Quick URL Entry", 4013},
                                         {"Options", 4002}};

// Labels and arrows have no help topic of their own: they show the one of the control they belong to.
const int HELP_OWNERS[][2] = {
    {IDC_ITEMS_PER_COLUMN, IDC_LIMIT_ITEMS}, {IDC_ITEMS_ARROWS, IDC_LIMIT_ITEMS},
    {IDC_MAX_ITEMS_LABEL, IDC_LIMIT_ITEMS},  {IDC_ITEM_WIDTH, IDC_LIMIT_WIDTH},
    {IDC_WIDTH_ARROWS, IDC_LIMIT_WIDTH},     {IDC_PIXELS_LABEL, IDC_LIMIT_WIDTH},
    {IDC_ICON_STYLE_LABEL, IDC_ICON_STYLE},  {IDC_HOT_KEY_LABEL, IDC_HOT_KEY},
    {IDC_BOOKMARK_FILE_LABEL, IDC_BOOKMARK_FILE}, {IDC_MENU_STYLE_LABEL, IDC_MENU_STYLE},
    {IDC_SORT_LABEL, IDC_SORT_ORDER},        {IDC_DOUBLE_CLICK_LABEL, IDC_DOUBLE_CLICK},
    {IDC_START_BROWSER_LABEL, IDC_START_BROWSER}};

bool IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void CheckItem(HWND dialog, int id, int32_t on)
{
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void EnableItems(HWND dialog, std::initializer_list<int> ids, bool enable)
{
    for (int id : ids)
        EnableWindow(GetDlgItem(dialog, id), enable);
}

// Sends the dialog the WM_COMMAND that a user's action on the control would send.
void SendNotification(HWND dialog, int id, int code)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)GetDlgItem(dialog, id));
}

unsigned ReadNumber(HWND dialog, int id)
{
    return GetDlgItemInt(dialog, id, nullptr, FALSE);
}

void ShowWarning(const char *text)
{
    MessageBoxA(mainWindow, text, APP_TITLE, MB_ICONEXCLAMATION);
}

void FillList(HWND dialog, int id, const ListItem *items, int count)
{
    for (int i = 0; i < count; i++) {
        LRESULT index = SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, (LPARAM)items[i].text);
        SendDlgItemMessageA(dialog, id, CB_SETITEMDATA, index, items[i].data);
    }
}

// Selects the first item whose data is value; nothing stays selected when none is.
void SelectByData(HWND dialog, int id, int value)
{
    int count = (int)SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        if ((int)SendDlgItemMessageA(dialog, id, CB_GETITEMDATA, i, 0) == value) {
            SendDlgItemMessageA(dialog, id, CB_SETCURSEL, i, 0);
            return;
        }
    }
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, (WPARAM)-1, 0);
}

// A list left without a selection (a stored value the list does not offer) keeps the setting as it was,
// rather than storing the list's error value.
void ReadSelection(HWND dialog, int id, int32_t &field)
{
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR)
        field = (int32_t)index;
}

void ReadSelectionData(HWND dialog, int id, int32_t &field)
{
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR)
        field = (int32_t)SendDlgItemMessageA(dialog, id, CB_GETITEMDATA, index, 0);
}

void TakeSnapshot()
{
    OptionsSnapshot &s = optionsSnapshot;
    s.trayIcon = settings.trayIcon;
    s.refreshMenu = settings.refreshMenu;
    s.limitItemsPerColumn = settings.limitItemsPerColumn;
    s.itemsPerColumn = settings.itemsPerColumn;
    s.limitItemWidth = settings.limitItemWidth;
    s.itemWidth = settings.itemWidth;
    s.displayEmptyFolders = settings.displayEmptyFolders;
    s.menuStyle = settings.menuStyle;
    s.sortOrder = settings.sortOrder;
    s.useBookmarkFile = settings.useBookmarkFile;
    s.useFavorites = settings.useFavorites;
    s.useOperaHotlist = settings.useOperaHotlist;
    s.useChromium = settings.useChromium;
    s.useFirefox = settings.useFirefox;
    s.iconStyle = settings.iconStyle;
    s.repositionSubmenus = settings.repositionSubmenus;
    s.doubleClickAction = settings.doubleClickAction;
    free(s.bookmarkFile);
    s.bookmarkFile = _strdup(settings.bookmarkFile);
    s.hotKey = settings.hotKey;
}

bool MenuSettingsChanged()
{
    const OptionsSnapshot &s = optionsSnapshot;
    return settings.limitItemsPerColumn != s.limitItemsPerColumn || settings.itemsPerColumn != s.itemsPerColumn ||
           settings.limitItemWidth != s.limitItemWidth || settings.itemWidth != s.itemWidth ||
           settings.displayEmptyFolders != s.displayEmptyFolders || settings.menuStyle != s.menuStyle ||
           settings.sortOrder != s.sortOrder || settings.useBookmarkFile != s.useBookmarkFile ||
           settings.useFavorites != s.useFavorites || settings.useOperaHotlist != s.useOperaHotlist ||
           settings.useChromium != s.useChromium || settings.useFirefox != s.useFirefox ||
           settings.iconStyle != s.iconStyle;
}

bool BookmarkFileChanged()
{
    return _stricmp(settings.bookmarkFile, optionsSnapshot.bookmarkFile ? optionsSnapshot.bookmarkFile : "") != 0;
}

// The Favorites check box is offered only when Explorer names a Favorites folder.
void FindFavorites(HWND dialog)
{
    bool found = false;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        char path[PATH_SIZE + 1] = "";
        DWORD size = PATH_SIZE;  // one byte spare: a value stored without its NUL still ends in one
        // A longer value cannot be a path the ANSI file functions open, so it counts as missing.
        if (RegQueryValueExA(key, "Favorites", nullptr, nullptr, (BYTE *)path, &size) == ERROR_SUCCESS &&
            path[0] != '\0') {
            memcpy(settings.favoritesPath, path, PATH_SIZE - 1);
            settings.favoritesPath[PATH_SIZE - 1] = '\0';
            found = true;
        }
        RegCloseKey(key);
    }
    if (!found) {
        EnableWindow(GetDlgItem(dialog, IDC_USE_FAVORITES), FALSE);
        settings.useFavorites = 0;
    }
}

void FindOperaHotlist(HWND dialog)
{
    GetPrivateProfileStringA("USER PREFS", "HOT LIST FILE VER2", "", settings.operaHotlistPath, PATH_SIZE,
                             "opera.ini");
    if (settings.operaHotlistPath[0] == '\0') {
        EnableWindow(GetDlgItem(dialog, IDC_USE_OPERA), FALSE);
        settings.useOperaHotlist = 0;
    }
}

// The browsers' bookmarks were looked for when the settings were loaded; the box of one not found is
// greyed. The Chromium box names the browser found.
void ShowBrowserSources(HWND dialog)
{
    if (settings.chromiumBookmarksPath[0] != '\0') {
        char label[128];
        snprintf(label, sizeof label, "Include %s Boo&kmarks", ChromiumBrowserOf(settings.chromiumBookmarksPath).name);
        SetDlgItemTextA(dialog, IDC_USE_CHROMIUM, label);
    }
    EnableWindow(GetDlgItem(dialog, IDC_USE_CHROMIUM), settings.chromiumBookmarksPath[0] != '\0');
    EnableWindow(GetDlgItem(dialog, IDC_USE_FIREFOX), settings.firefoxPlacesPath[0] != '\0');
    CheckItem(dialog, IDC_USE_CHROMIUM, settings.useChromium);
    CheckItem(dialog, IDC_USE_FIREFOX, settings.useFirefox);
}

void ShowMaxItemsPerColumn(HWND dialog)
{
    maxItemsPerColumn = ComputeMaxItemsPerColumn();
    char text[64];
    snprintf(text, sizeof text, "Items (max items = %d)", maxItemsPerColumn);
    SetDlgItemTextA(dialog, IDC_MAX_ITEMS_LABEL, text);
    if ((unsigned)settings.itemsPerColumn > (unsigned)maxItemsPerColumn)
        SetDlgItemInt(dialog, IDC_ITEMS_PER_COLUMN, maxItemsPerColumn, FALSE);
}

void FillLists(HWND dialog)
{
    FillList(dialog, IDC_ICON_STYLE, ICON_STYLES, 4);
    FillList(dialog, IDC_MENU_STYLE, MENU_STYLES, 4);
    FillList(dialog, IDC_SORT_ORDER, SORT_ORDERS, 3);
    FillList(dialog, IDC_START_BROWSER, START_STYLES, 2);
    FillList(dialog, IDC_DOUBLE_CLICK, DOUBLE_CLICK_ACTIONS, 5);
    SendDlgItemMessageA(dialog, IDC_ICON_STYLE, CB_SETCURSEL, (WPARAM)settings.iconStyle, 0);
    SendDlgItemMessageA(dialog, IDC_MENU_STYLE, CB_SETCURSEL, (WPARAM)settings.menuStyle, 0);
    SendDlgItemMessageA(dialog, IDC_SORT_ORDER, CB_SETCURSEL, (WPARAM)settings.sortOrder, 0);
    SelectByData(dialog, IDC_START_BROWSER, settings.startupStyle);
    SelectByData(dialog, IDC_DOUBLE_CLICK, settings.doubleClickAction);
}

BOOL OnInitDialog(HWND dialog)
{
    TraceEnter("OnInitOptionsDialog");
    TakeSnapshot();
    modalOpen = TRUE;
    modalWindow = dialog;
    SetWindowTextA(dialog, "Tresk Options");
    // The dialog's own hot-key control must be able to take the current key, so it is free while open.
    if (settings.hotKey != 0)
        UnregisterHotKey(mainWindow, HOT_KEY_ID);

    CheckItem(dialog, IDC_RUN_AT_STARTUP, settings.runAtStartup);
    CheckItem(dialog, IDC_TRAY_ICON, settings.trayIcon);
    // Without the tray icon this dialog is the only way left to end the program.
    if (!settings.trayIcon)
        ShowWindow(GetDlgItem(dialog, IDC_EXIT_TRESK), SW_SHOW);

    CheckItem(dialog, IDC_REFRESH_MENU, settings.refreshMenu);
    CheckItem(dialog, IDC_LIMIT_ITEMS, settings.limitItemsPerColumn);
    SendDlgItemMessageA(dialog, IDC_ITEMS_PER_COLUMN, EM_LIMITTEXT, NUMBER_DIGITS, 0);
    SetDlgItemInt(dialog, IDC_ITEMS_PER_COLUMN, (UINT)settings.itemsPerColumn, FALSE);
    CheckItem(dialog, IDC_LIMIT_WIDTH, settings.limitItemWidth);
    SendDlgItemMessageA(dialog, IDC_ITEM_WIDTH, EM_LIMITTEXT, NUMBER_DIGITS, 0);
    SetDlgItemInt(dialog, IDC_ITEM_WIDTH, (UINT)settings.itemWidth, FALSE);
    CheckItem(dialog, IDC_SNAP_LEFT, settings.snapMenuLeft);
    ShowMaxItemsPerColumn(dialog);

    // A key without modifiers or with only one of them would steal ordinary typing: make it Ctrl+Shift.
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S | HKCOMB_C | HKCOMB_A,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_SHIFT, 0));
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, (WPARAM)(settings.hotKey & 0xFFFF), 0);
    SendDlgItemMessageA(dialog, IDC_BOOKMARK_FILE, EM_LIMITTEXT, PATH_SIZE - 1, 0);
    SetDlgItemTextA(dialog, IDC_BOOKMARK_FILE, settings.bookmarkFile);

    FindFavorites(dialog);
    FindOperaHotlist(dialog);
    CheckItem(dialog, IDC_USE_FAVORITES, settings.useFavorites);
    CheckItem(dialog, IDC_USE_OPERA, settings.useOperaHotlist);
    ShowBrowserSources(dialog);
    CheckItem(dialog, IDC_EMPTY_FOLDERS, settings.displayEmptyFolders);
    CheckItem(dialog, IDC_REPOSITION, settings.repositionSubmenus);
    FillLists(dialog);

    for (int id : {IDC_ICON_STYLE, IDC_MENU_STYLE, IDC_SORT_ORDER, IDC_START_BROWSER, IDC_DOUBLE_CLICK})
        SendNotification(dialog, id, CBN_SELCHANGE);
    SendNotification(dialog, IDC_LIMIT_ITEMS, BN_CLICKED);
    SendNotification(dialog, IDC_LIMIT_WIDTH, BN_CLICKED);

    // A first start knows no bookmark file yet: open the file browser as soon as the dialog is up.
    if (settings.bookmarkFile[0] == '\0')
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED),
                     (LPARAM)GetDlgItem(dialog, IDC_BROWSE));
    TraceExit("OnInitOptionsDialog");
    return TRUE;
}

void OnMenuStyleChange(HWND dialog)
{
    bool fancy = SendDlgItemMessageA(dialog, IDC_MENU_STYLE, CB_GETCURSEL, 0, 0) > 0;
    if (fancy) {
        EnableWindow(GetDlgItem(dialog, IDC_LIMIT_WIDTH), TRUE);
        SendNotification(dialog, IDC_LIMIT_WIDTH, BN_CLICKED);
        EnableItems(dialog, {IDC_ICON_STYLE_LABEL, IDC_ICON_STYLE}, true);
        SendNotification(dialog, IDC_ICON_STYLE, CBN_SELCHANGE);
    } else {
        // The plain style draws neither icons nor clipped items.
        EnableItems(dialog, {IDC_LIMIT_WIDTH, IDC_ITEM_WIDTH, IDC_WIDTH_ARROWS, IDC_ICON_STYLE_LABEL, IDC_ICON_STYLE},
                    false);
    }
}

void OnTrayIconClick(HWND dialog)
{
    bool on = IsChecked(dialog, IDC_TRAY_ICON);
    EnableItems(dialog, {IDC_DOUBLE_CLICK_LABEL, IDC_DOUBLE_CLICK}, on);
    if (on)
        SendNotification(dialog, IDC_DOUBLE_CLICK, CBN_SELCHANGE);
}

void OnItemsPerColumnDone(HWND dialog)
{
    if (ReadNumber(dialog, IDC_ITEMS_PER_COLUMN) > (unsigned)maxItemsPerColumn) {
        MessageBeep(MB_ICONASTERISK);
        SetDlgItemInt(dialog, IDC_ITEMS_PER_COLUMN, maxItemsPerColumn, FALSE);
    }
}

// Text before the last backslash of path, empty when it has none.
void GetDirectoryOf(const char *path, char *directory, size_t size)
{
    const char *slash = strrchr(path, '\\');
    size_t length = slash ? (size_t)(slash - path) : 0;
    if (length >= size)
        length = size - 1;
    memcpy(directory, path, length);
    directory[length] = '\0';
}

// Netscape keeps each profile's bookmark file under "Users" beside its program folder.
void GetNetscapeUsersFolder(char *folder, size_t size)
{
    const char fallback[] = "C:\\Program Files\\Netscape\\Users";
    char install[256] = "";
    DWORD length = sizeof install - 1;
    DWORD type = 0;
    HKEY key;
    bool found = false;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        found = RegQueryValueExA(key, "Install Directory", nullptr, &type, (BYTE *)install, &length) ==
                    ERROR_SUCCESS && type == REG_SZ;
        RegCloseKey(key);
    }
    if (!found) {
        snprintf(folder, size, "%s", fallback);
        return;
    }
    install[length < sizeof install ? length : sizeof install - 1] = '\0';
    const char suffix[] = "\\Communicator";
    size_t installLength = strlen(install);
    size_t suffixLength = sizeof suffix - 1;
    if (installLength >= suffixLength && _stricmp(install + installLength - suffixLength, suffix) == 0)
        install[installLength - suffixLength] = '\0';
    snprintf(folder, size, "%s\\Users", install);
}

void OnBrowse(HWND dialog)
{
    TraceEnter("OnBrowseBookmarkFile");
    // The click that the opening posts arrives before the dialog box shows its window (that waits for an
    // empty queue): show it now, so the browser opens over the dialog rather than alone.
    if (!IsWindowVisible(dialog))
        ShowWindow(dialog, SW_SHOW);
    char file[PATH_SIZE] = "bookmark*.htm*";
    char initialDir[PATH_SIZE + 8];
    if (settings.bookmarkFile[0] != '\0')
        GetDirectoryOf(settings.bookmarkFile, initialDir, sizeof initialDir);
    else
        GetNetscapeUsersFolder(initialDir, sizeof initialDir);

    OPENFILENAMEA dialogInfo = {};
    dialogInfo.lStructSize = sizeof dialogInfo;
    dialogInfo.hwndOwner = dialog;
    dialogInfo.lpstrFilter = "Netscape Bookmark File\0bookmark.htm\0All Files\0*.*\0";
    dialogInfo.lpstrFile = file;
    dialogInfo.nMaxFile = sizeof file;
    dialogInfo.lpstrInitialDir = initialDir;
    dialogInfo.lpstrTitle = "Browse for Bookmarks File";
    dialogInfo.lpstrDefExt = "htm";
    dialogInfo.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&dialogInfo))
        SetDlgItemTextA(dialog, IDC_BOOKMARK_FILE, file);
    TraceExit("OnBrowseBookmarkFile");
}

bool CheckBookmarkFile(HWND dialog, const char *path)
{
    const char *problem = nullptr;
    if (path[0] == '\0') {
        problem = "Please specify the location of the Bookmark File.";
    } else if (FILE *file = fopen(path, "r")) {
        fclose(file);
    } else {
        problem = "The specified bookmark file does not exist.";
    }
    if (!problem)
        return true;
    ShowWarning(problem);
    SetForegroundWindow(dialog);
    return false;
}

void ReadControls(HWND dialog, const char *bookmarkFile)
{
    settings.trayIcon = IsChecked(dialog, IDC_TRAY_ICON);
    settings.runAtStartup = IsChecked(dialog, IDC_RUN_AT_STARTUP);
    settings.hotKey = (int32_t)(SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s", bookmarkFile);
    settings.useBookmarkFile = settings.bookmarkFile[0] != '\0';
    settings.useFavorites = IsChecked(dialog, IDC_USE_FAVORITES);
    settings.useOperaHotlist = IsChecked(dialog, IDC_USE_OPERA);
    settings.useChromium = IsChecked(dialog, IDC_USE_CHROMIUM);
    settings.useFirefox = IsChecked(dialog, IDC_USE_FIREFOX);
    settings.refreshMenu = IsChecked(dialog, IDC_REFRESH_MENU);
    ReadSelection(dialog, IDC_ICON_STYLE, settings.iconStyle);
    settings.limitItemsPerColumn = IsChecked(dialog, IDC_LIMIT_ITEMS);
    settings.itemsPerColumn = (int32_t)ReadNumber(dialog, IDC_ITEMS_PER_COLUMN);
    settings.limitItemWidth = IsChecked(dialog, IDC_LIMIT_WIDTH);
    settings.itemWidth = (int32_t)ReadNumber(dialog, IDC_ITEM_WIDTH);
    settings.displayEmptyFolders = IsChecked(dialog, IDC_EMPTY_FOLDERS);
    ReadSelection(dialog, IDC_MENU_STYLE, settings.menuStyle);
    settings.snapMenuLeft = IsChecked(dialog, IDC_SNAP_LEFT);
    ReadSelection(dialog, IDC_SORT_ORDER, settings.sortOrder);
    settings.repositionSubmenus = IsChecked(dialog, IDC_REPOSITION);
    ReadSelectionData(dialog, IDC_START_BROWSER, settings.startupStyle);
    ReadSelectionData(dialog, IDC_DOUBLE_CLICK, settings.doubleClickAction);
}

// What the new settings change outside the dialog; the caller applies it once the dialog has closed, so
// that nothing is rebuilt under it.
int ChangesToApply()
{
    const OptionsSnapshot &s = optionsSnapshot;
    bool fileChanged = BookmarkFileChanged();
    int changes = 0;
    if (settings.trayIcon != s.trayIcon)
        changes |= OPTIONS_TRAY_ICON;
    if (settings.doubleClickAction != s.doubleClickAction)
        changes |= OPTIONS_TRAY_MENU;
    if (MenuSettingsChanged() || fileChanged)
        changes |= OPTIONS_MENUS;
    if (settings.refreshMenu != s.refreshMenu)
        changes |= OPTIONS_WATCH_SWITCH;
    bool sourcesChanged = settings.useFavorites != s.useFavorites || settings.useOperaHotlist != s.useOperaHotlist ||
                          settings.useChromium != s.useChromium || settings.useFirefox != s.useFirefox;
    if (fileChanged || (settings.refreshMenu && sourcesChanged))
        changes |= OPTIONS_WATCH_RESTART;
    return changes;
}

void OnOK(HWND dialog)
{
    TraceEnter("OnOptionsOK");
    char bookmarkFile[PATH_SIZE] = "";
    GetDlgItemTextA(dialog, IDC_BOOKMARK_FILE, bookmarkFile, sizeof bookmarkFile);
    if (!CheckBookmarkFile(dialog, bookmarkFile)) {
        TraceExit("OnOptionsOK");
        return;
    }
    ReadControls(dialog, bookmarkFile);
    if (!RegisterAppHotKey(settings.hotKey)) {
        settings.hotKey = optionsSnapshot.hotKey;
        SetForegroundWindow(dialog);
        TraceExit("OnOptionsOK");
        return;
    }
    SaveSettings();
    EndDialog(dialog, ChangesToApply());
    TraceExit("OnOptionsOK");
}

void OnCancel(HWND dialog)
{
    if (!RegisterAppHotKey(settings.hotKey)) {
        settings.hotKey = optionsSnapshot.hotKey;
        SetForegroundWindow(dialog);
        return;
    }
    EndDialog(dialog, settings.bookmarkFile[0] == '\0' ? OPTIONS_NO_BOOKMARK_FILE : 0);
}

void OnExitTresk(HWND dialog)
{
    SendNotification(dialog, IDOK, BN_CLICKED);
    // The program ends even when OK refused the settings and left the dialog open.
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
}

BOOL OnCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDC_TRAY_ICON:
        OnTrayIconClick(dialog);
        break;
    case IDC_LIMIT_ITEMS:
        EnableItems(dialog, {IDC_ITEMS_PER_COLUMN, IDC_ITEMS_ARROWS}, IsChecked(dialog, IDC_LIMIT_ITEMS));
        break;
    case IDC_LIMIT_WIDTH:
        // The opening sends this click after the menu style has had its say: under "Plain" the box is
        // disabled, and its edit and arrows must stay disabled with it.
        EnableItems(dialog, {IDC_ITEM_WIDTH, IDC_WIDTH_ARROWS},
                    IsChecked(dialog, IDC_LIMIT_WIDTH) && IsWindowEnabled(GetDlgItem(dialog, IDC_LIMIT_WIDTH)));
        break;
    case IDC_MENU_STYLE:
        if (code == CBN_SELCHANGE)
            OnMenuStyleChange(dialog);
        break;
    case IDC_ITEMS_PER_COLUMN:
        if (code == EN_KILLFOCUS)
            OnItemsPerColumnDone(dialog);
        break;
    case IDC_BROWSE:
        OnBrowse(dialog);
        break;
    case IDOK:
        OnOK(dialog);
        break;
    case IDCANCEL:
        OnCancel(dialog);
        break;
    case IDC_EXIT_TRESK:
        OnExitTresk(dialog);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

// The arrows step their edit box by one; nothing goes below 1, items per column not above the maximum.
void OnArrow(HWND dialog, HWND arrows, int code)
{
    int arrowsId = GetDlgCtrlID(arrows);
    int editId;
    if (arrowsId == IDC_ITEMS_ARROWS)
        editId = IDC_ITEMS_PER_COLUMN;
    else if (arrowsId == IDC_WIDTH_ARROWS)
        editId = IDC_ITEM_WIDTH;
    else
        return;
    long long value = ReadNumber(dialog, editId);
    if (code == SB_LINEUP)
        value++;
    else if (code == SB_LINEDOWN)
        value--;
    else
        return;
    if (value < 1) {
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (editId == IDC_ITEMS_PER_COLUMN && value > maxItemsPerColumn)
        value = maxItemsPerColumn;
    SetDlgItemInt(dialog, editId, (UINT)value, FALSE);
}

BOOL OnHelp(HWND dialog, const HELPINFO *help)
{
    if (help->iContextType != HELPINFO_WINDOW)
        return TRUE;
    int id = help->iCtrlId;
    for (const auto &owner : HELP_OWNERS) {
        if (owner[0] == id) {
            id = owner[1];
            break;
        }
    }
    // The help file's popup topics are numbered by control id.
    WinHelpA(dialog, "tresk.hlp", HELP_CONTEXTPOPUP, (ULONG_PTR)id);
    return TRUE;
}

void OnDestroy()
{
    modalOpen = FALSE;
    modalWindow = nullptr;
    free(optionsSnapshot.bookmarkFile);
    optionsSnapshot.bookmarkFile = nullptr;
}

}  // namespace

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_HELP:
        return OnHelp(dialog, (const HELPINFO *)lParam);
    case WM_VSCROLL:
        OnArrow(dialog, (HWND)lParam, LOWORD(wParam));
        return FALSE;
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}
