// Generated Chrome-style Netscape bookmark exports for the benchmarks.
#pragma once
#include <string>

// Writes a Chrome export of the given number of bookmarks to path: a bar folder, then folders of 50
// bookmarks (every fifth with a subfolder of 10), every bookmark with ADD_DATE and an inline PNG favicon of
// 140 to 380 base64 characters (100k bookmarks: about 43 MB). The same count always gives the same file.
bool WriteChromeExport(const std::string &path, int bookmarks);

// Size of the file in bytes, 0 when it cannot be opened.
long FileSize(const std::string &path);
