// State of the Verify window shared with the shell and the Properties dialog.
#include "verify/verify_window.h"

HWND g_verifyDialog = nullptr;
