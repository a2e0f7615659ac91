// Shape checks of the bookmark table for the tests and fuzzers.
#include "tests/support/table_checks.h"

#include <cstring>
#include <vector>

#include "bookmarks/bookmark_table.h"

static MenuHandle MenuOfFolder(int folder)
{
    return folder == -1 ? bookmarkTable.rootMenu : bookmarkTable.folders[folder].menu;
}

std::string CheckFolderCounts()
{
    std::vector<int> counted(bookmarkTable.folderCount, 0);
    for (int i = 0; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        if (entry.parentFolder < -1 || entry.parentFolder >= bookmarkTable.folderCount)
            return "record " + std::to_string(i) + " names no folder";
        if (entry.parentMenu != MenuOfFolder(entry.parentFolder))
            return "record " + std::to_string(i) + " is not in its folder's menu";
        if (entry.parentFolder >= 0)
            counted[entry.parentFolder]++;
    }
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        if (counted[k] != bookmarkTable.folders[k].childCount)
            return "folder " + std::to_string(k) + " counts " + std::to_string(bookmarkTable.folders[k].childCount) +
                   " but holds " + std::to_string(counted[k]);
    return "";
}

std::string CheckDepthFirst(int firstRecord, int openAtEnd)
{
    std::vector<int> open{-1};
    int nextFolder = -1;
    for (int i = firstRecord; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        if (entry.id != i)
            return "record " + std::to_string(i) + " has id " + std::to_string(entry.id);
        if (entry.parentFolder != open.back())
            return "record " + std::to_string(i) + " is not in the innermost open folder";
        if (IsFolderStart(entry)) {
            if (nextFolder == -1) {
                nextFolder = 0;
                while (nextFolder < bookmarkTable.folderCount && bookmarkTable.folders[nextFolder].entry != i)
                    nextFolder++;
            }
            if (nextFolder >= bookmarkTable.folderCount || bookmarkTable.folders[nextFolder].entry != i)
                return "start record " + std::to_string(i) + " has no folder record";
            open.push_back(nextFolder++);
        } else if (IsFolderEnd(entry) && open.size() > 1) {
            open.pop_back();
        }
    }
    if (static_cast<int>(open.size()) - 1 != openAtEnd)
        return std::to_string(open.size() - 1) + " folders left open";
    return "";
}

std::string CheckSortedGroups()
{
    int position = 0;
    while (position < bookmarkTable.entryCount && bookmarkTable.entries[position].parentFolder == -1)
        position++;
    for (int k = 0; k < bookmarkTable.folderCount; k++)
        for (int n = 0; n < bookmarkTable.folders[k].childCount; n++, position++)
            if (position >= bookmarkTable.entryCount || bookmarkTable.entries[position].parentFolder != k)
                return "group of folder " + std::to_string(k) + " broken at " + std::to_string(position);
    if (position != bookmarkTable.entryCount)
        return "records left over after the last group";
    return "";
}

std::string DumpTable(int first)
{
    std::string dump;
    for (int i = first; i < bookmarkTable.entryCount; i++) {
        const BookmarkEntry &entry = bookmarkTable.entries[i];
        dump += std::to_string(entry.parentFolder) + " " + entry.name + " = " + entry.url;
        if (entry.lastModified)
            dump += " created " + std::to_string(entry.lastModified);
        if (entry.lastVisit)
            dump += " visited " + std::to_string(entry.lastVisit);
        if (entry.description)
            dump += std::string(" (") + entry.description + ")";
        dump += "\n";
    }
    return dump;
}
