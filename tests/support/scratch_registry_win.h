// A scratch registry for the tests: HKEY_CURRENT_USER of this process redirected to an empty key of its
// own, so the program's key, the Run key and the shell folders the code uses are all scratch copies.
#pragma once
#include <windows.h>

#include <string>

class ScratchUserKey {
public:
    ScratchUserKey();   // redirects HKEY_CURRENT_USER to a new, empty scratch key
    ~ScratchUserKey();  // puts the real one back and deletes the scratch key

private:
    HKEY key = nullptr;
};

// Values under HKEY_CURRENT_USER\path, the key created when missing.
void SetUserValue(const char *path, const char *name, DWORD type, const void *data, DWORD size);
void SetUserString(const char *path, const char *name, const char *text);
// A value's bytes as stored (and its type), or "<missing>"; a 4-byte value, or 0xDEADBEEF.
std::string GetUserValue(const char *path, const char *name, DWORD *type = nullptr);
DWORD GetUserDword(const char *path, const char *name);
