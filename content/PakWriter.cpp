#include "content/PakWriter.h"

#include <limits>

#include "content/PakFormat.h"

namespace {

bool Fail(std::string* problem, const std::string& text) {
    if (problem) *problem = text;
    return false;
}

// Characters beyond 8-bit text cannot be stored in a name field.
bool FitsLatin1(const std::string& utf8) {
    size_t i = 0;
    while (i < utf8.size()) {
        if (NextCodePoint(utf8, i) > 0xFF) return false;
    }
    return true;
}

}  // namespace

bool WritePak(TStream& out, const std::vector<PakWriterEntry>& entries, std::string* problem) {
    constexpr int64_t limit = std::numeric_limits<int32_t>::max();
    int64_t position = PAK_HEADER_SIZE + static_cast<int64_t>(entries.size()) * PAK_ENTRY_SIZE;
    if (position > limit) return Fail(problem, "too many entries for one pack");

    std::vector<int32_t> offsets;
    offsets.reserve(entries.size());
    for (const PakWriterEntry& entry : entries) {
        if (!FitsLatin1(entry.name)) {
            return Fail(problem, entry.name + ": name holds characters that a pack cannot store");
        }
        if (Utf8ToLatin1(entry.name).size() > static_cast<size_t>(PAK_NAME_LENGTH)) {
            return Fail(problem, entry.name + ": name longer than " +
                                     std::to_string(PAK_NAME_LENGTH) + " characters");
        }
        if (position + static_cast<int64_t>(entry.data.size()) > limit) {
            return Fail(problem, entry.name + ": pack would grow beyond 2 GiB");
        }
        offsets.push_back(static_cast<int32_t>(position));
        position += static_cast<int64_t>(entry.data.size());
    }

    // The directory is assembled in memory so a short write shows in one place.
    std::vector<uint8_t> directory;
    directory.reserve(PAK_HEADER_SIZE + entries.size() * PAK_ENTRY_SIZE);
    auto putInt = [&directory](int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8) directory.push_back(static_cast<uint8_t>(u >> shift));
    };
    putInt(static_cast<int32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string field = Utf8ToLatin1(entries[i].name);
        field.resize(PAK_NAME_LENGTH, ' ');
        for (char c : field) directory.push_back(PakScrambleByte(static_cast<uint8_t>(c)));
        putInt(static_cast<int32_t>(entries[i].data.size()));
        putInt(offsets[i]);
    }
    if (out.Write(directory.data(), directory.size()) != directory.size()) {
        return Fail(problem, out.Name() + ": could not write the directory");
    }
    for (const PakWriterEntry& entry : entries) {
        if (entry.data.empty()) continue;
        if (out.Write(entry.data.data(), entry.data.size()) != entry.data.size()) {
            return Fail(problem, out.Name() + ": could not write " + entry.name);
        }
    }
    return true;
}
