// Measuring and drawing menu items into a memory device context, checked pixel by pixel where it matters.
#include "base/settings.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/shell.h"
#include "bookmarks/bookmark_table.h"
#include "menu/icon_sets.h"
#include "menu/menu_builder.h"
#include "menu/owner_draw.h"
#include "tests/support/gdi_counter_win.h"

namespace {

const int CANVAS_WIDTH = 320;
const int MENU_HEIGHT = 300;  // the client height of the stand-in menu window
const COLORREF BACKGROUND = RGB(1, 2, 3);
const COLORREF HIGHLIGHT = RGB(200, 40, 0);
const COLORREF MENU = RGB(20, 200, 240);
const COLORREF GLOBE_BLUE = RGB(32, 96, 208);      // the bookmark picture's sea
const COLORREF OPEN_FLAP = RGB(255, 236, 140);     // the open folder's lit front
const COLORREF CLOSED_BODY = RGB(248, 208, 72);    // the closed folder's body

int bookmark, longBookmark, folder, mailLink, separator, afterFolder;

class OwnerDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_NETSCAPE);
        bookmark = AppendRecord(cursor, "Alpha & Omega", "http://example.com/");
        longBookmark = AppendRecord(cursor, std::string(120, 'W').c_str(), "http://example.com/long");
        mailLink = AppendRecord(cursor, "Write to us", "mailto:someone@example.com");
        separator = AppendRecord(cursor, "Separator", SEPARATOR);
        folder = AppendRecord(cursor, "Folder", OPEN_FOLDER);
        afterFolder = AppendRecord(cursor, "Inside", "http://example.com/inside");
        AppendRecord(cursor, "Folder", CLOSE_FOLDER);
        LoadIconSets();
        menuWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, MENU_HEIGHT, nullptr, nullptr,
                                     appInstance, nullptr);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(menuWindow);
        menuWindow = nullptr;
        FreeSideBar();
        DestroyIconSets();
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }

    void SetUp() override
    {
        settings = Settings{};
        settings.menuStyle = MENU_STYLE_FANCY;
        settings.iconStyle = ICON_STYLE_NETSCAPE;
        highlightColorCache = HIGHLIGHT;
        menuColorCache = MENU;
        sideBarPainted = false;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = CANVAS_WIDTH;
        info.bmiHeader.biHeight = -MENU_HEIGHT;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits;
        dc = CreateCompatibleDC(nullptr);
        canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previousBitmap = SelectObject(dc, canvas);
        Clear();
    }
    void TearDown() override
    {
        // TRESK_PICTURE_DIR=dir keeps what each test drew, to look at.
        if (const char *dir = std::getenv("TRESK_PICTURE_DIR"))
            SaveCanvas((std::string(dir) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp").c_str());
        SelectObject(dc, previousBitmap);
        DeleteObject(canvas);
        DeleteDC(dc);
    }

    void Clear()
    {
        RECT all = {0, 0, CANVAS_WIDTH, MENU_HEIGHT};
        HBRUSH brush = CreateSolidBrush(BACKGROUND);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, MENU);
    }

    DRAWITEMSTRUCT Request(UINT id, ULONG_PTR data, UINT state, RECT rect)
    {
        DRAWITEMSTRUCT request = {};
        request.CtlType = ODT_MENU;
        request.itemID = id;
        request.itemAction = ODA_DRAWENTIRE;
        request.itemState = state;
        request.hDC = dc;
        request.rcItem = rect;
        request.itemData = data;
        return request;
    }
    void Draw(UINT id, ULONG_PTR data, UINT state, RECT rect)
    {
        DRAWITEMSTRUCT request = Request(id, data, state, rect);
        EXPECT_EQ(DrawBookmarkItem(&request), 1);
    }

    void SaveCanvas(const char *path)
    {
        DIBSECTION section;
        GetObjectA(canvas, sizeof section, &section);
        DWORD size = section.dsBmih.biSizeImage ? section.dsBmih.biSizeImage : CANVAS_WIDTH * MENU_HEIGHT * 4;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof section.dsBmih;
        file.bfSize = file.bfOffBits + size;
        BITMAPINFOHEADER header = section.dsBmih;
        header.biHeight = -MENU_HEIGHT;
        HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(out, &file, sizeof file, &written, nullptr);
        WriteFile(out, &header, sizeof header, &written, nullptr);
        WriteFile(out, section.dsBm.bmBits, size, &written, nullptr);
        CloseHandle(out);
    }

    COLORREF Pixel(int x, int y) { return GetPixel(dc, x, y); }
    // The rightmost column of area holding a pixel other than colour, or area.left - 1.
    int RightmostOther(RECT area, COLORREF colour)
    {
        for (int x = area.right - 1; x >= area.left; x--)
            for (int y = area.top; y < area.bottom; y++)
                if (Pixel(x, y) != colour)
                    return x;
        return area.left - 1;
    }
    int CountColour(RECT area, COLORREF colour)
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; y++)
            for (int x = area.left; x < area.right; x++)
                count += Pixel(x, y) == colour;
        return count;
    }

    HDC dc;
    HBITMAP canvas;
    HGDIOBJ previousBitmap;
};

