// Measuring and drawing the owner-drawn items of the bookmark menu and of the tray and context menus.
#include "base/settings.h"
#include "menu/owner_draw.h"

#include <cstdint>
#include <cstring>

#include "base/app_state.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/browser_profiles.h"
#include "menu/icon_sets.h"
#include "menu/menu_builder.h"

int highlightedEntry = 0;
DRAWITEMSTRUCT selectedItemRecord;
HBITMAP sideBarBitmap = nullptr;
HIMAGELIST sideBarImageList = nullptr;
HDC sideBarStrip = nullptr;
static HBITMAP sideBarStripBitmap = nullptr;
static HGDIOBJ sideBarStripOldBitmap = nullptr;

static const COLORREF SIDE_BAR_TRANSPARENT = RGB(128, 128, 0);
static const int STRIP_WIDTH = SIDE_BAR_WIDTH - 2;
static const int HEADER_LINE_INSET = 30;
static const int CUSTOM_TEXT_INDENT = ICON_SIZE + 3;

// Windows 95 knows only the non-client metrics record without the padded border of later systems.
static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the non-client metrics record must keep its Windows 95 size");

void SetMenuFont(HDC dc, int sizeDelta, bool bold, HFONT *createdFont, HFONT *previousFont)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA font = metrics.lfMenuFont;
    if (bold)
        font.lfWeight = FW_BOLD;
    if (sizeDelta != 0) {
        // A changed size needs a scalable face: let the system pick a TrueType one.
        font.lfWidth = 0;
        font.lfHeight = font.lfHeight > 0 ? font.lfHeight + sizeDelta : font.lfHeight - sizeDelta;
        font.lfFaceName[0] = '\0';
        if ((font.lfOutPrecision & 7) == 0)
            font.lfOutPrecision |= OUT_TT_ONLY_PRECIS;
    }
    *createdFont = CreateFontIndirectA(&font);
    *previousFont = static_cast<HFONT>(SelectObject(dc, *createdFont));
}

void RemoveMenuFont(HDC dc, HFONT createdFont, HFONT previousFont)
{
    SelectObject(dc, previousFont);
    DeleteObject(createdFont);
}

// Item data is a 32-bit value: a header's -1 reads the same whether or not a 64-bit build widened it
// with its sign.
static int32_t ItemData32(ULONG_PTR itemData) { return static_cast<int32_t>(static_cast<uint32_t>(itemData)); }

bool IsSourceHeader(ULONG_PTR itemData)
{
    int32_t value = ItemData32(itemData);
    return value <= SOURCE_HEADER_NETSCAPE && value >= SOURCE_HEADER_FIREFOX;
}

static const char *HeaderText(ULONG_PTR itemData)
{
    switch (ItemData32(itemData)) {
    case SOURCE_HEADER_NETSCAPE: return "Netscape";
    case SOURCE_HEADER_FAVORITES: return "Internet Explorer";
    case SOURCE_HEADER_OPERA: return "Opera";
    // The browser whose Bookmarks file was found: "Google Chrome", "Microsoft Edge", "Brave", ...
    case SOURCE_HEADER_CHROMIUM: return ChromiumBrowserOf(settings.chromiumBookmarksPath).name;
    default: return "Firefox";
    }
}

// The record an item id names, or null for an id outside the table (a menu left over from a refresh).
static const BookmarkEntry *EntryOfItem(UINT itemId, int *position)
{
    *position = EntryForCommandId(static_cast<int>(itemId));
    if (*position < 0 || *position >= bookmarkTable.entryCount || !bookmarkTable.entries)
        return nullptr;
    return &bookmarkTable.entries[*position];
}

int IconSetForEntry(int position)
{
    int style = settings.iconStyle;
    if (style >= ICON_STYLE_NETSCAPE && style <= ICON_STYLE_OPERA)
        return style;
    if (style != ICON_STYLE_PER_SOURCE || position < 0 || position >= bookmarkTable.entryCount)
        return 0;
    int source = bookmarkTable.entries[position].source;
    return source >= SOURCE_NETSCAPE && source < SOURCE_COUNT ? source : 0;
}

static bool SideBarStyle() { return settings.menuStyle >= MENU_STYLE_VERY_FANCY; }

