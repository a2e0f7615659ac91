// Splitting a shell "DefaultIcon" value into file and index, and recognising the shell's folder icon.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "menu/icon_location.h"

namespace {

TEST(IconLocation, SplitsAtTheLastComma)
{
    const struct {
        const char *value;
        bool ok;
        const char *file;
        int index;
    } cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\shell32.dll,3", true, "C:\\WINDOWS\\SYSTEM\\shell32.dll", 3},
        {"C:\\odd,name\\icons.dll,12", true, "C:\\odd,name\\icons.dll", 12},
        {"C:\\icons\\folder.ico", true, "C:\\icons\\folder.ico", 0},  // no comma: the file's first icon
        {"\"C:\\Program Files\\x.dll\",-5", true, "C:\\Program Files\\x.dll", -5},
        {"x.dll, 7", true, "x.dll", 7},
        {"x.dll,abc", true, "x.dll", 0},
        {"x.dll,", true, "x.dll", 0},
        {"x.dll,99999999999999", true, "x.dll", INT_MAX - 1},
        {"x.dll,-99999999999999", true, "x.dll", INT_MIN + 1},
        {",4", false, "", 4},
        {"", false, "", 0},
        {"\"\",2", false, "", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        char file[260];
        std::memset(file, 'X', sizeof file);
        int index = -12345;
        EXPECT_EQ(SplitIconLocation(c.value, file, sizeof file, &index), c.ok);
        EXPECT_STREQ(file, c.file);
        EXPECT_EQ(index, c.index);
    }
}

TEST(IconLocation, FileTooLongForTheBufferIsRefusedWithoutOverrun)
{
    char buffer[16];
    std::memset(buffer, 0x5A, sizeof buffer);
    int index;
    EXPECT_FALSE(SplitIconLocation("C:\\longer\\name.dll,1", buffer, 8, &index));
    EXPECT_EQ(buffer[0], '\0');
    for (int i = 1; i < 16; i++)
        EXPECT_EQ(buffer[i], 0x5A) << i;
    EXPECT_TRUE(SplitIconLocation("C:\\a.dll,1", buffer, 9, &index));
    EXPECT_STREQ(buffer, "C:\\a.dll");
    EXPECT_EQ(buffer[9], 0x5A);
}

TEST(IconLocation, ShellFolderIconIsRecognisedAtTheEndOnly)
{
    const struct {
        const char *value;
        bool expected;
    } cases[] = {
        {"%SystemRoot%\\System32\\SHELL32.DLL,3", true},
        {"C:\\WINDOWS\\SYSTEM\\shell32.dll,3", true},
        {"\\shell32.dll,3", true},          // exactly the 14 characters
        {"shell32.dll,3", false},           // 13: nothing before the start is looked at
        {"hell32.dll,3", false},
        {"", false},
        {"C:\\x\\shell32.dll,4", false},
        {"C:\\x\\shell32.dll,31", false},
        {"C:\\x\\myshell32.dll,3", false},
        {"C:\\x\\shell32.dll,3 ", false},
        {"C:\\x/shell32.dll,3", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EndsWithShellFolderIcon(c.value), c.expected) << c.value;
}

// The comparison folds A-Z only: other bytes must match exactly.
TEST(IconLocation, ShellFolderIconFoldsOnlyAsciiLetters)
{
    EXPECT_FALSE(EndsWithShellFolderIcon("C:\\SHELL32\xAE" "DLL,3"));
    EXPECT_TRUE(EndsWithShellFolderIcon("C:\\ShElL32.DlL,3"));
}

}  // namespace