// The menu font's text size, made here without the code under test; delta as for the header font.
SIZE MenuTextSize(const char *text, int delta)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA font = metrics.lfMenuFont;
    if (delta) {
        font.lfWidth = 0;
        font.lfHeight = font.lfHeight > 0 ? font.lfHeight + delta : font.lfHeight - delta;
        font.lfFaceName[0] = '\0';
        if ((font.lfOutPrecision & 7) == 0)
            font.lfOutPrecision |= OUT_TT_ONLY_PRECIS;
    }
    HDC screen = GetDC(nullptr);
    HFONT made = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(screen, made);
    SIZE size;
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &size);
    SelectObject(screen, previous);
    DeleteObject(made);
    ReleaseDC(nullptr, screen);
    return size;
}

MEASUREITEMSTRUCT Measure(UINT id, ULONG_PTR data)
{
    MEASUREITEMSTRUCT request = {};
    request.CtlType = ODT_MENU;
    request.itemID = id;
    request.itemData = data;
    EXPECT_EQ(MeasureBookmarkItem(&request), 1);
    return request;
}

int CheckWidth() { return LOWORD(GetMenuCheckMarkDimensions()); }

TEST_F(OwnerDraw, BookmarkItemsAreTextHeightPlusSixAndIconCellWide)
{
    struct Case {
        const char *label;
        int *entry;
        const char *text;
        bool sideBarColumn;
        int style;
        int limit;  // 0: no width limit
        int extraWidth;  // besides the text: -1 means "limit - 18 (- check mark for a folder)"
    };
    const Case cases[] = {
        {"plain bookmark", &bookmark, "Alpha & Omega", false, MENU_STYLE_FANCY, 0, 18},
        {"bookmark under a wide limit", &bookmark, "Alpha & Omega", false, MENU_STYLE_FANCY, 2000, 18},
        {"side-bar column, Very Fancy", &bookmark, "Alpha & Omega", true, MENU_STYLE_VERY_FANCY, 0, 18 + 24},
        {"side-bar column, Dancy", &bookmark, "Alpha & Omega", true, MENU_STYLE_DANCY, 0, 18 + 24},
        {"side-bar flag in Fancy style", &bookmark, "Alpha & Omega", true, MENU_STYLE_FANCY, 0, 18},
        {"folder keeps room for its arrow", &folder, "Folder", false, MENU_STYLE_FANCY, 0, 18 + CheckWidth()},
        {"separator measured from its name", &separator, "Separator", false, MENU_STYLE_FANCY, 0, 18},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        settings.menuStyle = c.style;
        settings.limitItemWidth = c.limit != 0;
        settings.itemWidth = c.limit;
        SIZE text = MenuTextSize(c.text, 0);
        MEASUREITEMSTRUCT got = Measure(CommandIdForEntry(*c.entry), c.sideBarColumn ? SIDE_BAR_COLUMN_FLAG : 0x1234);
        EXPECT_EQ(got.itemHeight, UINT(text.cy + 6));
        EXPECT_EQ(got.itemWidth, UINT(text.cx + c.extraWidth));
    }
}

