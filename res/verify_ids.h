// Numbers of the Verify Bookmarks dialog's controls (the dialog is IDD_VERIFY of resource.h), shared by
// verify_dialog.rc and the code.
#pragma once

#define IDC_VERIFY_BUTTON 234
#define IDC_VERIFY_LIST 236
#define IDC_VERIFY_PROGRESS 237
#define IDC_VERIFY_BROWSE 240
#define IDC_PROXY_NAME 241
#define IDC_PROXY_PORT 242
#define IDC_PROXY_PORT_LABEL 243
#define IDC_PROXY_NAME_LABEL 244
