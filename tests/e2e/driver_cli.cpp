// tresk-driver.exe: the end-to-end driver's reach for shell scripts, run under Wine next to tresk.exe.
//   reset           end a running Tresk, remove its registry key and Run value
//   keys KEY...     post keys to the open popup menu: down up left right return escape
#include "tests/e2e/driver.h"

#include <map>

int main(int argc, char **argv)
{
    const std::map<std::string, UINT> codes = {{"down", VK_DOWN},     {"up", VK_UP},         {"left", VK_LEFT},
                                               {"right", VK_RIGHT},   {"return", VK_RETURN}, {"escape", VK_ESCAPE}};
    std::vector<UINT> keys;
    for (int i = 2; i < argc; i++)
        keys.push_back(codes.count(argv[i]) ? codes.at(argv[i]) : 0);
    std::string command = argc > 1 ? argv[1] : "";
    HWND menu = command == "keys" ? WaitForPopupMenu(10000) : nullptr;
    if (command == "reset")
        ResetTreskState();
    else if (menu)
        PostMenuKeys(menu, keys);
    return command == "reset" || menu ? 0 : 1;
}