TEST_F(OwnerDraw, WidthLimitCutsLongItemsToLimitLessIconRoom)
{
    settings.limitItemWidth = 1;
    settings.itemWidth = 250;
    ASSERT_GT(MenuTextSize(std::string(120, 'W').c_str(), 0).cx, 400);
    EXPECT_EQ(Measure(CommandIdForEntry(longBookmark), 0).itemWidth, 232u);
    settings.menuStyle = MENU_STYLE_VERY_FANCY;
    EXPECT_EQ(Measure(CommandIdForEntry(longBookmark), SIDE_BAR_COLUMN_FLAG).itemWidth, 232u + 24);
    EXPECT_EQ(Measure(CommandIdForEntry(longBookmark), 0).itemWidth, 232u);
    settings.itemWidth = 5;  // absurd: no negative width
    EXPECT_EQ(Measure(CommandIdForEntry(longBookmark), 0).itemWidth, 0u);
}

TEST_F(OwnerDraw, HeadersUseTheSmallerFontAndAreWiderBySixOrThirty)
{
    const struct { intptr_t data; const char *text; } headers[] = {
        {SOURCE_HEADER_NETSCAPE, "Netscape"}, {SOURCE_HEADER_FAVORITES, "Internet Explorer"}, {SOURCE_HEADER_OPERA, "Opera"}};
    for (auto header : headers) {
        SCOPED_TRACE(header.text);
        SIZE text = MenuTextSize(header.text, -1);
        for (int style : {1, 2, 3}) {
            settings.menuStyle = style;
            MEASUREITEMSTRUCT got = Measure(0, static_cast<ULONG_PTR>(header.data));
            EXPECT_EQ(got.itemHeight, UINT(text.cy + 6));
            EXPECT_EQ(got.itemWidth, UINT(text.cx + (style >= 2 ? 30 : 6)));
        }
    }
}

TEST_F(OwnerDraw, OnlyMenuRequestsAreHandled)
{
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_BUTTON;
    measure.itemWidth = 77;
    EXPECT_EQ(MeasureBookmarkItem(&measure), 1);
    EXPECT_EQ(MeasureCustomItem(&measure), 1);
    EXPECT_EQ(measure.itemWidth, 77u);
    DRAWITEMSTRUCT request = Request(bookmark, 0, ODS_SELECTED, RECT{0, 0, 200, 22});
    request.CtlType = ODT_LISTBOX;
    EXPECT_EQ(DrawBookmarkItem(&request), 1);
    EXPECT_EQ(DrawCustomItem(&request), 1);
    EXPECT_EQ(CountColour(RECT{0, 0, 200, 22}, BACKGROUND), 200 * 22);
}

TEST_F(OwnerDraw, SelectedBookmarkFillsTextAreaWithHighlightAndFramesItsIcon)
{
    highlightedEntry = 0;
    Draw(CommandIdForEntry(bookmark), 0, ODS_SELECTED, RECT{0, 0, 200, 22});
    // Text area from H + 2 = 24 to the right edge, one row above the item (clipped here) to its bottom.
    EXPECT_EQ(Pixel(24, 21), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(199, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(200, 10), BACKGROUND);
    EXPECT_GT(CountColour(RECT{27, 0, 200, 22}, GetSysColor(COLOR_HIGHLIGHTTEXT)), 20) << "the name in highlight text";
    // The icon cell (0, 0)-(24, 22) has a raised frame (its dark side shows on any menu colour), and the
    // 32 x 32 picture stands centred at (3, 2).
    EXPECT_NE(Pixel(23, 21), GetSysColor(COLOR_MENU));
    EXPECT_EQ(Pixel(3 + 4, 2 + 6), GLOBE_BLUE);
    EXPECT_EQ(highlightedEntry, bookmark);
    EXPECT_EQ(selectedItemRecord.itemID, UINT(CommandIdForEntry(bookmark)));
    EXPECT_EQ(selectedItemRecord.rcItem.right, 200);
    // The caller's colours come back.
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), MENU);
}

