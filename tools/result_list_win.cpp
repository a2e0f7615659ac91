// The result lists of the Search and Verify windows: pictures, rows, sorting, header mark, and the
// placement and column widths kept under the program's key.
#include "tools/result_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/app_state.h"
#include "base/fatal_error.h"
#include "base/settings.h"
#include "menu/icon_sets.h"
#include "res/menu_ids.h"

static const size_t NAME_LIMIT = 1024;  // characters of a name or location shown

static HICON LoadSmallIcon(int resource)
{
    return static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(resource), IMAGE_ICON, 16, 16, 0));
}

// Adds an icon loaded for the list and destroys it once the list holds its copy.
static void AddLoadedIcon(HIMAGELIST images, int resource)
{
    HICON icon = LoadSmallIcon(resource);
    ImageList_ReplaceIcon(images, -1, icon);
    if (icon)
        DestroyIcon(icon);
}

// Icon set 1 or 2's picture, or set 0's own resource where the set shows the same icon as set 0.
static void AddSetIcon(HIMAGELIST images, int set, int slot, int sameAsSetZero)
{
    HICON icon = iconSets[set][slot];
    if (!icon || icon == iconSets[0][slot])
        AddLoadedIcon(images, sameAsSetZero);
    else
        ImageList_ReplaceIcon(images, -1, icon);
}

HIMAGELIST CreateBookmarkImageList(UINT flags, const int *extra, int extraCount)
{
    HIMAGELIST images = ImageList_Create(16, 16, flags, BOOKMARK_IMAGE_COUNT + extraCount, 0);
    AddLoadedIcon(images, IDI_BOOKMARK_SMALL);
    AddLoadedIcon(images, IDI_MAIL_LINK_SMALL);
    for (int set = 1; set < SOURCE_COUNT; set++) {
        AddSetIcon(images, set, ICON_BOOKMARK, IDI_BOOKMARK_SMALL);
        AddSetIcon(images, set, ICON_MAIL_LINK, IDI_MAIL_LINK_SMALL);
    }
    for (int i = 0; i < extraCount; i++)
        AddLoadedIcon(images, extra[i]);
    return images;
}

void ShowBookmarkRows(HWND list, size_t count)
{
    LVITEMA unselected = {};
    unselected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&unselected));
    SendMessageA(list, LVM_SETITEMCOUNT, count, 0);
    InvalidateRect(list, nullptr, TRUE);
}

bool AnswerRowRequest(NMLVDISPINFOA *request, const std::vector<BookmarkCopy> &rows)
{
    LVITEMA &item = request->item;
    size_t row = static_cast<size_t>(item.iItem);
    if (item.iItem < 0 || row >= rows.size() || item.iSubItem < 0 || item.iSubItem > 2)
        return false;
    const BookmarkCopy &shown = rows[row];
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0)
        item.iImage = shown.image;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::string &text = item.iSubItem == 0 ? shown.name : item.iSubItem == 1 ? shown.url : shown.folderPath;
        size_t length = std::min({text.size(), NAME_LIMIT, static_cast<size_t>(item.cchTextMax) - 1});
        std::memcpy(item.pszText, text.data(), length);
        item.pszText[length] = '\0';
    }
    return true;
}

static bool IsVirtualList(HWND list)
{
    return (GetWindowLongA(list, GWL_STYLE) & LVS_OWNERDATA) != 0;
}

int RowOfItem(HWND list, int item)
{
    if (item < 0)
        return -1;
    if (IsVirtualList(list))
        return item;
    LVITEMA row = {};
    row.mask = LVIF_PARAM;
    row.iItem = item;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&row)))
        return -1;
    return static_cast<int>(row.lParam);
}

int SelectedRow(HWND list)
{
    return RowOfItem(list, static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

std::vector<int> SortBookmarkRows(HWND list, std::vector<BookmarkCopy> &rows, int column, int sign)
{
    int selected = SelectedRow(list);
    std::vector<int> moved = SortBookmarkCopies(rows, column, sign);
    FollowSelectedRow(list, selected, moved);
    return moved;
}

void FollowSelectedRow(HWND list, int selected, const std::vector<int> &moved)
{
    InvalidateRect(list, nullptr, TRUE);
    if (selected < 0 || selected >= static_cast<int>(moved.size()))
        return;
    // The list keeps its selection by position: it follows the selected row to where the sort put it.
    int now = moved[static_cast<size_t>(selected)];
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, now, reinterpret_cast<LPARAM>(&state));
    SendMessageA(list, LVM_ENSUREVISIBLE, now, FALSE);
}

HBITMAP LoadHeaderMark(int resource)
{
    return static_cast<HBITMAP>(LoadImageA(appInstance, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0,
                                           LR_LOADMAP3DCOLORS));
}

void SetHeaderMark(HWND list, int column, HBITMAP mark)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    item.mask = HDI_FORMAT | HDI_BITMAP;
    item.hbm = mark;
    if (mark)
        item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
    else
        item.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
}

static std::string ToolKeyPath(const char *subkey)
{
    return std::string(SETTINGS_KEY) + "\\" + subkey;
}

HKEY OpenToolKeyForReading(const char *subkey)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ToolKeyPath(subkey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CreateToolKey(const char *subkey)
{
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, ToolKeyPath(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(result));
        ShowFatalError(FATAL_REGISTRY_KEY);
    }
    return key;
}

// The record as every Windows version stores it: 44 bytes.
static_assert(sizeof(WINDOWPLACEMENT) == 44, "the stored placement is 44 bytes");

bool ReadWindowPlacement(HKEY key, WINDOWPLACEMENT *placement)
{
    DWORD size = sizeof *placement;
    if (RegQueryValueExA(key, "Window Placement", nullptr, nullptr, reinterpret_cast<BYTE *>(placement), &size) !=
            ERROR_SUCCESS ||
        size != sizeof *placement)
        return false;
    placement->length = sizeof *placement;
    // A window closed while minimised would come back as a taskbar button only.
    if (placement->showCmd == SW_SHOWMINIMIZED || placement->showCmd == SW_MINIMIZE)
        placement->showCmd = SW_SHOWNORMAL;
    return true;
}

void SaveWindowPlacement(HKEY key, HWND window)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    RegSetValueExA(key, "Window Placement", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&placement), sizeof placement);
}

static void ColumnValueName(int column, char *name, size_t size)
{
    std::snprintf(name, size, "Column %d Width", column);
}

void ReadColumnWidths(HKEY key, int *widths, int count)
{
    for (int column = 0; column < count; column++) {
        char name[32];
        ColumnValueName(column, name, sizeof name);
        DWORD value = 0, size = sizeof value;
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size) == ERROR_SUCCESS &&
            size == sizeof value)
            widths[column] = static_cast<int>(value);
    }
}

void SaveColumnWidths(HKEY key, HWND list, int *widths, int count)
{
    for (int column = 0; column < count; column++) {
        char name[32];
        ColumnValueName(column, name, sizeof name);
        widths[column] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
        DWORD value = static_cast<DWORD>(widths[column]);
        if (widths[column] < 1)
            RegDeleteValueA(key, name);
        else
            RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    }
}
