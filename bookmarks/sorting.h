// Sorting the table by the "Sort Order" setting: within every folder by name, folders first kept whole.
#pragma once

void SortBookmarkTable();
