// Counting the GDI objects that the menu code creates and frees, by redirecting the test program's imports.
#include "tests/support/gdi_counter_win.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

static long liveObjects = 0;
static long destroyIconCalls = 0;
// The real functions, called by the counters (the program's own import slots lead to the counters).
static decltype(&CreateFontIndirectA) realCreateFontIndirectA;
static decltype(&CreatePen) realCreatePen;
static decltype(&CreateSolidBrush) realCreateSolidBrush;
static decltype(&CreateCompatibleDC) realCreateCompatibleDC;
static decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap;
static decltype(&DeleteObject) realDeleteObject;
static decltype(&DeleteDC) realDeleteDC;
static decltype(&GetDC) realGetDC;
static decltype(&ReleaseDC) realReleaseDC;
static decltype(&LoadImageA) realLoadImageA;
static decltype(&DestroyIcon) realDestroyIcon;
static decltype(&ImageList_Create) realImageListCreate;
static decltype(&ImageList_Destroy) realImageListDestroy;

static HFONT WINAPI CountCreateFontIndirectA(const LOGFONTA *font)
{
    HFONT made = realCreateFontIndirectA(font);
    liveObjects += made != nullptr;
    return made;
}
static HPEN WINAPI CountCreatePen(int style, int width, COLORREF color)
{
    HPEN made = realCreatePen(style, width, color);
    liveObjects += made != nullptr;
    return made;
}
static HBRUSH WINAPI CountCreateSolidBrush(COLORREF color)
{
    HBRUSH made = realCreateSolidBrush(color);
    liveObjects += made != nullptr;
    return made;
}
static HDC WINAPI CountCreateCompatibleDC(HDC dc)
{
    HDC made = realCreateCompatibleDC(dc);
    liveObjects += made != nullptr;
    return made;
}
static HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int width, int height)
{
    HBITMAP made = realCreateCompatibleBitmap(dc, width, height);
    liveObjects += made != nullptr;
    return made;
}
static BOOL WINAPI CountDeleteObject(HGDIOBJ object)
{
    BOOL done = realDeleteObject(object);
    liveObjects -= done != FALSE;
    return done;
}
static BOOL WINAPI CountDeleteDC(HDC dc)
{
    BOOL done = realDeleteDC(dc);
    liveObjects -= done != FALSE;
    return done;
}
static HDC WINAPI CountGetDC(HWND window)
{
    HDC dc = realGetDC(window);
    liveObjects += dc != nullptr;
    return dc;
}
static int WINAPI CountReleaseDC(HWND window, HDC dc)
{
    int done = realReleaseDC(window, dc);
    liveObjects -= done == 1;
    return done;
}
static HANDLE WINAPI CountLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    HANDLE made = realLoadImageA(instance, name, type, cx, cy, flags);
    liveObjects += made != nullptr && !(flags & LR_SHARED);
    return made;
}
static BOOL WINAPI CountDestroyIcon(HICON icon)
{
    destroyIconCalls++;
    BOOL done = realDestroyIcon(icon);
    liveObjects -= done != FALSE;
    return done;
}
static HIMAGELIST WINAPI CountImageListCreate(int cx, int cy, UINT flags, int initial, int grow)
{
    HIMAGELIST made = realImageListCreate(cx, cy, flags, initial, grow);
    liveObjects += made != nullptr;
    return made;
}
static BOOL WINAPI CountImageListDestroy(HIMAGELIST list)
{
    BOOL done = realImageListDestroy(list);
    liveObjects -= done != FALSE;
    return done;
}

struct Redirect {
    const char *module;
    const char *name;
    void *replacement;
    void **real;
};

static const Redirect redirects[] = {
    {"gdi32.dll", "CreateFontIndirectA", reinterpret_cast<void *>(CountCreateFontIndirectA), reinterpret_cast<void **>(&realCreateFontIndirectA)},
    {"gdi32.dll", "CreatePen", reinterpret_cast<void *>(CountCreatePen), reinterpret_cast<void **>(&realCreatePen)},
    {"gdi32.dll", "CreateSolidBrush", reinterpret_cast<void *>(CountCreateSolidBrush), reinterpret_cast<void **>(&realCreateSolidBrush)},
    {"gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void *>(CountCreateCompatibleDC), reinterpret_cast<void **>(&realCreateCompatibleDC)},
    {"gdi32.dll", "CreateCompatibleBitmap", reinterpret_cast<void *>(CountCreateCompatibleBitmap), reinterpret_cast<void **>(&realCreateCompatibleBitmap)},
    {"gdi32.dll", "DeleteObject", reinterpret_cast<void *>(CountDeleteObject), reinterpret_cast<void **>(&realDeleteObject)},
    {"gdi32.dll", "DeleteDC", reinterpret_cast<void *>(CountDeleteDC), reinterpret_cast<void **>(&realDeleteDC)},
    {"user32.dll", "GetDC", reinterpret_cast<void *>(CountGetDC), reinterpret_cast<void **>(&realGetDC)},
    {"user32.dll", "ReleaseDC", reinterpret_cast<void *>(CountReleaseDC), reinterpret_cast<void **>(&realReleaseDC)},
    {"user32.dll", "LoadImageA", reinterpret_cast<void *>(CountLoadImageA), reinterpret_cast<void **>(&realLoadImageA)},
    {"user32.dll", "DestroyIcon", reinterpret_cast<void *>(CountDestroyIcon), reinterpret_cast<void **>(&realDestroyIcon)},
    {"comctl32.dll", "ImageList_Create", reinterpret_cast<void *>(CountImageListCreate), reinterpret_cast<void **>(&realImageListCreate)},
    {"comctl32.dll", "ImageList_Destroy", reinterpret_cast<void *>(CountImageListDestroy), reinterpret_cast<void **>(&realImageListDestroy)},
};

static void Patch(void **slot, void *replacement)
{
    DWORD previous;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = replacement;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
}

// Every import slot of the program that holds one of the counted functions now leads to its counter.
static void RedirectImports()
{
    for (const Redirect &redirect : redirects)
        *redirect.real = reinterpret_cast<void *>(GetProcAddress(LoadLibraryA(redirect.module), redirect.name));
    BYTE *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
    auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto *imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + directory.VirtualAddress);
    for (; imports->Name; imports++) {
        auto *slot = reinterpret_cast<void **>(base + imports->FirstThunk);
        for (; *slot; slot++)
            for (size_t i = 0; i < sizeof redirects / sizeof redirects[0]; i++)
                if (*redirects[i].real && *slot == *redirects[i].real)
                    Patch(slot, redirects[i].replacement);
    }
}

void StartCountingGdiObjects()
{
    static bool started = false;
    if (!started)
        RedirectImports();
    started = true;
}

long LiveGdiObjects() { return liveObjects; }

long DestroyIconCalls() { return destroyIconCalls; }
