// The global hot key that opens the bookmark menu.
#pragma once
#include <cstddef>

// Registration modifier flags (the values of MOD_ALT, MOD_CONTROL and MOD_SHIFT).
const unsigned HOT_KEY_MOD_ALT = 1;
const unsigned HOT_KEY_MOD_CONTROL = 2;
const unsigned HOT_KEY_MOD_SHIFT = 4;

// The id of the program's one hot key, registered for mainWindow.
const int HOT_KEY_ID = 1;

// Registers HOT_KEY_ID from a hot-key control value (0 = none); shows the conflict message on failure.
bool RegisterAppHotKey(int value);

// The registration modifiers of a hot-key control value (its second byte: HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2,
// HOTKEYF_ALT 4; HOTKEYF_EXT 8 is not passed on).
unsigned HotKeyModifiers(int value);
// "The Hot Key of Ctrl+Shift+Alt+K is already in use by another application." for the given registration
// modifiers and virtual key.
void FormatHotKeyConflict(unsigned modifiers, unsigned virtualKey, char *buffer, size_t size);
