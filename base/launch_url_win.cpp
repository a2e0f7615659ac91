// Every browser launch of the program goes through LaunchURL.
#include "base/launch_url.h"

#include "base/app_state.h"
#include "base/settings.h"

#include <shellapi.h>

void LaunchURL(const char *url)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
    ShellExecuteA(mainWindow, "open", url, nullptr, nullptr, settings.startupStyle);
    SetCursor(previous);
}
