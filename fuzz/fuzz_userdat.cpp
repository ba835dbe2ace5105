// libFuzzer entry point for the reader of saved profiles: any bytes must be
// read or refused with a reason, never crash, read outside the input or
// allocate more than the input's own size; a file it accepts must write out
// and read back as the same profiles.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/TStream.h"
#include "progress/UserFile.h"

namespace {
std::vector<uint8_t> Encode(const std::vector<UserPtr>& users, const UserPtr& current) {
    StreamPtr memory = OpenMemoryWrite("again.dat");
    WriteUserList(*memory, users, current);
    return MemoryBytes(*memory);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StreamPtr file = OpenMemory(std::vector<uint8_t>(data, data + size), "User.dat");
    std::vector<UserPtr> users;
    UserPtr current;
    std::string error;
    if (!ReadUserList(*file, users, current, error)) {
        if (error.empty() || !users.empty() || current) std::abort();
        return 0;
    }
    bool currentListed = !current;
    for (const UserPtr& user : users) {
        if (user == current) currentListed = true;
        const int level = user->GameData->CurrentLevel;
        if (level < 1 || level > TGameData::ENTRIES) std::abort();
    }
    if (!currentListed) std::abort();

    const std::vector<uint8_t> written = Encode(users, current);
    StreamPtr again = OpenMemory(written, "again.dat");
    std::vector<UserPtr> reread;
    UserPtr rereadCurrent;
    if (!ReadUserList(*again, reread, rereadCurrent, error)) std::abort();
    if (Encode(reread, rereadCurrent) != written) std::abort();
    return 0;
}
