// Favorites trees made on disk by the tests and the benchmark, removed again afterwards.
#pragma once
#include <filesystem>
#include <string>

// A fresh empty directory under the system's temporary directory.
std::filesystem::path MakeScratchDirectory(const char *label);
void WriteTextFile(const std::filesystem::path &path, const std::string &text);
// The text of an Internet Shortcut file for url.
std::string ShortcutText(const std::string &url);
