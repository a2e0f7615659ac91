// The Windows fatal error report: a message box, then the process ends with the code.
#include "app/fatal_error.h"

#include <windows.h>

#include <cstdlib>

void ShowFatalError(int code)
{
    DWORD lastError = GetLastError();
    char message[512];
    FormatFatalError(code, lastError, "", message, sizeof message);
    MessageBoxA(nullptr, message, "Tresk Fatal Error", MB_ICONHAND);
    std::exit(code);
}
