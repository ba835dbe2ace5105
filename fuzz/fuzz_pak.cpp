// libFuzzer entry point for the data pack directory: any bytes must give a
// directory whose every entry can be opened inside the pack, and each entry's
// stream must yield exactly its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/DataPak.h"
#include "media/TStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StreamPtr pack = OpenMemory(std::vector<uint8_t>(data, data + size), "fuzz.pak");
    std::vector<std::string> problems;
    const std::vector<TPakFile> entries = ReadPakDirectory(*pack, &problems);
    for (const TPakFile& entry : entries) {
        StreamPtr window = OpenWindow(pack, entry.Offset, entry.Size, PakEntryName(entry));
        if (!window) std::abort();  // the directory promised the entry lies inside
        if (window->ReadAll().size() != static_cast<size_t>(entry.Size)) std::abort();
    }
    return 0;
}
