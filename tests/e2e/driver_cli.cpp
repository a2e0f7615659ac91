// tresk-driver.exe: the end-to-end driver's reach for shell scripts, run under Wine next to tresk.exe.
//   reset                        remove Tresk's registry key and Run value
//   tray left|right|double       post the tray notification of that click to the running Tresk
//   keys KEY...                  post keys to the open popup menu: down up left right return escape apps, or a letter
//   window CLASS [CAPTION]       wait up to 10 s for a top-level window; exit 1 when none
//   msgbox-text CAPTION          print the text of the message box with this caption
#include "tests/e2e/driver.h"

#include <cstdio>
#include <cstring>
#include <string>

static UINT KeyByName(const char *name)
{
    const struct {
        const char *name;
        UINT key;
    } keys[] = {{"down", VK_DOWN}, {"up", VK_UP}, {"left", VK_LEFT}, {"right", VK_RIGHT},
                {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"apps", VK_APPS}};
    for (const auto &k : keys)
        if (std::strcmp(name, k.name) == 0)
            return k.key;
    return std::strlen(name) == 1 ? static_cast<UINT>(VkKeyScanA(name[0]) & 0xFF) : 0;
}

static HWND WaitForAnyWindow(const char *className, const char *caption)
{
    for (int waited = 0; waited <= 10000; waited += 100) {
        if (HWND window = FindWindowA(className, caption))
            return window;
        Wait(100);
    }
    return nullptr;
}

static int Tray(const char *click)
{
    HWND tresk = FindWindowA("Tresk", nullptr);
    if (!tresk)
        return 1;
    if (std::strcmp(click, "left") == 0) {
        PostMessageA(tresk, WM_USER + 2, 0, WM_LBUTTONUP);
    } else if (std::strcmp(click, "right") == 0) {
        PostMessageA(tresk, WM_USER + 2, 0, WM_RBUTTONUP);
    } else if (std::strcmp(click, "double") == 0) {
        for (LPARAM message : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            PostMessageA(tresk, WM_USER + 2, 0, message);
    } else {
        return 2;
    }
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    std::string command = argv[1];
    if (command == "reset") {
        ResetTreskState();
        return 0;
    }
    if (command == "tray" && argc == 3)
        return Tray(argv[2]);
    if (command == "keys") {
        HWND menu = WaitForPopupMenu(10000);
        if (!menu)
            return 1;
        std::vector<UINT> keys;
        for (int i = 2; i < argc; ++i)
            if (UINT key = KeyByName(argv[i]))
                keys.push_back(key);
        PostMenuKeys(menu, keys);
        return 0;
    }
    if (command == "window" && argc >= 3)
        return WaitForAnyWindow(argv[2], argc > 3 ? argv[3] : nullptr) ? 0 : 1;
    if (command == "msgbox-text" && argc == 3) {
        HWND box = WaitForAnyWindow("#32770", argv[2]);
        if (!box)
            return 1;
        std::printf("%s\n", MessageBoxText(box).c_str());
        return 0;
    }
    std::fprintf(stderr, "unknown command\n");
    return 2;
}
