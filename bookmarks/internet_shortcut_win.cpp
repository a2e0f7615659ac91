// Resolving an Internet Shortcut through the system's Internet Shortcut object.
#include "bookmarks/favorites_reader.h"
#include "bookmarks/favorites_listing.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <intshcut.h>

#include <cstdlib>
#include <cstring>

#include "base/fatal_error.h"
#include "base/trace.h"

// Spelled out here so that no import library has to supply them.
static const CLSID CLSID_INTERNET_SHORTCUT = {0xFBF23B40, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
static const IID IID_URL_LOCATOR_A = {0xFBF23B80, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
static const IID IID_PERSIST_FILE = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

static char *CopyURL(const char *target, int *length)
{
    size_t size = std::strlen(target);
    char *copy = static_cast<char *>(std::malloc(size + 1));
    if (!copy)
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    std::memcpy(copy, target, size + 1);
    *length = static_cast<int>(size);
    return copy;
}

// Loads the shortcut into the object and takes its URL. GetURL answers S_FALSE for a shortcut that
// holds none; only S_OK counts.
static HRESULT LoadAndGetURL(IMalloc *allocator, IUniformResourceLocatorA *locator, IPersistFile *file,
                             const wchar_t *path, char **url, int *length)
{
    HRESULT result = file->Load(path, STGM_READ);
    if (FAILED(result))
        return result;
    LPSTR target = nullptr;
    result = locator->GetURL(&target);
    if (result == S_OK && !target)
        result = S_FALSE;
    if (result == S_OK)
        *url = CopyURL(target, length);
    if (target)
        allocator->Free(target);
    return result;
}

static int ResolveByWideName(const wchar_t *path, char **url, int *length)
{
    IMalloc *allocator = nullptr;
    IUniformResourceLocatorA *locator = nullptr;
    IPersistFile *file = nullptr;
    HRESULT result = SHGetMalloc(&allocator);
    if (SUCCEEDED(result))
        result = CoCreateInstance(CLSID_INTERNET_SHORTCUT, nullptr, CLSCTX_INPROC_SERVER, IID_URL_LOCATOR_A,
                                  reinterpret_cast<void **>(&locator));
    if (SUCCEEDED(result))
        result = locator->QueryInterface(IID_PERSIST_FILE, reinterpret_cast<void **>(&file));
    if (SUCCEEDED(result))
        result = LoadAndGetURL(allocator, locator, file, path, url, length);
    if (file)
        file->Release();
    if (locator)
        locator->Release();
    if (allocator)
        allocator->Release();
    if (result != S_OK)
        Trace("shortcut not resolved (0x%08lX): %ls", static_cast<unsigned long>(result), path);
    return result == S_OK ? 0 : static_cast<int>(result);
}

int ResolveInternetShortcut(const char *path, char **url, int *length)
{
    WCHAR widePath[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH))
        return HRESULT_FROM_WIN32(GetLastError());
    return ResolveByWideName(widePath, url, length);
}

// COM is started on the reading thread by the first shortcut that needs the object, so a tree that the
// file reading resolves whole never starts it; 0 before then, 1 once it is balanced at the end, -1 when
// COM refused (and must not be balanced).
static thread_local int comState = 0;

bool AskShortcutObject(const std::filesystem::path &path, std::string &url)
{
    if (comState == 0)
        comState = SUCCEEDED(CoInitialize(nullptr)) ? 1 : -1;  // S_FALSE (already started) is balanced too
    char *target = nullptr;
    int length = 0;
    if (ResolveByWideName(path.c_str(), &target, &length) != 0)
        return false;
    url.assign(target, static_cast<size_t>(length));
    std::free(target);
    return true;
}

void EndShortcutResolving()
{
    if (comState == 1)
        CoUninitialize();
    comState = 0;
}
