// The menu builder: one item per table record, column breaks, source headers, empty folders.
#include "menu/menu_builder.h"

#include "base/settings.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "base/app_state.h"
#include "base/trace.h"
#include "bookmarks/bookmark_table.h"

// Builder state, reset at the start of every build.
static int32_t lastHeaderSource = -1;
static bool rootColumnBroken = false;
static const size_t ITEM_TEXT_MAX = 1024;           // characters of a name shown; longer names are cut
static char itemTextBuffer[2 * ITEM_TEXT_MAX + 1];  // room for every one of them doubled
static int columnLimit = 0;             // items per column; 0 = menus never break
static std::vector<int> folderOfId;     // id of a folder start record -> its folder record, -1 once taken

// The record as every Windows version knows it: without the item-bitmap field (44 bytes on 32-bit).
static const UINT MENU_ITEM_INFO_SIZE = offsetof(MENUITEMINFOA, hbmpItem);
// The non-client metrics as Windows 95 and NT 4.0 know them.
static const UINT NONCLIENT_METRICS_SIZE = 340;
static_assert(sizeof(NONCLIENTMETRICSA) >= NONCLIENT_METRICS_SIZE, "NONCLIENTMETRICSA shrank");
static const char MEASURE_SAMPLE[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890!@#$%^&*()";
static const int ITEM_HEIGHT_MARGIN = 6;  // what the owner-draw code adds to every measured item height

static HMENU AsMenu(MenuHandle menu)
{
    return static_cast<HMENU>(menu);
}

int ComputeMaxItemsPerColumn()
{
    HDC dc = GetDC(mainWindow);
    NONCLIENTMETRICSA metrics;
    std::memset(&metrics, 0, sizeof metrics);
    metrics.cbSize = NONCLIENT_METRICS_SIZE;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NONCLIENT_METRICS_SIZE, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HGDIOBJ previous = SelectObject(dc, font);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, MEASURE_SAMPLE, static_cast<int>(std::strlen(MEASURE_SAMPLE)), &size);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(mainWindow, dc);
    return (desktop.bottom - desktop.top) / (size.cy + ITEM_HEIGHT_MARGIN);
}

// The screen's maximum is measured once per build: it cannot change during one.
static int ColumnLimit()
{
    if (settings.limitItemsPerColumn)
        return settings.itemsPerColumn > 0 ? settings.itemsPerColumn : 0;
    return ComputeMaxItemsPerColumn();
}

// Whether the item about to be appended to a menu of `count` items starts a new column.
static bool BreaksColumn(int count)
{
    return columnLimit > 0 && count > 0 && count % columnLimit == 0;
}

static UINT OwnerDrawFlag()
{
    return settings.menuStyle > MENU_STYLE_PLAIN ? MFT_OWNERDRAW : 0;
}

static MENUITEMINFOA NewItemInfo(UINT mask, UINT type)
{
    MENUITEMINFOA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = MENU_ITEM_INFO_SIZE;
    info.fMask = mask;
    info.fType = type;
    return info;
}

// Appends the item behind the `count` items the menu holds.
static void AppendItem(HMENU menu, int count, MENUITEMINFOA &info)
{
    InsertMenuItemA(menu, static_cast<UINT>(count), TRUE, &info);
}

static ULONG_PTR ItemDataFor(const BookmarkEntry &record)
{
    ULONG_PTR data = reinterpret_cast<ULONG_PTR>(record.parentMenu) & 0xFFFF;
    if (record.parentMenu == bookmarkTable.rootMenu && !rootColumnBroken)
        data |= SIDE_BAR_COLUMN_FLAG;
    return data;
}

// The system takes an ampersand in an item's text for the mark of an underlined mnemonic letter; doubled,
// it is shown as itself (owner-drawn items are drawn from the name as it is).
static void CopyItemText(const char *name)
{
    size_t length = 0;
    for (size_t i = 0; i < ITEM_TEXT_MAX && name[i]; i++) {
        if (name[i] == '&')
            itemTextBuffer[length++] = '&';
        itemTextBuffer[length++] = name[i];
    }
    itemTextBuffer[length] = '\0';
}

static int SourceSwitchesOn()
{
    return (settings.useBookmarkFile ? 1 : 0) + (settings.useFavorites ? 1 : 0) + (settings.useOperaHotlist ? 1 : 0) +
           (settings.useChromium ? 1 : 0) + (settings.useFirefox ? 1 : 0);
}