static bool InSideBarColumn(ULONG_PTR itemData)
{
    return SideBarStyle() && (itemData & SIDE_BAR_COLUMN_FLAG) != 0;
}

// The room the system keeps at the right of a folder item for its submenu arrow.
static int CheckMarkWidth() { return LOWORD(GetMenuCheckMarkDimensions()); }

static SIZE MeasureText(HDC dc, const char *text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size;
}

static void MeasureBookmarkText(HDC dc, MEASUREITEMSTRUCT *request)
{
    int position;
    const BookmarkEntry *entry = EntryOfItem(request->itemID, &position);
    const char *name = entry && entry->name[0] ? entry->name : "W";
    SIZE size = MeasureText(dc, name);
    int extra = ICON_SIZE + 2;
    if (entry && IsFolderStart(*entry))
        extra += CheckMarkWidth();
    int width = extra + size.cx;
    // The limit only narrows the item; the text is clipped at its right edge when drawn. An absurdly
    // small limit gives an item of no width rather than a negative one.
    if (settings.limitItemWidth && width > settings.itemWidth)
        width = settings.itemWidth - extra > 0 ? settings.itemWidth - extra : 0;
    if (InSideBarColumn(request->itemData))
        width += SIDE_BAR_WIDTH;
    request->itemWidth = width;
    request->itemHeight = size.cy + ITEM_MARGIN;
}

LRESULT MeasureBookmarkItem(MEASUREITEMSTRUCT *request)
{
    if (request->CtlType != ODT_MENU)
        return 1;
    HDC dc = GetDC(menuWindow);
    bool header = IsSourceHeader(request->itemData);
    HFONT font, previousFont;
    SetMenuFont(dc, header ? -1 : 0, false, &font, &previousFont);
    if (header) {
        SIZE size = MeasureText(dc, HeaderText(request->itemData));
        request->itemHeight = size.cy + ITEM_MARGIN;
        request->itemWidth = size.cx + 6 + (SideBarStyle() ? SIDE_BAR_WIDTH : 0);
    } else {
        MeasureBookmarkText(dc, request);
    }
    RemoveMenuFont(dc, font, previousFont);
    ReleaseDC(menuWindow, dc);
    return 1;
}

static void FillWithSysColor(HDC dc, const RECT &rect, int colorIndex)
{
    FillRect(dc, &rect, GetSysColorBrush(colorIndex));
}

// The icon cell in front of an item's text: as wide as the item is high, plus 2.
static RECT IconCell(const RECT &item, int left)
{
    int height = item.bottom - item.top;
    RECT cell = {left, item.top - 1 < 0 ? 0 : item.top - 1, left + height + 2, item.bottom};
    return cell;
}

// Moves the cell's corner so that a 16-pixel picture stands in its middle.
static void CentreInCell(RECT &cell)
{
    int height = cell.bottom - cell.top;
    if (height > ICON_SIZE) {
        int d = (height - ICON_SIZE) / 2;
        cell.left += d - 1;
        cell.top += d - 1;
    }
}

static int IconSlotFor(const BookmarkEntry &entry, bool selected)
{
    if (IsFolderStart(entry))
        return selected ? ICON_OPEN_FOLDER : ICON_CLOSED_FOLDER;
    return std::strstr(entry.url, "mailto:") ? ICON_MAIL_LINK : ICON_BOOKMARK;
}

static void DrawEntryIcon(DRAWITEMSTRUCT *request, RECT r, const BookmarkEntry &entry, int position)
{
    bool selected = (request->itemState & ODS_SELECTED) != 0;
    int set = IconSetForEntry(position);
    int slot = IconSlotFor(entry, selected);
    HICON icon = iconSets[set][slot];
    if (!icon)
        return;
    HDC dc = request->hDC;
    if (InSideBarColumn(request->itemData))
        r.left += SIDE_BAR_WIDTH;
    RECT cell = IconCell(r, r.left);
    bool framed = selected && !(request->itemState & ODS_DISABLED) && slot == ICON_BOOKMARK;
    if (framed)
        DrawEdge(dc, &cell, BDR_RAISEDOUTER, BF_RECT | BF_SOFT);
    else
        FillWithSysColor(dc, cell, COLOR_MENU);
    cell.left += 1;
    CentreInCell(cell);
    // The program's own icons are 32 x 32 with the picture in the upper-left quarter, so they are drawn
    // at their natural size; the shell's icons are scaled to the small-icon size.
    if (set == 0 || slot == ICON_MAIL_LINK)
        DrawIcon(dc, cell.left, cell.top, icon);
    else
        DrawIconEx(dc, cell.left, cell.top + 1, icon, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                   0, nullptr, DI_NORMAL);
}

