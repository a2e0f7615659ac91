// Opening a bookmark source file for reading.
#pragma once
#include <cstdio>

// The file opened with fopen's mode, or null when it cannot be opened or is no regular file: a folder, a
// device or a pipe has no length to trust and may never end, so every reader treats it as missing.
std::FILE *OpenSourceFile(const char *path, const char *mode);
// The whole file in one NUL-ended heap block (the caller frees it), read in fopen's mode; null when it cannot
// be opened. *length, when given, receives the bytes read. A file whose length cannot be taken or whose
// block cannot be had is fatal (3, 1).
char *ReadSourceFile(const char *path, const char *mode, size_t *length = nullptr);
// A reader's file half: the whole file (ReadSourceFile) handed to the reader of its text; 0 when the file
// cannot be opened.
int ReadSourceWith(const char *path, const char *mode, int (*readText)(char *text));
