// The hot key's registration modifiers and the text of its conflict message.
#include "settings/hot_key.h"

#include <gtest/gtest.h>

#include <string>

TEST(HotKey, ModifiersAndConflictMessage)
{
    const struct { int value; unsigned modifiers; const char *keys; } rows[] = {
        {0x342, HOT_KEY_MOD_CONTROL | HOT_KEY_MOD_SHIFT, "Ctrl+Shift+B"},
        {0x74B, HOT_KEY_MOD_CONTROL | HOT_KEY_MOD_SHIFT | HOT_KEY_MOD_ALT, "Ctrl+Shift+Alt+K"},
        {0x441, HOT_KEY_MOD_ALT, "Alt+A"}, {0x85A, 0, "Z"},
        {0xA5A, HOT_KEY_MOD_CONTROL, "Ctrl+Z"},  // the extended-key flag is not passed on
    };
    for (const auto &row : rows) {
        EXPECT_EQ(HotKeyModifiers(row.value), row.modifiers) << row.keys;
        char message[100];
        FormatHotKeyConflict(row.modifiers, row.value & 0xFF, message, sizeof message);
        EXPECT_EQ(message, "The Hot Key of " + std::string(row.keys) + " is already in use by another application.");
    }
    char cut[24] = "#######################";
    FormatHotKeyConflict(HOT_KEY_MOD_CONTROL, 'B', cut, 20);
    EXPECT_EQ(std::string(cut, sizeof cut), std::string("The Hot Key of Ctrl\0###", 24)) << "cut to its buffer";
}