TEST_F(OwnerDraw, UnselectedItemsHaveMenuColouredCellAndText)
{
    Draw(CommandIdForEntry(bookmark), 0, 0, RECT{0, 30, 200, 52});
    EXPECT_EQ(Pixel(0, 29), GetSysColor(COLOR_MENU)) << "cell starts a row above the item";
    EXPECT_EQ(Pixel(23, 51), GetSysColor(COLOR_MENU));
    EXPECT_EQ(Pixel(24, 29), GetSysColor(COLOR_MENU)) << "text area starts a row above the item";
    EXPECT_EQ(Pixel(199, 51), GetSysColor(COLOR_MENU));
    EXPECT_EQ(Pixel(3 + 5, 32 + 6), GLOBE_BLUE);
}

TEST_F(OwnerDraw, FoldersShowOpenPictureWhenSelectedWithoutFrame)
{
    Draw(CommandIdForEntry(folder), 0, ODS_SELECTED, RECT{0, 0, 200, 22});
    EXPECT_EQ(Pixel(3 + 3, 2 + 7), OPEN_FLAP);
    EXPECT_EQ(Pixel(23, 21), GetSysColor(COLOR_MENU)) << "no raised frame on a folder";
    // The highlight runs on over the arrow area at the right.
    EXPECT_EQ(Pixel(199, 10), GetSysColor(COLOR_HIGHLIGHT));
    Clear();
    Draw(CommandIdForEntry(folder), 0, 0, RECT{0, 0, 200, 22});
    EXPECT_EQ(Pixel(3 + 3, 2 + 7), CLOSED_BODY);
}

TEST_F(OwnerDraw, SelectedMailLinkHasNoFrame)
{
    Draw(CommandIdForEntry(mailLink), 0, ODS_SELECTED, RECT{0, 0, 200, 22});
    EXPECT_EQ(Pixel(23, 21), GetSysColor(COLOR_MENU));
}

TEST_F(OwnerDraw, SideBarColumnMovesIconAndTextRight)
{
    settings.menuStyle = MENU_STYLE_VERY_FANCY;
    sideBarPainted = true;  // keep the picture out of this check
    Draw(CommandIdForEntry(bookmark), SIDE_BAR_COLUMN_FLAG, 0, RECT{0, 0, 200, 22});
    EXPECT_EQ(Pixel(3, 10), BACKGROUND) << "the side-bar column is left to the side bar";
    EXPECT_EQ(Pixel(24, 0), GetSysColor(COLOR_MENU)) << "the icon cell moves 24 pixels right";
    EXPECT_EQ(Pixel(24 + 3 + 4, 2 + 6), GLOBE_BLUE);
    EXPECT_EQ(Pixel(47, 10), GetSysColor(COLOR_MENU));
    EXPECT_EQ(Pixel(48, 10), GetSysColor(COLOR_MENU));
}