static void AppendSourceHeader(int source)
{
    lastHeaderSource = source;
    intptr_t data = -1 - static_cast<intptr_t>(source);
    HMENU root = AsMenu(bookmarkTable.rootMenu);
    int count = GetMenuItemCount(root);
    bool breaks = BreaksColumn(count);
    // In the Plain style the first source needs no line above it.
    if (settings.menuStyle == MENU_STYLE_PLAIN && data == SOURCE_HEADER_NETSCAPE)
        return;
    MENUITEMINFOA info = NewItemInfo(MIIM_STATE | MIIM_ID | MIIM_TYPE | MIIM_DATA,
                                     MFT_SEPARATOR | OwnerDrawFlag() | (breaks ? MFT_MENUBARBREAK : 0));
    info.wID = HEADER_ITEM_ID;
    info.dwItemData = static_cast<ULONG_PTR>(data);
    AppendItem(root, count, info);
}

// The folder record of a folder start record: the first one whose entry still holds that id. Looked up
// in a map made before any entry is rewritten, so a rewritten position that equals another folder's
// id can never be taken for it.
static int TakeFolderOfId(int id)
{
    if (id < 0 || id >= static_cast<int>(folderOfId.size()))
        return -1;
    int k = folderOfId[id];
    folderOfId[id] = -1;
    return k;
}

static void MapFolderIds()
{
    folderOfId.assign(static_cast<size_t>(bookmarkTable.entryCount), -1);
    for (int k = bookmarkTable.folderCount - 1; k >= 0; k--) {
        int id = bookmarkTable.folders[k].entry;
        if (id >= 0 && id < bookmarkTable.entryCount)
            folderOfId[id] = k;
    }
}

// The item of the record at `position`, appended behind the `count` items of its menu.
static void AppendRecordItem(int position, int count, bool breaks)
{
    BookmarkEntry &record = bookmarkTable.entries[position];
    HMENU menu = AsMenu(record.parentMenu);
    UINT breakFlag = breaks ? MFT_MENUBARBREAK : 0;
    if (IsFolderEnd(record))
        return;
    if (IsSeparator(record)) {
        if (breaks)
            return;  // no column opens with a separator
        MENUITEMINFOA info = NewItemInfo(MIIM_STATE | MIIM_ID | MIIM_TYPE | MIIM_DATA, MFT_SEPARATOR | OwnerDrawFlag());
        info.wID = static_cast<UINT>(CommandIdForEntry(position));
        info.dwItemData = ItemDataFor(record);
        record.menuPos = count;
        AppendItem(menu, count, info);
        return;
    }
    CopyItemText(record.name);
    bool folder = IsFolderStart(record);
    MENUITEMINFOA info = folder ? NewItemInfo(MIIM_ID | MIIM_TYPE | MIIM_SUBMENU | MIIM_DATA, MFT_STRING | OwnerDrawFlag() | breakFlag)
                                : NewItemInfo(MIIM_STATE | MIIM_ID | MIIM_TYPE | MIIM_DATA, MFT_STRING | OwnerDrawFlag() | breakFlag);
    info.wID = static_cast<UINT>(CommandIdForEntry(position));
    info.dwItemData = ItemDataFor(record);
    info.dwTypeData = itemTextBuffer;
    info.cch = static_cast<UINT>(std::strlen(itemTextBuffer));
    int k = folder ? TakeFolderOfId(record.id) : -1;
    if (k >= 0) {
        bookmarkTable.folders[k].entry = position;
        info.hSubMenu = AsMenu(bookmarkTable.folders[k].menu);
    }
    record.menuPos = count;
    AppendItem(menu, count, info);
    if (k >= 0)
        bookmarkTable.folders[k].menuPos = record.menuPos;
}

// An item counts as a separator when its state says so and it is not a popup: GetMenuState packs a
// submenu's item count into the high byte of a popup's state, which can look like MF_SEPARATOR.
static bool IsSeparatorItem(HMENU menu, int position)
{
    UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && (state & MF_SEPARATOR) && !(state & MF_POPUP);
}

static void TrimTrailingSeparators(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    while (count > 0 && IsSeparatorItem(menu, count - 1)) {
        DeleteMenu(menu, static_cast<UINT>(count - 1), MF_BYPOSITION);
        count--;
    }
}

// Deleting an item shifts the items behind it to the left, so an empty folder's item is at or before its
// recorded position; it is the item whose submenu is the folder's menu.
static int FindSubmenuItem(HMENU parent, HMENU submenu, int recordedPosition)
{
    int count = GetMenuItemCount(parent);
    int start = recordedPosition < count ? recordedPosition : count - 1;
    for (int position = start; position >= 0; position--)
        if (GetSubMenu(parent, position) == submenu)
            return position;
    return -1;
}

