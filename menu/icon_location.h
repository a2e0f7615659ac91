// Reading a shell "DefaultIcon" value ("file,index") for the icon sets.
#pragma once
#include <cstddef>

// Splits text at its last comma: the file before it, the decimal icon index after it (a negative index
// names an icon resource id, as the shell reads it). A value without a comma is a file alone, whose first
// icon is meant. Quotes around the file are removed. Returns false when no file name is left or it does
// not fit fileSize.
bool SplitIconLocation(const char *text, char *file, size_t fileSize, int *index);
// True when text ends with "\shell32.dll,3" (A-Z folded): the shell's own closed-folder icon, whose
// open-folder picture is the next one in the file.
bool EndsWithShellFolderIcon(const char *text);