TEST_F(OwnerDraw, SeparatorIsAnEtchedLineAcrossTheItem)
{
    sideBarPainted = true;
    Draw(CommandIdForEntry(separator), 0, 0, RECT{10, 40, 200, 50});
    for (int x : {10, 100, 199}) {
        EXPECT_EQ(Pixel(x, 45), GetSysColor(COLOR_GRAYTEXT)) << x;
        EXPECT_EQ(Pixel(x, 46), GetSysColor(COLOR_BTNHIGHLIGHT)) << x;
        EXPECT_EQ(Pixel(x, 44), BACKGROUND) << x;
        EXPECT_EQ(Pixel(x, 47), BACKGROUND) << x;
    }
    EXPECT_EQ(Pixel(9, 45), BACKGROUND);
    EXPECT_FALSE(sideBarPainted) << "a separator asks for the side bar to be painted again";
}

TEST_F(OwnerDraw, HeaderIsAnEmbossedLabelOnAnEtchedLine)
{
    const struct { int style; int lineStart; } cases[] = {{MENU_STYLE_FANCY, 30}, {MENU_STYLE_VERY_FANCY, 54}};
    for (auto c : cases) {
        SCOPED_TRACE(c.style);
        settings.menuStyle = c.style;
        Clear();
        RECT r = {0, 0, 300, 20};
        Draw(0, static_cast<ULONG_PTR>(SOURCE_HEADER_FAVORITES), 0, r);
        EXPECT_EQ(Pixel(c.lineStart, 10), GetSysColor(COLOR_GRAYTEXT));
        EXPECT_EQ(Pixel(c.lineStart, 11), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(Pixel(c.lineStart - 1, 10), BACKGROUND);
        EXPECT_EQ(Pixel(269, 10), GetSysColor(COLOR_GRAYTEXT));
        EXPECT_EQ(Pixel(270, 10), BACKGROUND);
        // The label's box interrupts the line, filled with the background colour, with text in both colours.
        EXPECT_EQ(Pixel(150, 10) == GetSysColor(COLOR_GRAYTEXT), false);
        RECT label = {80, 0, 220, 20};
        EXPECT_GT(CountColour(label, GetSysColor(COLOR_MENUTEXT)), 10);
        EXPECT_GT(CountColour(label, GetSysColor(COLOR_HIGHLIGHTTEXT)), 5);
        EXPECT_GT(CountColour(label, MENU), 10);
    }
}

TEST_F(OwnerDraw, SideBarStripFadesFromHighlightAtBottomToMenuColourAtTop)
{
    settings.menuStyle = MENU_STYLE_DANCY;
    Draw(CommandIdForEntry(bookmark), SIDE_BAR_COLUMN_FLAG, 0, RECT{0, 0, 200, 22});
    ASSERT_TRUE(sideBarPainted);
    ASSERT_NE(sideBarStrip, nullptr);
    EXPECT_EQ(GetPixel(sideBarStrip, 0, MENU_HEIGHT - 1), HIGHLIGHT);
    EXPECT_EQ(GetPixel(sideBarStrip, 21, MENU_HEIGHT - 1), HIGHLIGHT);
    // Row i from the bottom has c1 - i * (c1 - c2) / M per channel, truncated.
    int i = MENU_HEIGHT - 1;
    COLORREF top = RGB(int(200 - i * (180.0 / MENU_HEIGHT)), int(40 - i * (-160.0 / MENU_HEIGHT)),
                       int(0 - i * (-240.0 / MENU_HEIGHT)));
    EXPECT_EQ(GetPixel(sideBarStrip, 10, 0), top);
    // Dancy leaves the picture to the animation: nothing in the item's column.
    EXPECT_EQ(CountColour(RECT{0, 0, 24, MENU_HEIGHT}, BACKGROUND), 24 * MENU_HEIGHT);

    // Painted once: a second item does not rebuild it, new colours after a separator do.
    HDC strip = sideBarStrip;
    Draw(CommandIdForEntry(afterFolder), SIDE_BAR_COLUMN_FLAG, 0, RECT{0, 22, 200, 44});
    EXPECT_EQ(sideBarStrip, strip);
    highlightColorCache = RGB(0, 0, 255);
    Draw(CommandIdForEntry(separator), SIDE_BAR_COLUMN_FLAG, 0, RECT{0, 44, 200, 54});
    EXPECT_TRUE(sideBarPainted);
    EXPECT_EQ(GetPixel(sideBarStrip, 0, MENU_HEIGHT - 1), RGB(0, 0, 255));
}

TEST_F(OwnerDraw, VeryFancyStandsThePictureAtTheBottomOfTheFirstColumn)
{
    settings.menuStyle = MENU_STYLE_VERY_FANCY;
    Draw(CommandIdForEntry(bookmark), SIDE_BAR_COLUMN_FLAG, 0, RECT{0, 0, 200, 22});
    ASSERT_TRUE(sideBarPainted);
    ASSERT_NE(sideBarImageList, nullptr);
    int top = MENU_HEIGHT - 200 - 3;
    RECT picture = {0, top, 22, top + 200};
    int drawn = 22 * 200 - CountColour(picture, BACKGROUND);
    EXPECT_GT(drawn, 300) << "the lettering and the emblem";
    EXPECT_LT(drawn, 22 * 200 / 2) << "olive is transparent";
    EXPECT_EQ(CountColour(picture, RGB(128, 128, 0)), 0);
    EXPECT_EQ(CountColour(RECT{0, 22, 24, top}, BACKGROUND), 24 * (top - 22)) << "nothing above the picture";
    EXPECT_EQ(CountColour(RECT{0, top + 200, 24, MENU_HEIGHT}, BACKGROUND), 24 * 3);
}

TEST_F(OwnerDraw, NoSideBarOutsideTheFirstColumnOrInFancyStyle)
{
    settings.menuStyle = MENU_STYLE_VERY_FANCY;
    Draw(CommandIdForEntry(bookmark), 0, 0, RECT{0, 0, 200, 22});
    EXPECT_FALSE(sideBarPainted);
    settings.menuStyle = MENU_STYLE_FANCY;
    Draw(CommandIdForEntry(bookmark), SIDE_BAR_COLUMN_FLAG, 0, RECT{0, 0, 200, 22});
    EXPECT_FALSE(sideBarPainted);
}

TEST_F(OwnerDraw, IconSetFollowsStyleOrSource)
{
    ReaderCursor cursor;
    int netscape = bookmark;
    StartReading(cursor, SOURCE_FAVORITES);
    int favorites = AppendRecord(cursor, "IE", "http://ie.example/");
    StartReading(cursor, SOURCE_OPERA);
    int opera = AppendRecord(cursor, "Opera", "http://opera.example/");
    const struct { int style; int expected[3]; } cases[] = {
        {ICON_STYLE_NETSCAPE, {0, 0, 0}}, {ICON_STYLE_IE, {1, 1, 1}},
        {ICON_STYLE_OPERA, {2, 2, 2}}, {ICON_STYLE_PER_SOURCE, {0, 1, 2}}, {17, {0, 0, 0}}};
    for (auto c : cases) {
        settings.iconStyle = c.style;
        EXPECT_EQ(IconSetForEntry(netscape), c.expected[0]) << c.style;
        EXPECT_EQ(IconSetForEntry(favorites), c.expected[1]) << c.style;
        EXPECT_EQ(IconSetForEntry(opera), c.expected[2]) << c.style;
    }
    settings.iconStyle = ICON_STYLE_PER_SOURCE;
    bookmarkTable.entries[opera].source = 9;
    EXPECT_EQ(IconSetForEntry(opera), 0);
    EXPECT_EQ(IconSetForEntry(-1), 0);
    EXPECT_EQ(IconSetForEntry(bookmarkTable.entryCount), 0);
    bookmarkTable.entryCount -= 2;  // the two records belong to this test only
}

TEST_F(OwnerDraw, SourceHeadersAreMinusOneToMinusFive)
{
    for (int header = -1; header >= -5; header--)
        EXPECT_TRUE(IsSourceHeader(static_cast<ULONG_PTR>(header))) << header;
    EXPECT_TRUE(IsSourceHeader(0xFFFFFFFEu)) << "-2 stored without sign extension";
    EXPECT_FALSE(IsSourceHeader(static_cast<ULONG_PTR>(-6)));
    EXPECT_FALSE(IsSourceHeader(0));
    EXPECT_FALSE(IsSourceHeader(SIDE_BAR_COLUMN_FLAG));
}

TEST_F(OwnerDraw, MenuFontShrinksForHeadersAndBoldensDefaults)
{
    HFONT font, previous;
    SetMenuFont(dc, -1, true, &font, &previous);
    LOGFONTA made;
    GetObjectA(font, sizeof made, &made);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    int height = metrics.lfMenuFont.lfHeight;
    EXPECT_EQ(made.lfHeight, height > 0 ? height - 1 : height + 1);
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_EQ(made.lfWidth, 0);
    EXPECT_STREQ(made.lfFaceName, "");
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    RemoveMenuFont(dc, font, previous);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), previous);
    EXPECT_EQ(GetObjectType(font), 0u) << "the created font is deleted";
}

