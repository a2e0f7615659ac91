// Redirecting the program's imports: the slots of its import table are rewritten in place.
#include "tests/support/import_redirect_win.h"

#include <windows.h>

void *RedirectImport(const char *module, const char *function, void *replacement)
{
    void *real = reinterpret_cast<void *>(GetProcAddress(LoadLibraryA(module), function));
    BYTE *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    bool found = false;
    for (auto *imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + directory.VirtualAddress);
         real && imports->Name; imports++) {
        for (auto *slot = reinterpret_cast<void **>(base + imports->FirstThunk); *slot; slot++) {
            if (*slot != real)
                continue;
            DWORD previous;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
            *slot = replacement;
            VirtualProtect(slot, sizeof *slot, previous, &previous);
            found = true;
        }
    }
    return found ? real : nullptr;
}
