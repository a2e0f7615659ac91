// Measuring and drawing menu items into a memory device context, checked pixel by pixel where it matters.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "base/app_state.h"
#include "base/settings.h"
#include "bookmarks/bookmark_table.h"
#include "menu/icon_sets.h"
#include "menu/menu_builder.h"
#include "menu/owner_draw.h"
#include "tests/support/gdi_counter_win.h"
#include "tests/support/win_test_helpers.h"

const int HEIGHT = 300;  // the client height of the stand-in menu window
const COLORREF BACKGROUND = RGB(1, 2, 3), HIGHLIGHT = RGB(200, 40, 0), MENU = RGB(20, 200, 240);
const COLORREF GLOBE = RGB(32, 96, 208), OPEN_FLAP = RGB(255, 236, 140), CLOSED_BODY = RGB(248, 208, 72);
// Command ids of the items of the table below: position + 1.
const UINT BOOKMARK = 1, LONG_NAME = 2, SEPARATOR_ITEM = 3, FOLDER = 4, MAIL = 7;
const ULONG_PTR FLAG = SIDE_BAR_COLUMN_FLAG, OPERA = ULONG_PTR(SOURCE_HEADER_OPERA);

// A table of the records above and a menu window to measure against, made once.
void Prepare(int style)
{
    if (!menuWindow) {
        AppendLines(SOURCE_NETSCAPE, {"Alpha & Omega", std::string(120, 'W'), "-", "[Folder", "Inside", "]", "mailto:us"});
        LoadIconSets();
        menuWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, HEIGHT, nullptr, nullptr, appInstance, nullptr);
    }
    StartCountingGdiObjects();
    settings = Settings();
    settings.menuStyle = style;
    highlightColorCache = HIGHLIGHT;
    menuColorCache = MENU;
}

// The menu font's text size, the font made here from the non-client metrics as the drawing code must make it.
SIZE TextSize(const char *text, int sizeDelta, bool bold = false)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA font = metrics.lfMenuFont;
    font.lfWeight = bold ? FW_BOLD : font.lfWeight;
    if (sizeDelta) {  // a size of its own wants a scalable face of the system's choice
        font.lfWidth = 0;
        font.lfHeight = font.lfHeight > 0 ? font.lfHeight + sizeDelta : font.lfHeight - sizeDelta;
        font.lfFaceName[0] = '\0';
        font.lfOutPrecision |= (font.lfOutPrecision & 7) == 0 ? OUT_TT_ONLY_PRECIS : 0;
    }
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, CreateFontIndirectA(&font));
    SIZE size;
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &size);
    DeleteObject(SelectObject(screen, previous));
    ReleaseDC(nullptr, screen);
    return size;
}