class CustomItems : public OwnerDraw {};

TEST_F(CustomItems, MeasuredFromTheStringTableWithTheDefaultItemBold)
{
    SIZE text = MenuTextSize("&Open Bookmarks in a Long Label", 0);
    MEASUREITEMSTRUCT request = {};
    request.CtlType = ODT_MENU;
    request.itemID = 4002;
    currentOtherPopup = nullptr;
    EXPECT_EQ(MeasureCustomItem(&request), 1);
    EXPECT_EQ(request.itemHeight, UINT(text.cy + 6));
    EXPECT_EQ(request.itemWidth, UINT(text.cx));
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_OWNERDRAW, 4002, nullptr);
    SetMenuDefaultItem(popup, 4002, FALSE);
    currentOtherPopup = popup;
    MeasureCustomItem(&request);
    EXPECT_GT(request.itemWidth, UINT(text.cx)) << "the default item is measured bold";
    currentOtherPopup = nullptr;
    DestroyMenu(popup);
}

TEST_F(CustomItems, SelectedItemWithIconIsFramedAndHighlighted)
{
    DRAWITEMSTRUCT request = Request(4002, 0, ODS_SELECTED, RECT{0, 0, 250, 22});
    DrawCustomItem(&request);
    EXPECT_NE(Pixel(23, 21), GetSysColor(COLOR_MENU));
    // Cell 24 x 22 centred: corner (2, 2), icon one pixel right and down.
    EXPECT_EQ(Pixel(3 + 5, 3 + 5), GLOBE_BLUE);
    EXPECT_EQ(Pixel(2 + 19, 10), GetSysColor(COLOR_HIGHLIGHT)) << "text area from the cell's left + 19";
    EXPECT_EQ(Pixel(249, 21), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(CountColour(RECT{24, 0, 250, 22}, GetSysColor(COLOR_HIGHLIGHTTEXT)), 20);
}

TEST_F(CustomItems, ItemWithoutIconIsNeverFramed)
{
    DRAWITEMSTRUCT request = Request(4003, 0, ODS_SELECTED, RECT{0, 0, 250, 22});
    DrawCustomItem(&request);
    EXPECT_EQ(Pixel(1, 21), GetSysColor(COLOR_MENU)) << "no frame's lower edge";
    EXPECT_EQ(Pixel(3, 10), GetSysColor(COLOR_HIGHLIGHT)) << "the text area starts at the cell";
}

TEST_F(CustomItems, DisabledTextIsEngravedUnlessSelected)
{
    RECT textArea = {24, 0, 250, 22};
    DRAWITEMSTRUCT request = Request(4002, 0, ODS_DISABLED, RECT{0, 0, 250, 22});
    DrawCustomItem(&request);
    EXPECT_GT(CountColour(textArea, GetSysColor(COLOR_GRAYTEXT)), 20);
    EXPECT_GT(CountColour(textArea, GetSysColor(COLOR_BTNHIGHLIGHT)), 20);
    EXPECT_EQ(Pixel(23, 21), GetSysColor(COLOR_MENU)) << "a disabled item gets no frame";
    Clear();
    request.itemState = ODS_DISABLED | ODS_SELECTED;
    DrawCustomItem(&request);
    EXPECT_GT(CountColour(textArea, GetSysColor(COLOR_GRAYTEXT)), 20);
    EXPECT_EQ(CountColour(textArea, GetSysColor(COLOR_BTNHIGHLIGHT)), 0);
}

TEST_F(CustomItems, DefaultItemOfTheDrawnMenuIsBold)
{
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_OWNERDRAW, 4002, nullptr);
    DRAWITEMSTRUCT request = Request(4002, 0, 0, RECT{0, 0, 300, 22});
    request.hwndItem = reinterpret_cast<HWND>(popup);
    DrawCustomItem(&request);
    int normal = RightmostOther(RECT{24, 3, 300, 20}, GetSysColor(COLOR_MENU));
    Clear();
    SetMenuDefaultItem(popup, 4002, FALSE);
    DrawCustomItem(&request);
    int bold = RightmostOther(RECT{24, 3, 300, 20}, GetSysColor(COLOR_MENU));
    EXPECT_GT(normal, 100);
    EXPECT_GT(bold, normal + 5) << "bold text runs further right";
    DestroyMenu(popup);
}

