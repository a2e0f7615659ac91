// Counting the GDI objects that the menu code creates and frees, by redirecting the test program's imports.
#include "tests/support/gdi_counter_win.h"

#include <windows.h>
#include <commctrl.h>

#include "tests/support/import_redirect_win.h"

static long liveObjects = 0;
static long destroyIconCalls = 0;

// The counter of one function: calls the function it replaced and, when that succeeded, moves the count
// by Delta (+1 for what makes an object, -1 for what frees one). Line tells the instances apart.
template <int Line, int Delta, typename F>
struct Counter;
template <int Line, int Delta, typename R, typename... A>
struct Counter<Line, Delta, R(A...)> {
    static inline R(WINAPI *real)(A...);
    static R WINAPI Call(A... arguments)
    {
        R result = real(arguments...);
        liveObjects += result ? Delta : 0;
        return result;
    }
};
#define COUNT(module, name, delta)                                                                                    \
    Counter<__LINE__, delta, decltype(name)>::real = reinterpret_cast<decltype(&name)>(                            \
        RedirectImport(module, #name, reinterpret_cast<void *>(Counter<__LINE__, delta, decltype(name)>::Call)))

static BOOL WINAPI CountDestroyIcon(HICON icon)
{
    destroyIconCalls++;
    return Counter<0, -1, decltype(DestroyIcon)>::Call(icon);
}

void StartCountingGdiObjects()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    COUNT("gdi32.dll", CreateFontIndirectA, 1);
    COUNT("gdi32.dll", CreatePen, 1);
    COUNT("gdi32.dll", CreateSolidBrush, 1);
    COUNT("gdi32.dll", CreateCompatibleDC, 1);
    COUNT("gdi32.dll", CreateCompatibleBitmap, 1);
    COUNT("gdi32.dll", DeleteObject, -1);
    COUNT("gdi32.dll", DeleteDC, -1);
    COUNT("user32.dll", GetDC, 1);
    COUNT("user32.dll", ReleaseDC, -1);
    COUNT("user32.dll", LoadImageA, 1);
    COUNT("comctl32.dll", ImageList_Create, 1);
    COUNT("comctl32.dll", ImageList_Destroy, -1);
    Counter<0, -1, decltype(DestroyIcon)>::real =
        reinterpret_cast<decltype(&DestroyIcon)>(RedirectImport("user32.dll", "DestroyIcon", reinterpret_cast<void *>(CountDestroyIcon)));
}

long LiveGdiObjects() { return liveObjects; }

long DestroyIconCalls() { return destroyIconCalls; }
