// What the bookmark tests and fuzzers share: scratch files, one dump of the table and one check of its shape.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

// A fresh empty directory under this process's scratch directory (itself under the system's temporary one).
std::filesystem::path MakeScratchDirectory(const char *label);
// Writes the bytes to path, replacing the file; a relative path is taken in the scratch directory.
// Returns the full path.
std::string WriteScratchFile(const std::filesystem::path &path, const std::string &bytes);
// The whole file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path &path);
// Makes the SQLite database at path anew by running the SQL texts in order; "" or SQLite's error message.
std::string MakeDatabase(const std::filesystem::path &path, const std::vector<std::string> &sql);
// A scratch copy of the test data folder in which every firefox/NAME.sql (but schema.sql) has become the
// database firefox/NAME.sqlite: schema.sql, then NAME.sql.
std::filesystem::path CopyTestDataWithDatabases(const std::filesystem::path &data);
// The text of an Internet Shortcut file for url.
std::string ShortcutText(const std::string &url);

// One line per record from `first`: "parent name = url", then any " visited", " modified" time and
// " (description)".
std::string DumpTable(int first = 0);
// "" when the table holds together, else what is wrong. Always: every text is set, every record's folder
// exists and its menu is that folder's, and each folder's childCount is the number of records naming it.
// In reading order (sorted false) ids are positions and records nest depth first, `openAtEnd` folders
// left open (a hotlist folder without its "-"; -1: any number); sorted, the top level comes first and
// then each folder's records, in folder order, as many as it counts.
std::string CheckTable(bool sorted = false, int openAtEnd = 0);
// Destroys the menus and frees the table.
void ReleaseTable();
// For the fuzzers: checks the table a reader left (CheckTable with `openAtEnd`), sorts it in the order
// `sortOrder` and checks it again, releases it with every menu, and ends the process with the problem when
// there is one.
void CheckSortAndRelease(int openAtEnd, int sortOrder);
