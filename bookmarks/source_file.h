// Opening a bookmark source file for reading.
#pragma once
#include <cstdio>

// The file opened with fopen's mode, or null when it cannot be opened or is no regular file: a folder, a
// device or a pipe has no length to trust and may never end, so every reader treats it as missing.
std::FILE *OpenSourceFile(const char *path, const char *mode);
