// Private copies of a source file that another program holds open: a folder of our own in the system's
// temporary folder, the copying, and the removal.
#pragma once
#include <string>

// A new empty folder under the temporary folder; empty when none can be made.
std::string MakePrivateFolder();
// Copies the file at `from` into the file `to` (replacing it) while its owner may be writing it; false when
// it cannot be read or the copy cannot be written.
bool CopySharedFile(const std::string &from, const std::string &to);
// Removes the folder with every file in it.
void RemovePrivateFolder(const std::string &folder);
