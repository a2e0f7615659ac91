// Outside a fuzz build, a fuzz harness replays its seed files (and any crash files given) as an ordinary test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static int ReplayFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return 1;
}

int main(int argc, char **argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; i++) {
        std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto &item : std::filesystem::directory_iterator(path))
                if (item.is_regular_file())
                    replayed += ReplayFile(item.path());
        } else {
            replayed += ReplayFile(path);
        }
    }
    // the empty input is always worth a run
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(""), 0);
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
