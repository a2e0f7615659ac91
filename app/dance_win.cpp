// The "Dancy" side-bar animation: every 10 ms the side-bar picture moves and is drawn through a back buffer.
#include "app/dance.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "menu/owner_draw.h"

static HDC menuWindowDC;   // held during one tick
static HDC backBufferDC;
static HBITMAP backBufferBitmap;
static HGDIOBJ backBufferPrevious;

void ReleaseMenuWindowDC()
{
    if (menuWindowDC) {
        ReleaseDC(menuWindow, menuWindowDC);
        menuWindowDC = nullptr;
    }
}

static void CreateBackBuffer(int height)
{
    backBufferDC = CreateCompatibleDC(menuWindowDC);
    backBufferBitmap = CreateCompatibleBitmap(menuWindowDC, SIDE_BAR_WIDTH - 2, height);
    backBufferPrevious = SelectObject(backBufferDC, backBufferBitmap);
}

void CALLBACK DanceTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (!menuWindowDC)
        menuWindowDC = GetDC(menuWindow);
    if (!menuWindowDC)
        return;  // no device context this time: skip one frame
    RECT client;
    GetClientRect(menuWindow, &client);
    int height = client.bottom - client.top;
    if (!backBufferDC)
        CreateBackBuffer(height);
    AdvanceDance(&danceOffset, &danceStep, height);
    PaintSideBarFrame(backBufferDC, height, danceOffset);
    BitBlt(menuWindowDC, 0, 0, SIDE_BAR_WIDTH, height, backBufferDC, 0, 0, SRCCOPY);
    ReleaseMenuWindowDC();
}

void StopDanceAnimation()
{
    KillTimer(mainWindow, TIMER_DANCE);
    danceTimer = 0;
    if (backBufferDC)
        SelectObject(backBufferDC, backBufferPrevious);
    if (backBufferBitmap) {
        DeleteObject(backBufferBitmap);
        backBufferBitmap = nullptr;
    }
    ReleaseMenuWindowDC();
    if (backBufferDC) {
        DeleteDC(backBufferDC);
        backBufferDC = nullptr;
    }
    danceOffset = 0;
    danceStep = DANCE_START_STEP;
    menuWindow = nullptr;
}