// Item positions deleted from each menu, as they were when the build appended the items.
static std::unordered_map<MenuHandle, std::vector<int>> deletedPositions;

static void DeleteEmptyFolderItem(int k)
{
    FolderRecord &folder = bookmarkTable.folders[k];
    HMENU parent = AsMenu(folder.parentMenu);
    int position = FindSubmenuItem(parent, AsMenu(folder.menu), folder.menuPos);
    if (position < 0)
        return;  // a folder without a name has no item of its own
    DeleteMenu(parent, static_cast<UINT>(position), MF_BYPOSITION);  // destroys the folder's menu too
    deletedPositions[folder.parentMenu].push_back(folder.menuPos);
    // A destroyed handle may be handed out again to another menu: forget it so it is not destroyed twice.
    folder.menu = nullptr;
}

static void SettleFolders()
{
    for (int k = bookmarkTable.folderCount - 1; k >= 0; k--) {
        HMENU menu = AsMenu(bookmarkTable.folders[k].menu);
        if (!menu || !IsMenu(menu))
            continue;
        if (GetMenuItemCount(menu) > 0)
            TrimTrailingSeparators(menu);
        else if (settings.displayEmptyFolders)
            AppendMenuA(menu, MF_STRING | MF_GRAYED, static_cast<UINT_PTR>(static_cast<UINT>(EMPTY_ITEM_ID)), "(empty)");
        else
            DeleteEmptyFolderItem(k);
    }
    TrimTrailingSeparators(AsMenu(bookmarkTable.rootMenu));
}

// After empty folders were deleted, the items behind them moved left: renumber menuPos so the
// first-letter jumps and the context-menu placement find the right items. Records whose item is gone
// (the deleted folders, trimmed separators) get -1.
static void RenumberAfterDeletions()
{
    for (auto &deleted : deletedPositions)
        std::sort(deleted.second.begin(), deleted.second.end());
    std::unordered_map<MenuHandle, int> itemCounts;
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        BookmarkEntry &record = bookmarkTable.entries[i];
        auto deleted = deletedPositions.find(record.parentMenu);
        if (deleted == deletedPositions.end() || record.name[0] == '\0' || IsFolderEnd(record))
            continue;
        const std::vector<int> &positions = deleted->second;
        auto below = std::lower_bound(positions.begin(), positions.end(), record.menuPos);
        int shift = static_cast<int>(below - positions.begin());
        bool gone = IsFolderStart(record) && below != positions.end() && *below == record.menuPos;
        auto count = itemCounts.find(record.parentMenu);
        if (count == itemCounts.end())
            count = itemCounts.emplace(record.parentMenu, GetMenuItemCount(AsMenu(record.parentMenu))).first;
        record.menuPos = (gone || record.menuPos - shift >= count->second) ? -1 : record.menuPos - shift;
    }
    for (int k = 0; k < bookmarkTable.folderCount; k++) {
        FolderRecord &folder = bookmarkTable.folders[k];
        if (deletedPositions.count(folder.parentMenu) && folder.entry >= 0 && folder.entry < bookmarkTable.entryCount)
            folder.menuPos = bookmarkTable.entries[folder.entry].menuPos;
    }
}

void BuildBookmarkMenus()
{
    TraceEnter("BuildBookmarkMenus");
    lastHeaderSource = -1;
    rootColumnBroken = false;
    columnLimit = ColumnLimit();
    deletedPositions.clear();
    MapFolderIds();
    bool headers = settings.sortOrder == SORT_ORDER_DEFAULT && SourceSwitchesOn() > 1;
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &record = bookmarkTable.entries[i];
        if (record.name[0] == '\0')
            continue;  // untitled bookmarks and the separators the sort emptied
        if (headers && record.source != lastHeaderSource)
            AppendSourceHeader(record.source);
        // The menu's item count is asked once per record: asking it three times was a quarter of the build under Wine.
        int count = GetMenuItemCount(AsMenu(record.parentMenu));
        bool breaks = BreaksColumn(count);
        if (breaks && record.parentMenu == bookmarkTable.rootMenu)
            rootColumnBroken = true;
        AppendRecordItem(i, count, breaks);
    }
    SettleFolders();
    if (!deletedPositions.empty())
        RenumberAfterDeletions();
    folderOfId.clear();
    folderOfId.shrink_to_fit();
    TraceExit("BuildBookmarkMenus");
}
