#include "tests/support/FuzzReplay.h"

#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"

int ReplayFuzzInputs(const char* name, int (*entry)(const uint8_t* data, size_t size)) {
    int count = 0;
    for (const char* kind : {"regressions", "seeds"}) {
        std::filesystem::path dir = std::filesystem::path(SourceDir()) / "fuzz" / kind / name;
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec)) continue;
        for (const auto& item : std::filesystem::directory_iterator(dir)) {
            if (!item.is_regular_file()) continue;
            std::string bytes = ReadFileBytes(item.path().string());
            entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++count;
        }
    }
    return count;
}
