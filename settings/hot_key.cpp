// The hot key's modifier translation and its conflict message.
#include "settings/hot_key.h"

#include <cstdio>

unsigned HotKeyModifiers(int value)
{
    unsigned flags = (static_cast<unsigned>(value) >> 8) & 0xFF;
    unsigned modifiers = 0;
    if (flags & 4)
        modifiers |= HOT_KEY_MOD_ALT;
    if (flags & 2)
        modifiers |= HOT_KEY_MOD_CONTROL;
    if (flags & 1)
        modifiers |= HOT_KEY_MOD_SHIFT;
    return modifiers;
}

// The modifiers are named in the order Ctrl, Shift, Alt whatever the order of their flags; the key is
// named by its virtual-key code taken as a character, which is the letter or digit for those keys.
void FormatHotKeyConflict(unsigned modifiers, unsigned virtualKey, char *buffer, size_t size)
{
    std::snprintf(buffer, size, "The Hot Key of %s%s%s%c is already in use by another application.",
                  (modifiers & HOT_KEY_MOD_CONTROL) ? "Ctrl+" : "", (modifiers & HOT_KEY_MOD_SHIFT) ? "Shift+" : "",
                  (modifiers & HOT_KEY_MOD_ALT) ? "Alt+" : "", static_cast<char>(virtualKey & 0xFF));
}
