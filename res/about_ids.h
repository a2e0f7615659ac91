// Numbers of the About dialog (resource 100), shared by its template and its code.
#pragma once

#define IDD_ABOUT 100
#define IDC_ABOUT_TEXT 101
#define IDC_ABOUT_LINK 218
