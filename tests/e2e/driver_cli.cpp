// tresk-driver.exe: the end-to-end driver's reach for shell scripts, run under Wine next to tresk.exe.
//   reset           end a running Tresk, remove its registry key and Run value
//   keys KEY...     post keys to the open popup menu: down up left right return escape
#include "tests/e2e/driver.h"

#include <cstring>

int main(int argc, char **argv)
{
    const char *names[] = {"down", "up", "left", "right", "return", "escape"};
    const UINT codes[] = {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE};
    std::vector<UINT> keys;
    for (int i = 2; i < argc; i++)
        for (int k = 0; k < 6; k++)
            if (std::strcmp(argv[i], names[k]) == 0)
                keys.push_back(codes[k]);
    HWND menu = nullptr;
    if (argc == 2 && std::strcmp(argv[1], "reset") == 0)
        ResetTreskState();
    else if (argc > 2 && std::strcmp(argv[1], "keys") == 0 && (menu = WaitForPopupMenu(10000)))
        PostMenuKeys(menu, keys);
    else
        return 1;
    return 0;
}
