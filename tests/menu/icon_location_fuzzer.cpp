// Fuzzing the split of shell "DefaultIcon" values: any bytes, any length, no overrun of the file buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "menu/icon_location.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);  // stops at the first NUL, as a registry text does
    char file[260];
    int index = 0;
    if (SplitIconLocation(text.c_str(), file, sizeof file, &index) && std::strlen(file) >= sizeof file)
        __builtin_trap();
    char small[4];
    SplitIconLocation(text.c_str(), small, sizeof small, &index);
    EndsWithShellFolderIcon(text.c_str());
    return 0;
}
