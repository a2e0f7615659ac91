// Registering the global hot key for the main window.
#include "settings/hot_key.h"

#include "base/app_state.h"

static_assert(HOT_KEY_MOD_ALT == MOD_ALT && HOT_KEY_MOD_CONTROL == MOD_CONTROL && HOT_KEY_MOD_SHIFT == MOD_SHIFT,
              "the portable modifier flags are the registration flags");

bool RegisterAppHotKey(int value)
{
    if (value == 0)
        return true;
    unsigned modifiers = HotKeyModifiers(value);
    unsigned virtualKey = value & 0xFF;
    if (RegisterHotKey(mainWindow, HOT_KEY_ID, modifiers, virtualKey))
        return true;
    char message[256];
    FormatHotKeyConflict(modifiers, virtualKey, message, sizeof message);
    MessageBoxA(mainWindow, message, "Tresk", MB_ICONEXCLAMATION);
    if (modalWindow)
        SetForegroundWindow(modalWindow);
    return false;
}
