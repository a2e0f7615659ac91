// Stands in for a browser in the launch tests: appends its argument and its show command to
// url_recorder.log next to itself.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string log = path;
    log = log.substr(0, log.find_last_of('\\') + 1) + "url_recorder.log";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    if (FILE *out = std::fopen(log.c_str(), "a")) {
        std::fprintf(out, "%s|%d\n", argc > 1 ? argv[1] : "", show);
        std::fclose(out);
    }
    return 0;
}