static void DrawEntryText(DRAWITEMSTRUCT *request, RECT r, int offset, const BookmarkEntry &entry, bool folder)
{
    bool selected = (request->itemState & ODS_SELECTED) != 0;
    RECT text = {r.left + offset, r.top - 1, r.right, r.bottom};
    RECT fill = text;
    if (folder)
        fill.right += CheckMarkWidth();
    FillWithSysColor(request->hDC, fill, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    // The name is shown as it is: no ampersand becomes a mnemonic.
    ExtTextOutA(request->hDC, text.left + 3, text.top + 3, ETO_CLIPPED, &text, entry.name,
                static_cast<UINT>(std::strlen(entry.name)), nullptr);
}

// An etched line across the item; a header's text stands on it as an embossed label.
static void DrawEtchedItem(DRAWITEMSTRUCT *request)
{
    HDC dc = request->hDC;
    const RECT &r = request->rcItem;
    int height = r.bottom - r.top;
    bool header = IsSourceHeader(request->itemData);
    int x0 = r.left, x1 = r.right;
    if (header) {
        x0 = r.left + HEADER_LINE_INSET;
        x1 = r.right - HEADER_LINE_INSET;
        if (r.left == 0 && SideBarStyle())
            x0 += SIDE_BAR_WIDTH;
    }
    int y = r.top + height / 2;
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ previousPen = SelectObject(dc, shadow);
    MoveToEx(dc, x0, y, nullptr);
    LineTo(dc, x1, y);
    SelectObject(dc, light);
    MoveToEx(dc, x0, y + 1, nullptr);
    LineTo(dc, x1, y + 1);
    SelectObject(dc, previousPen);
    DeleteObject(shadow);
    DeleteObject(light);
    sideBarPainted = false;
    if (!header)
        return;

    HFONT font, previousFont;
    SetMenuFont(dc, -1, false, &font, &previousFont);
    const char *text = HeaderText(request->itemData);
    UINT length = static_cast<UINT>(std::strlen(text));
    SIZE size = MeasureText(dc, text);
    int left = r.left + (r.right - r.left) / 2 - size.cx / 2;
    if (left == 0)
        left = SideBarStyle() ? SIDE_BAR_WIDTH / 2 : 0;
    int top = r.top + height / 2 - size.cy / 2;
    RECT box = {left - 3, top, left + size.cx + 3, top + size.cy};
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColor = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    ExtTextOutA(dc, left + 1, top + 1, ETO_OPAQUE | ETO_CLIPPED, &box, text, length, nullptr);
    SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    ExtTextOutA(dc, left, top, ETO_CLIPPED, &box, text, length, nullptr);
    SetTextColor(dc, previousColor);
    SetBkMode(dc, previousMode);
    RemoveMenuFont(dc, font, previousFont);
}

static void DeleteSideBarStrip()
{
    if (!sideBarStrip)
        return;
    SelectObject(sideBarStrip, sideBarStripOldBitmap);
    DeleteObject(sideBarStripBitmap);
    DeleteDC(sideBarStrip);
    sideBarStrip = nullptr;
    sideBarStripBitmap = nullptr;
    sideBarStripOldBitmap = nullptr;
}

// The gradient from the highlight colour at the bottom row to the menu colour at the top, one brush per
// row, into a new strip as high as the menu.
static void BuildSideBarStrip(HDC itemDC, int height)
{
    DeleteSideBarStrip();
    if (height <= 0)
        return;
    COLORREF c1 = highlightColorCache, c2 = menuColorCache;
    double stepRed = (double(GetRValue(c1)) - GetRValue(c2)) / height;
    double stepGreen = (double(GetGValue(c1)) - GetGValue(c2)) / height;
    double stepBlue = (double(GetBValue(c1)) - GetBValue(c2)) / height;
    sideBarStrip = CreateCompatibleDC(itemDC);
    sideBarStripBitmap = CreateCompatibleBitmap(itemDC, STRIP_WIDTH, height);
    sideBarStripOldBitmap = SelectObject(sideBarStrip, sideBarStripBitmap);
    for (int i = 0; i < height; i++) {
        RECT row = {0, height - 1 - i, STRIP_WIDTH, height - i};
        HBRUSH brush = CreateSolidBrush(RGB(int(GetRValue(c1) - i * stepRed), int(GetGValue(c1) - i * stepGreen),
                                            int(GetBValue(c1) - i * stepBlue)));
        FillRect(sideBarStrip, &row, brush);
        DeleteObject(brush);
    }
}

static void LoadSideBarPicture()
{
    if (!sideBarBitmap)
        sideBarBitmap = static_cast<HBITMAP>(LoadImageA(appInstance, "SIDE_BAR", IMAGE_BITMAP, 0, 0, 0));
    BITMAP info;
    if (!sideBarBitmap || sideBarImageList || !GetObjectA(sideBarBitmap, sizeof info, &info))
        return;
    sideBarImageList = ImageList_Create(info.bmWidth, info.bmHeight, ILC_MASK, 1, 1);
    ImageList_AddMasked(sideBarImageList, sideBarBitmap, SIDE_BAR_TRANSPARENT);
}

static void RenderSideBar(HDC itemDC)
{
    RECT client = {0, 0, 0, 0};
    // Should the menu window not be known (yet), the window the item is being painted into is the one.
    if (!GetClientRect(menuWindow, &client))
        GetClientRect(WindowFromDC(itemDC), &client);
    int height = client.bottom - client.top;
    BuildSideBarStrip(itemDC, height);
    LoadSideBarPicture();
    // "Very Fancy" keeps the picture still at the bottom; "Dancy" leaves it to the animation timer.
    if (settings.menuStyle == MENU_STYLE_VERY_FANCY && sideBarImageList)
        ImageList_Draw(sideBarImageList, 0, itemDC, 0, height - SIDE_BAR_PICTURE_HEIGHT - 3, ILD_TRANSPARENT);
    sideBarPainted = true;
}

LRESULT DrawBookmarkItem(DRAWITEMSTRUCT *request)
{
    if (request->CtlType != ODT_MENU)
        return 1;
    HDC dc = request->hDC;
    bool selected = (request->itemState & ODS_SELECTED) != 0;
    int position;
    const BookmarkEntry *entry = IsSourceHeader(request->itemData) ? nullptr : EntryOfItem(request->itemID, &position);
    COLORREF previousText = 0, previousBack = 0;
    bool coloured = entry && selected;
    if (coloured) {
        previousText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        previousBack = SetBkColor(dc, highlightColorCache);
        selectedItemRecord = *request;
        highlightedEntry = position;
    }
    if (entry && !IsSeparator(*entry)) {
        RECT r = request->rcItem;
        int height = r.bottom - r.top;
        bool folder = IsFolderStart(*entry);
        if (folder)
            r.right -= CheckMarkWidth();
        int offset = (InSideBarColumn(request->itemData) ? SIDE_BAR_WIDTH : 0) + height + 2;
        DrawEntryText(request, r, offset, *entry, folder);
        DrawEntryIcon(request, r, *entry, position);
    } else if (entry || IsSourceHeader(request->itemData)) {
        DrawEtchedItem(request);
    }
    if (InSideBarColumn(request->itemData) && !sideBarPainted)
        RenderSideBar(dc);
    if (coloured) {
        SetTextColor(dc, previousText);
        SetBkColor(dc, previousBack);
    }
    return 1;
}

static bool IsDefaultItem(HMENU menu, UINT itemId)
{
    return menu && GetMenuDefaultItem(menu, FALSE, 0) == itemId;
}

LRESULT MeasureCustomItem(MEASUREITEMSTRUCT *request)
{
    if (request->CtlType != ODT_MENU)
        return 1;
    HWND window = FindWindowA("#32768", nullptr);
    HDC dc = GetDC(window);
    HFONT font, previousFont;
    SetMenuFont(dc, 0, IsDefaultItem(currentOtherPopup, request->itemID), &font, &previousFont);
    char text[256] = "";
    LoadStringA(appInstance, request->itemID, text, sizeof text);
    SIZE size = MeasureText(dc, text);
    request->itemHeight = size.cy + ITEM_MARGIN;
    request->itemWidth = size.cx;
    RemoveMenuFont(dc, font, previousFont);
    ReleaseDC(window, dc);
    return 1;
}

// Grey text of a disabled item; unselected it is engraved: a light copy one pixel down and right first.
static void DrawDisabledText(HDC dc, const char *text, RECT place, bool selected)
{
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColor = GetTextColor(dc);
    if (!selected) {
        RECT shifted = place;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text, -1, &shifted, DT_SINGLELINE | DT_VCENTER);
    }
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text, -1, &place, DT_SINGLELINE | DT_VCENTER);
    SetTextColor(dc, previousColor);
    SetBkMode(dc, previousMode);
}

