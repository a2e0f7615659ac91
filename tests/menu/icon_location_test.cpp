// Splitting a shell "DefaultIcon" value into file and index, and recognising the shell's folder icon.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "menu/icon_location.h"

// "file|index" or "refused|index", from a buffer of `size` bytes of which none past the file may change.
std::string Split(const char *value, size_t size = 260)
{
    char file[300];
    std::memset(file, 'X', sizeof file);
    int index = -12345;
    bool ok = SplitIconLocation(value, file, size, &index);
    bool untouched = std::string(file + std::strlen(file) + 1, file + sizeof file).find_first_not_of('X') == std::string::npos;
    return (ok ? file : "refused" + std::string(file)) + "|" + std::to_string(index) + (untouched ? "" : " overrun");
}

TEST(IconLocation, SplitsAtTheLastComma)
{
    const std::pair<const char *, std::string> rows[] = {
        {"C:\\WINDOWS\\SYSTEM\\shell32.dll,3", "C:\\WINDOWS\\SYSTEM\\shell32.dll|3"},
        {"C:\\odd,name\\icons.dll,12", "C:\\odd,name\\icons.dll|12"},
        {"C:\\icons\\folder.ico", "C:\\icons\\folder.ico|0"},  // no comma: the file's first icon
        {"\"C:\\Program Files\\x.dll\",-5", "C:\\Program Files\\x.dll|-5"},
        {"x.dll, 7", "x.dll|7"},
        {"x.dll,abc", "x.dll|0"},
        {"x.dll,99999999999999", "x.dll|" + std::to_string(INT_MAX - 1)},  // the next index must not overflow
        {"x.dll,-99999999999999", "x.dll|" + std::to_string(INT_MIN + 1)},
        {",4", "refused|4"},
        {"\"\",2", "refused|2"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Split(row.first), row.second) << row.first;
    EXPECT_EQ(Split("C:\\a.dlls,1", 9), "refused|1") << "one byte too long for the buffer";
    EXPECT_EQ(Split("C:\\a.dll,1", 9), "C:\\a.dll|1");
}

TEST(IconLocation, ShellFolderIconIsRecognisedAtTheEndOnly)
{
    const std::pair<const char *, bool> rows[] = {
        {"%SystemRoot%\\System32\\SHELL32.DLL,3", true}, {"\\shell32.dll,3", true}, {"C:\\ShElL32.DlL,3", true},
        {"shell32.dll,3", false},  // 13 characters: nothing before the start is looked at
        {"", false}, {"C:\\x\\shell32.dll,31", false}, {"C:\\x\\myshell32.dll,3", false}, {"C:\\x\\shell32.dll,3 ", false},
        {"C:\\x/shell32.dll,3", false}, {"C:\\SHELL32\xAE" "DLL,3", false},  // only A-Z are folded
    };
    for (const auto &row : rows)
        EXPECT_EQ(EndsWithShellFolderIcon(row.first), row.second) << row.first;
}

