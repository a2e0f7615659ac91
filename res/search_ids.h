// Numbers of the Search Bookmarks dialog (resource 118), shared by its template and its code.
#pragma once

#define IDD_SEARCH 118
#define IDC_SEARCH_RESULTS 228
#define IDC_SEARCH_COUNT 230
#define IDC_SEARCH_TEXT 231
#define IDC_SEARCH_BROWSE 240
