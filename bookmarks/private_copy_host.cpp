// Private copies in the host build: nothing there locks a file against readers.
#include "bookmarks/private_copy.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

std::string MakePrivateFolder()
{
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "tresk-XXXXXX").string();
    return !error && mkdtemp(&pattern[0]) ? pattern : "";
}

bool CopySharedFile(const std::string &from, const std::string &to)
{
    std::error_code error;
    return std::filesystem::is_regular_file(from, error) &&
           std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
}

void RemovePrivateFolder(const std::string &folder)
{
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}
