// The scratch registry: a key of the real HKEY_CURRENT_USER stands in for all of it while a test runs.
#include "tests/support/scratch_registry_win.h"

#include <shlwapi.h>

#include <cstring>

// One scratch key a process, so that tests running side by side keep apart.
static std::string ScratchPath()
{
    return "Software\\TreskTestScratch" + std::to_string(GetCurrentProcessId());
}

ScratchUserKey::ScratchUserKey()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    SHDeleteKeyA(HKEY_CURRENT_USER, ScratchPath().c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, ScratchPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, key);
}

ScratchUserKey::~ScratchUserKey()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key);
    SHDeleteKeyA(HKEY_CURRENT_USER, ScratchPath().c_str());
}

void SetUserValue(const char *path, const char *name, DWORD type, const void *data, DWORD size)
{
    SHSetValueA(HKEY_CURRENT_USER, path, name, type, data, size);
}

void SetUserString(const char *path, const char *name, const char *text)
{
    SetUserValue(path, name, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
}

std::string GetUserValue(const char *path, const char *name, DWORD *type)
{
    char data[2048];
    DWORD size = sizeof data;
    if (SHGetValueA(HKEY_CURRENT_USER, path, name, type, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    return std::string(data, size);
}

DWORD GetUserDword(const char *path, const char *name)
{
    std::string data = GetUserValue(path, name);
    DWORD value = 0xDEADBEEF;
    if (data.size() == sizeof value)
        std::memcpy(&value, data.data(), sizeof value);
    return value;
}