LRESULT DrawCustomItem(DRAWITEMSTRUCT *request)
{
    if (request->CtlType != ODT_MENU)
        return 1;
    HDC dc = request->hDC;
    const RECT &r = request->rcItem;
    bool selected = (request->itemState & ODS_SELECTED) != 0;
    bool disabled = (request->itemState & ODS_DISABLED) != 0;
    HFONT font, previousFont;
    SetMenuFont(dc, 0, IsDefaultItem(reinterpret_cast<HMENU>(request->hwndItem), request->itemID), &font,
                &previousFont);
    COLORREF previousText = 0, previousBack = 0;
    if (selected) {
        previousText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        previousBack = SetBkColor(dc, highlightColorCache);
    }

    RECT cell = IconCell(r, r.left);
    HICON icon = static_cast<HICON>(
        LoadImageA(appInstance, MAKEINTRESOURCEA(request->itemID), IMAGE_ICON, ICON_SIZE, ICON_SIZE, 0));
    if (selected && !disabled && icon)
        DrawEdge(dc, &cell, BDR_RAISEDOUTER, BF_RECT | BF_SOFT);
    else
        FillWithSysColor(dc, cell, COLOR_MENU);
    CentreInCell(cell);
    if (icon)
        DrawIconEx(dc, cell.left + 1, cell.top + 1, icon, ICON_SIZE, ICON_SIZE, 0, nullptr, DI_NORMAL);

    RECT area = {icon ? cell.left + CUSTOM_TEXT_INDENT : cell.left, cell.top - 1, r.right, r.bottom};
    FillWithSysColor(dc, area, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    char text[256] = "";
    LoadStringA(appInstance, request->itemID, text, sizeof text);
    RECT place = area;
    place.left = cell.left + CUSTOM_TEXT_INDENT + 3;
    if (disabled) {
        DrawDisabledText(dc, text, place, selected);
    } else {
        // DrawText underlines the letter after an ampersand: the command's mnemonic.
        DrawTextA(dc, text, -1, &place, DT_SINGLELINE | DT_VCENTER);
    }

    RemoveMenuFont(dc, font, previousFont);
    if (selected) {
        SetTextColor(dc, previousText);
        SetBkColor(dc, previousBack);
    }
    if (icon)
        DestroyIcon(icon);
    return 1;
}

void PaintSideBarFrame(HDC dc, int height, int pictureTop)
{
    // Only the strip's own 22 columns: beyond them a memory bitmap has nothing defined to copy.
    if (sideBarStrip)
        BitBlt(dc, 0, 0, STRIP_WIDTH, height, sideBarStrip, 0, 0, SRCCOPY);
    if (sideBarImageList)
        ImageList_Draw(sideBarImageList, 0, dc, 0, pictureTop, ILD_TRANSPARENT);
}

void FreeSideBar()
{
    DeleteSideBarStrip();
    if (sideBarImageList) {
        ImageList_Destroy(sideBarImageList);
        sideBarImageList = nullptr;
    }
    if (sideBarBitmap) {
        DeleteObject(sideBarBitmap);
        sideBarBitmap = nullptr;
    }
    sideBarPainted = false;
}
