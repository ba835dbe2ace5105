#include "ProgressTestSupport.h"

#include <fstream>
#include <iterator>

namespace progress_test {

Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes EncodeUserList() {
    StreamPtr memory = OpenMemoryWrite();
    WriteUserList(*memory, UserList, CurrentUser);
    return MemoryBytes(*memory);
}

}  // namespace progress_test
