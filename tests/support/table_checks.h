// Checks of the table's shape shared by the reader, sort and fuzz tests: each returns "" when the table
// holds, or says what is wrong.
#pragma once
#include <string>

// childCount of every folder equals the records naming it; every record's menu is its folder's.
std::string CheckFolderCounts();
// Reading order: each record is in the innermost open folder, a start opens the next folder record, an
// end record closes the innermost; `openAtEnd` folders may stay open (a hotlist folder without "-").
std::string CheckDepthFirst(int firstRecord, int openAtEnd = 0);
// After sorting: records grouped by folder (top level, folder 0, 1 ...), each group as big as its count.
std::string CheckSortedGroups();
// One line per record from `first`: the folder index, name, url and any times or description.
std::string DumpTable(int first = 0);
