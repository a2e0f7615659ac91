// The hot key's modifier translation and the text of its conflict message.
#include "settings/hot_key.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(HotKey, ModifiersAndMessage)
{
    struct Row {
        int value;
        unsigned wantModifiers;
        const char *wantMessage;
    };
    const Row rows[] = {
        {0x342, HOT_KEY_MOD_CONTROL | HOT_KEY_MOD_SHIFT,
         "The Hot Key of Ctrl+Shift+B is already in use by another application."},
        {0x74B, HOT_KEY_MOD_CONTROL | HOT_KEY_MOD_SHIFT | HOT_KEY_MOD_ALT,
         "The Hot Key of Ctrl+Shift+Alt+K is already in use by another application."},
        {0x441, HOT_KEY_MOD_ALT, "The Hot Key of Alt+A is already in use by another application."},
        {0x131, HOT_KEY_MOD_SHIFT, "The Hot Key of Shift+1 is already in use by another application."},
        {0xA5A, HOT_KEY_MOD_CONTROL, "The Hot Key of Ctrl+Z is already in use by another application."},  // EXT dropped
        {0x85A, 0, "The Hot Key of Z is already in use by another application."},
        {0x5A, 0, "The Hot Key of Z is already in use by another application."},
    };
    for (const Row &row : rows) {
        unsigned modifiers = HotKeyModifiers(row.value);
        EXPECT_EQ(modifiers, row.wantModifiers) << std::hex << row.value;
        char message[256];
        FormatHotKeyConflict(modifiers, row.value & 0xFF, message, sizeof message);
        EXPECT_STREQ(message, row.wantMessage) << std::hex << row.value;
    }
}

TEST(HotKey, MessageIsCutToASmallBuffer)
{
    char message[20 + 4];
    std::memset(message, '#', sizeof message);
    FormatHotKeyConflict(HOT_KEY_MOD_CONTROL, 'B', message, 20);
    EXPECT_STREQ(message, "The Hot Key of Ctrl");
    EXPECT_EQ(message[20], '#');
}