// A leak of one object per request would show as 1,000 more live objects.
TEST_F(OwnerDraw, ThousandRequestsLeaveNoGdiObjectBehind)
{
    StartCountingGdiObjects();
    long probe = LiveGdiObjects();
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    ASSERT_EQ(LiveGdiObjects(), probe + 1) << "the counting must see this program's calls";
    DeleteObject(pen);

    auto drawAll = [&](int n) {
        for (int i = 0; i < n; i++) {
            settings.menuStyle = MENU_STYLE_VERY_FANCY + i % 2;
            sideBarPainted = false;
            Draw(CommandIdForEntry(bookmark), SIDE_BAR_COLUMN_FLAG, i % 3 ? 0 : ODS_SELECTED, RECT{0, 0, 200, 22});
            Draw(CommandIdForEntry(folder), 0, ODS_SELECTED, RECT{0, 22, 200, 44});
            Draw(CommandIdForEntry(separator), 0, 0, RECT{0, 44, 200, 54});
            Draw(0, static_cast<ULONG_PTR>(SOURCE_HEADER_OPERA), 0, RECT{0, 54, 200, 74});
            Measure(CommandIdForEntry(bookmark), SIDE_BAR_COLUMN_FLAG);
            Measure(0, static_cast<ULONG_PTR>(SOURCE_HEADER_NETSCAPE));
            MEASUREITEMSTRUCT custom = {};
            custom.CtlType = ODT_MENU;
            custom.itemID = 4002;
            MeasureCustomItem(&custom);
            DRAWITEMSTRUCT request = Request(4002, 0, i % 2 ? ODS_SELECTED : ODS_DISABLED, RECT{0, 74, 250, 96});
            DrawCustomItem(&request);
        }
    };
    drawAll(2);  // the picture, its image list and the strip stay: made once
    long before = LiveGdiObjects();
    DWORD guiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    drawAll(1000);
    EXPECT_EQ(LiveGdiObjects(), before);
    DWORD guiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (guiBefore != 0) {  // Wine answers 0: not implemented there
        EXPECT_EQ(guiAfter, guiBefore);
    }
    FreeSideBar();
    EXPECT_EQ(sideBarStrip, nullptr);
    EXPECT_EQ(sideBarImageList, nullptr);
}

}  // namespace
