// The Verify window's settings under the program's "Verify" key: placement, column widths, workers,
// time-outs and the proxy.
#include "verify/verify_window.h"

#include <string>

#include "res/verify_ids.h"
#include "tools/result_list.h"
#include "verify/verify_settings.h"

static const char VERIFY_KEY[] = "Verify";

static bool ReadDword(HKEY key, const char *name, int *value)
{
    DWORD data = 0, size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(&data), &size) != ERROR_SUCCESS ||
        size != sizeof data)
        return false;
    *value = static_cast<int>(data);
    return true;
}

// Only the text up to the NUL counts; a value of more than 255 bytes reads as none.
static std::string ReadProxyText(HKEY key, const char *name)
{
    char text[PROXY_TEXT_SIZE + 1] = "";
    DWORD size = PROXY_TEXT_SIZE;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(text), &size) != ERROR_SUCCESS)
        return "";
    return text;
}

static void WriteProxyText(HKEY key, const char *name, const std::string &text)
{
    std::string stored = PaddedProxyText(text);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(stored.data()), PROXY_TEXT_SIZE);
}

static void ShowProxy(HWND dialog, const std::string &name, const std::string &port)
{
    SetDlgItemTextA(dialog, IDC_PROXY_NAME, name.empty() ? NO_PROXY_TEXT : name.c_str());
    SetDlgItemTextA(dialog, IDC_PROXY_PORT, name.empty() ? NO_PROXY_TEXT : StoredProxyPort(port.c_str()).c_str());
}

bool LoadVerifySettings(HWND dialog, WINDOWPLACEMENT *placement)
{
    // Without the key nothing is read: the time-outs keep what they were, the proxy edits stay empty.
    HKEY key = OpenToolKeyForReading(VERIFY_KEY);
    if (!key)
        return false;
    bool placed = ReadWindowPlacement(key, placement);
    ReadColumnWidths(key, g_columnWidths, VERIFY_COLUMN_COUNT);
    int value = 0;
    bool present = ReadDword(key, "Threads", &value);
    g_threadCount = ThreadCountSetting(present, value);
    present = ReadDword(key, "Send Timeout", &value);
    g_sendTimeout = TimeoutSetting(present, value);
    present = ReadDword(key, "Receive Timeout", &value);
    g_recvTimeout = TimeoutSetting(present, value);
    std::string name = ReadProxyText(key, "Proxy Server Name");
    ShowProxy(dialog, name, name.empty() ? "" : ReadProxyText(key, "Proxy Server Port"));
    RegCloseKey(key);
    return placed;
}

void SaveVerifySettings(HWND dialog)
{
    HKEY key = CreateToolKey(VERIFY_KEY);
    SaveWindowPlacement(key, dialog);
    SaveColumnWidths(key, g_verifyList, g_columnWidths, VERIFY_COLUMN_COUNT);
    char name[PROXY_TEXT_SIZE + 1] = "", port[PROXY_TEXT_SIZE + 1] = "";
    GetDlgItemTextA(dialog, IDC_PROXY_NAME, name, sizeof name);
    GetDlgItemTextA(dialog, IDC_PROXY_PORT, port, sizeof port);
    if (ProxyName(name).empty()) {
        RegDeleteValueA(key, "Proxy Server Name");
        RegDeleteValueA(key, "Proxy Server Port");
    } else {
        WriteProxyText(key, "Proxy Server Name", name);
        WriteProxyText(key, "Proxy Server Port", StoredProxyPort(port));
    }
    RegCloseKey(key);
}