// Width and height as "w x h".
std::string Size(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

std::string Measure(UINT id, ULONG_PTR data, bool custom = false)
{
    MEASUREITEMSTRUCT request = {ODT_MENU, 0, id, 0, 0, data};
    long before = LiveGdiObjects();
    (custom ? MeasureCustomItem : MeasureBookmarkItem)(&request);
    EXPECT_EQ(LiveGdiObjects(), before) << "measuring " << id << " left a GDI object behind";
    return Size(request.itemWidth, request.itemHeight);
}

// Draws one item on a canvas whose text and background colours are black and MENU; the handler must
// give them back, and leave no GDI object behind but the side bar's four, made once: a leak per request
// would pile up over a menu's life.
std::unique_ptr<Canvas> Draw(bool custom, UINT id, ULONG_PTR data, UINT state, RECT rect, UINT type = ODT_MENU)
{
    auto canvas = std::make_unique<Canvas>(320, HEIGHT, BACKGROUND);
    SetBkColor(canvas->dc, MENU);
    DRAWITEMSTRUCT request = {type, 0, id, ODA_DRAWENTIRE, state, nullptr, canvas->dc, rect, data};
    bool hadSideBar = sideBarStrip;
    long before = LiveGdiObjects();
    EXPECT_EQ((custom ? DrawCustomItem : DrawBookmarkItem)(&request), 1);
    EXPECT_EQ(LiveGdiObjects() - before, (hadSideBar || !sideBarStrip) ? 0 : 4) << "the strip's bitmap and context, the picture and its image list";
    EXPECT_EQ(GetTextColor(canvas->dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(canvas->dc), MENU);
    return canvas;
}

TEST(OwnerDraw, ItemsAreTextHeightPlusSixAndAsWideAsTheirParts)
{
    const int arrow = LOWORD(GetMenuCheckMarkDimensions());
    // width -1: the text's width plus extra
    const struct { const char *label; int style; UINT id; ULONG_PTR data; const char *text; int sizeDelta, limit, extra, width; } rows[] = {
        {"bookmark: icon cell 18 before its name", 1, BOOKMARK, 0x1234, "Alpha & Omega", 0, 0, 18, -1},
        {"bookmark under a wide limit", 1, BOOKMARK, 0, "Alpha & Omega", 0, 2000, 18, -1},
        {"side-bar column of Very Fancy: 24 more", 2, BOOKMARK, FLAG, "Alpha & Omega", 0, 0, 42, -1},
        {"folder keeps room for its arrow", 1, FOLDER, 0, "Folder", 0, 0, 18 + arrow, -1},
        {"separator measured from its name", 1, SEPARATOR_ITEM, 0, "Separator", 0, 0, 18, -1},
        {"long name under a limit: the limit less 18", 1, LONG_NAME, 0, "W", 0, 250, 0, 232},
        {"limit in the side-bar column", 2, LONG_NAME, FLAG, "W", 0, 250, 0, 232 + 24},
        {"absurd limit: no width rather than a negative one", 1, LONG_NAME, 0, "W", 0, 5, 0, 0},
        {"Netscape header in the smaller font", 1, 0, ULONG_PTR(SOURCE_HEADER_NETSCAPE), "Netscape", -1, 0, 6, -1},
        {"Favorites header, Very Fancy", 2, 0, ULONG_PTR(SOURCE_HEADER_FAVORITES), "Internet Explorer", -1, 0, 30, -1},
        {"Opera header, Dancy", 3, 0, OPERA, "Opera", -1, 0, 30, -1},
        {"Chromium header: the browser whose file was found", 1, 0, ULONG_PTR(SOURCE_HEADER_CHROMIUM), "Microsoft Edge", -1, 0, 6, -1},
        {"Firefox header", 1, 0, ULONG_PTR(SOURCE_HEADER_FIREFOX), "Firefox", -1, 0, 6, -1},
    };
    for (const auto &row : rows) {
        Prepare(row.style);
        std::snprintf(settings.chromiumBookmarksPath, sizeof settings.chromiumBookmarksPath, "%s",
                      "C:\\users\\u\\AppData\\Local\\Microsoft\\Edge\\User Data\\Default\\Bookmarks");
        settings.limitItemWidth = row.limit != 0;
        settings.itemWidth = row.limit;
        SIZE text = TextSize(row.text, row.sizeDelta);
        EXPECT_EQ(Measure(row.id, row.data), Size(row.width >= 0 ? row.width : text.cx + row.extra, text.cy + 6)) << row.label;
    }
    // Command items: their string-table text, the menu's default item bold.
    const char *command = "&Open Bookmarks in a Long Label";
    SIZE plain = TextSize(command, 0), bold = TextSize(command, 0, true);
    EXPECT_EQ(Measure(4002, 0, true), Size(plain.cx, plain.cy + 6));
    currentOtherPopup = CreatePopupMenu();
    AppendMenuA(currentOtherPopup, MF_OWNERDRAW, 4002, nullptr);
    SetMenuDefaultItem(currentOtherPopup, 4002, FALSE);
    EXPECT_EQ(Measure(4002, 0, true), Size(bold.cx, bold.cy + 6));
    DestroyMenu(currentOtherPopup);
    currentOtherPopup = nullptr;
}

// A system colour in a probe, looked up when the probe is checked.
COLORREF Sys(int index) { return 0x80000000u | index; }
// How many pixels of a colour an area must hold: exactly one for a point, a range for an area.
struct Probe {
    RECT area;
    COLORREF colour;
    int least, most;
};
Probe At(int x, int y, COLORREF c) { return {{x, y, x + 1, y + 1}, c, 1, 1}; }
Probe Not(int x, int y, COLORREF c) { return {{x, y, x + 1, y + 1}, c, 0, 0}; }
Probe Some(RECT area, COLORREF c, int least, int most = 1 << 30) { return {area, c, least, most}; }

TEST(OwnerDraw, ItemsArePaintedWhereTheyBelong)
{
    const UINT SELECTED = ODS_SELECTED, DISABLED = ODS_DISABLED;
    const COLORREF HL = Sys(COLOR_HIGHLIGHT), HL_TEXT = Sys(COLOR_HIGHLIGHTTEXT), GRAY = Sys(COLOR_GRAYTEXT),
                   LIGHT = Sys(COLOR_BTNHIGHLIGHT), MENU_SYS = Sys(COLOR_MENU);
    const RECT item = {0, 0, 200, 22}, wide = {0, 0, 250, 22}, text = {24, 0, 250, 22}, label = {80, 0, 220, 20};
    const int top = HEIGHT - 200 - 3;  // the Very Fancy picture stands 3 pixels above the bottom
    SIZE name;  // in the canvas's own font: a menu's device context comes with the menu font selected
    GetTextExtentPoint32A(Canvas(1, 1, 0).dc, "Alpha & Omega", 13, &name);
    const struct { const char *label; int style; bool custom; UINT id; ULONG_PTR data; UINT state; RECT rect; bool paintedBefore, paintedAfter; std::vector<Probe> probes; } rows[] = {
        {"selected bookmark: highlighted text area, framed cell, the picture centred; no side bar in Fancy", 1, false, BOOKMARK, FLAG, SELECTED, item,
         0, 0, {At(24, 21, HL), At(199, 0, HL), At(200, 10, BACKGROUND), Not(23, 21, MENU_SYS), At(7, 8, GLOBE), Some({27, 0, 200, 22}, HL_TEXT, 20),
          Some({24 + name.cx, 0, 27 + name.cx, 22}, HL_TEXT, 1)}},  // drawn from 27 with its ampersand, it reaches its full width
        {"bookmark: cell and text area start a row above the item", 1, false, BOOKMARK, 0, 0, {0, 30, 200, 52}, 0, 0,
         {At(0, 29, MENU_SYS), At(23, 51, MENU_SYS), At(24, 29, MENU_SYS), At(199, 51, MENU_SYS), At(8, 38, GLOBE)}},
        {"selected folder: open picture, no frame, highlight over the arrow; no side bar beyond the first column", 2, false, FOLDER, 0, SELECTED, item, 0, 0,
         {At(6, 9, OPEN_FLAP), At(23, 21, MENU_SYS), At(199, 10, HL)}},
        {"folder: closed picture", 1, false, FOLDER, 0, 0, item, 0, 0, {At(6, 9, CLOSED_BODY)}},
        {"selected mail link: no frame", 1, false, MAIL, 0, SELECTED, item, 0, 0, {At(23, 21, MENU_SYS)}},
        {"side-bar column: cell and text 24 pixels right", 2, false, BOOKMARK, FLAG, 0, item, 1, 1,
         {At(3, 10, BACKGROUND), At(24, 0, MENU_SYS), At(31, 8, GLOBE), At(48, 10, MENU_SYS)}},
        {"separator: an etched line across, the side bar to paint again", 1, false, SEPARATOR_ITEM, 0, 0, {10, 40, 200, 50}, 1, 0,
         {At(10, 45, GRAY), At(199, 45, GRAY), At(10, 46, LIGHT), At(199, 46, LIGHT), At(10, 44, BACKGROUND), At(10, 47, BACKGROUND), At(9, 45, BACKGROUND)}},
        {"header: an embossed label on a line 30 in", 1, false, 0, ULONG_PTR(SOURCE_HEADER_FAVORITES), 0, {0, 0, 300, 20}, 0, 0,
         {At(30, 10, GRAY), At(30, 11, LIGHT), At(29, 10, BACKGROUND), At(269, 10, GRAY), At(270, 10, BACKGROUND), Not(150, 10, GRAY),
          Some(label, Sys(COLOR_MENUTEXT), 10), Some(label, HL_TEXT, 5), Some(label, MENU, 10)}},
        {"header of a side-bar style: the line starts past the bar", 2, false, 0, OPERA, 0, {0, 0, 300, 20}, 0, 1,
         {At(54, 10, GRAY), At(53, 10, BACKGROUND)}},
        {"Very Fancy: the picture at the bottom of the first column, olive left out", 2, false, BOOKMARK, FLAG, 0, item, 0, 1,
         {Some({0, top, 22, top + 200}, BACKGROUND, 2200, 4100), Some({0, top, 22, top + 200}, RGB(128, 128, 0), 0, 0),
          Some({0, 22, 24, top}, BACKGROUND, 24 * (top - 22)), Some({0, top + 200, 24, HEIGHT}, BACKGROUND, 72)}},
        {"Dancy: the picture left to the animation", 3, false, BOOKMARK, FLAG, 0, item, 0, 1, {Some({0, 0, 24, HEIGHT}, BACKGROUND, 24 * HEIGHT)}},
        {"selected command: framed cell, its icon, highlighted text", 1, true, 4002, 0, SELECTED, wide, 0, 0,
         {Not(23, 21, MENU_SYS), At(8, 8, GLOBE), At(21, 10, HL), At(249, 21, HL), Some(text, HL_TEXT, 20)}},
        {"command without an icon: never framed, text from the cell on", 1, true, 4003, 0, SELECTED, wide, 0, 0, {At(1, 21, MENU_SYS), At(3, 10, HL)}},
        {"disabled command: engraved, no frame", 1, true, 4002, 0, DISABLED, wide, 0, 0, {Some(text, GRAY, 20), Some(text, LIGHT, 20), At(23, 21, MENU_SYS)}},
        {"disabled, selected command: grey only", 1, true, 4002, 0, DISABLED | SELECTED, wide, 0, 0, {Some(text, GRAY, 20), Some(text, LIGHT, 0, 0)}},
        {"a list box's request is not drawn (style -1)", -1, true, 4002, 0, SELECTED, wide, 0, 0, {Some({0, 0, 320, HEIGHT}, BACKGROUND, 320 * HEIGHT)}},
        {"nor by the bookmark handler (style -1)", -1, false, BOOKMARK, 0, SELECTED, wide, 0, 0, {Some({0, 0, 320, HEIGHT}, BACKGROUND, 320 * HEIGHT)}},
    };
    for (const auto &row : rows) {
        Prepare(row.style);
        sideBarPainted = row.paintedBefore;
        auto canvas = Draw(row.custom, row.id, row.data, row.state, row.rect, row.style < 0 ? ODT_LISTBOX : ODT_MENU);
        EXPECT_EQ(sideBarPainted, row.paintedAfter) << row.label;
        for (const Probe &probe : row.probes) {
            COLORREF colour = probe.colour & 0x80000000u ? GetSysColor(probe.colour & 0xFF) : probe.colour;
            int count = canvas->Count(probe.area, colour);
            EXPECT_TRUE(count >= probe.least && count <= probe.most)
                << row.label << ": " << count << " pixels of " << std::hex << colour << " at " << std::dec << probe.area.left << "," << probe.area.top;
        }
    }
    long before = LiveGdiObjects();
    FreeSideBar();
    EXPECT_EQ(LiveGdiObjects(), before - 4) << "the side bar's four objects freed";
}

TEST(OwnerDraw, IconSetFollowsTheStyleOrTheSource)
{
    Prepare(MENU_STYLE_FANCY);
    AppendLines(SOURCE_FAVORITES, {"IE"});
    AppendLines(SOURCE_OPERA, {"Opera"});
    const int last = bookmarkTable.entryCount - 1;  // Netscape's first, then the Favorites' and Opera's records
    for (auto [style, sets] : std::vector<std::pair<int, std::string>>{{0, "000"}, {1, "111"}, {2, "222"}, {3, "012"}, {17, "000"}}) {
        settings.iconStyle = style;
        EXPECT_EQ(std::to_string(IconSetForEntry(0)) + std::to_string(IconSetForEntry(last - 1)) + std::to_string(IconSetForEntry(last)), sets) << style;
    }
    bookmarkTable.entryCount -= 2;  // the two records belong to this test only
}
