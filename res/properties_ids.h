// Numbers of the Bookmark Properties dialog, shared by its template and its code.
#pragma once

#define IDD_PROPERTIES 115
#define IDC_PROPERTIES_NAME 221
#define IDC_PROPERTIES_LOCATION 222
#define IDC_PROPERTIES_VISITED 223
#define IDC_PROPERTIES_MODIFIED 224
#define IDC_PROPERTIES_DESCRIPTION 225
#define IDC_PROPERTIES_FOLDER 226
