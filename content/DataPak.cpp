#include "content/DataPak.h"

#include <cstdint>

#include "content/PakFormat.h"
#include "media/Files.h"
#include "media/System.h"

std::string PakPath = "media/data.pak";
std::vector<TPakFile> PakDirectory;
int PakLoaded = 0;

namespace {

int32_t LittleEndianInt(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

std::string DecodeName(const uint8_t* field, int n) {
    std::string latin1(static_cast<size_t>(n), ' ');
    for (int i = 0; i < n; ++i) latin1[i] = static_cast<char>(PakUnscrambleByte(field[i]));
    return Latin1ToUtf8(latin1);
}

const TPakFile* FindEntry(const std::string& path) {
    const std::string key = PakKey(path);
    for (const TPakFile& entry : PakDirectory) {
        if (entry.FileName == key) return &entry;
    }
    return nullptr;
}

}  // namespace

std::string PakKey(const std::string& utf8Path) {
    std::string key = Utf8ToLatin1(utf8Path);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    key.resize(PAK_NAME_LENGTH, ' ');
    return Latin1ToUtf8(key);
}

std::string ReadPakName(TStream& stream, int n) {
    if (n <= 0) return {};
    std::vector<uint8_t> field(static_cast<size_t>(n), 0);
    stream.Read(field.data(), field.size());
    return DecodeName(field.data(), n);
}

std::vector<TPakFile> ReadPakDirectory(TStream& stream, std::vector<std::string>* problems) {
    auto report = [problems](const std::string& text) {
        if (problems) problems->push_back(text);
    };
    std::vector<TPakFile> entries;
    const int64_t size = stream.Size();
    stream.Seek(0);
    if (size < PAK_HEADER_SIZE) {
        report("too short for a pack (" + std::to_string(size) + " bytes)");
        return entries;
    }
    const int32_t count = stream.ReadInt();
    if (count < 0) {
        report("negative entry count " + std::to_string(count));
        return entries;
    }
    const int64_t fitting = (size - PAK_HEADER_SIZE) / PAK_ENTRY_SIZE;
    int64_t readable = count;
    if (readable > fitting) {
        report("directory of " + std::to_string(count) + " entries does not fit in " +
               std::to_string(size) + " bytes; reading the first " + std::to_string(fitting));
        readable = fitting;
    }

    std::vector<uint8_t> directory(static_cast<size_t>(readable) * PAK_ENTRY_SIZE);
    const size_t got = stream.Read(directory.data(), directory.size());
    readable = static_cast<int64_t>(got / PAK_ENTRY_SIZE);

    int64_t outside = 0;
    entries.reserve(static_cast<size_t>(readable));
    for (int64_t i = 0; i < readable; ++i) {
        const uint8_t* record = directory.data() + i * PAK_ENTRY_SIZE;
        TPakFile entry;
        entry.FileName = DecodeName(record, PAK_NAME_LENGTH);
        entry.Size = LittleEndianInt(record + PAK_NAME_LENGTH);
        entry.Offset = LittleEndianInt(record + PAK_NAME_LENGTH + 4);
        if (entry.Size < 0 || entry.Offset < 0 ||
            static_cast<int64_t>(entry.Offset) + entry.Size > size) {
            ++outside;
            continue;
        }
        entries.push_back(std::move(entry));
    }
    if (outside > 0) {
        report(std::to_string(outside) + " of " + std::to_string(readable) +
               " entries point outside the file and were left out");
    }
    return entries;
}

std::string PakEntryName(const TPakFile& entry) {
    size_t end = entry.FileName.size();
    while (end > 0 && entry.FileName[end - 1] == ' ') --end;
    return entry.FileName.substr(0, end);
}

void LoadPakDirectory() {
    PakDirectory.clear();
    if (StreamPtr pack = OpenRead(PakPath)) {
        std::vector<std::string> problems;
        PakDirectory = ReadPakDirectory(*pack, &problems);
        for (const std::string& problem : problems) PrintLine(PakPath + ": " + problem);
        pack->Close();
    }
    PakLoaded = 1;
}

void ResetPakDirectory() {
    PakDirectory.clear();
    PakLoaded = 0;
}

StreamPtr OpenResource(const std::string& path) {
    if (!PakLoaded) LoadPakDirectory();
    if (PathKind(path) != 0) return OpenRead(path);
    const TPakFile* entry = FindEntry(path);
    if (!entry) return nullptr;
    StreamPtr pack = OpenRead(PakPath);
    if (!pack) return nullptr;
    // The pack may have been replaced since its directory was read.
    if (static_cast<int64_t>(entry->Offset) + entry->Size > pack->Size()) {
        PrintLine(PakPath + ": " + path + " lies beyond the end of the pack");
        return nullptr;
    }
    return OpenWindow(pack, entry->Offset, entry->Size, path);
}

int ResourceExists(const std::string& path) {
    if (PathKind(path) != 0) return 1;
    if (!PakLoaded) LoadPakDirectory();
    return FindEntry(path) ? 1 : 0;
}
