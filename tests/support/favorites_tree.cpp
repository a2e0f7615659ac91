// Favorites trees on disk for the tests.
#include "tests/support/favorites_tree.h"

#include <chrono>
#include <fstream>

std::filesystem::path MakeScratchDirectory(const char *label)
{
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path directory = std::filesystem::temp_directory_path() / (std::string("tresk-") + label + "-" +
                                                                                std::to_string(stamp));
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    return directory;
}

void WriteTextFile(const std::filesystem::path &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ShortcutText(const std::string &url)
{
    return "[DEFAULT]\r\nBASEURL=" + url + "\r\n[InternetShortcut]\r\nURL=" + url + "\r\nIconIndex=0\r\n";
}
