// The process-wide state shared by the shell and the subsystems, and the message pump of their waits.
#include "base/app_state.h"

HINSTANCE appInstance;
HWND mainWindow;
bool nestedMenusSupported;
LONG modalOpen;
HWND modalWindow;
bool bookmarkMenuOpen;
bool contextMenuOpen;
HMENU currentOtherPopup;
COLORREF highlightColorCache;
COLORREF menuColorCache;
HWND menuWindow;
HWND g_verifyDialog;

static bool quitPending;
static WPARAM quitCode;

bool PumpOneMessage()
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        quitPending = true;
        quitCode = message.wParam;
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

void PumpMessages()
{
    while (PumpOneMessage()) {
    }
    if (quitPending) {
        quitPending = false;
        PostQuitMessage(static_cast<int>(quitCode));
    }
}
