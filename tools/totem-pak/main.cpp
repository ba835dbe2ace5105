// totem-pak: builds, lists and unpacks the game's data pack.
//
//   totem-pak pack DIR OUT.pak     every file below DIR, named by its path
//                                  relative to DIR, lower-cased, "/"-separated
//   totem-pak list PAK             one line per entry: name, size, offset
//   totem-pak extract PAK DIR      writes every entry below DIR
//
// Problems are reported as one line on standard error naming the file, and
// the exit status is non-zero.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "content/DataPak.h"
#include "content/PakFormat.h"
#include "content/PakWriter.h"
#include "core/TextHelpers.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& file, const std::string& problem) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), problem.c_str());
    return 1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: totem-pak pack DIR OUT.pak | list PAK | extract PAK DIR\n");
    return 2;
}

// Reads the pack's directory; damaged packs are refused rather than half-read.
bool ReadDirectory(const std::string& pakPath, StreamPtr& pack, std::vector<TPakFile>& entries,
                   int& status) {
    pack = OpenRead(pakPath);
    if (!pack) {
        status = Fail(pakPath, "cannot open the pack");
        return false;
    }
    std::vector<std::string> problems;
    entries = ReadPakDirectory(*pack, &problems);
    if (!problems.empty()) {
        status = Fail(pakPath, problems.front());
        return false;
    }
    return true;
}

int Pack(const std::string& dir, const std::string& outPath) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return Fail(dir, "is not a folder");
    const fs::path outAbsolute = fs::weakly_canonical(outPath, ec);

    std::vector<fs::path> files;
    fs::recursive_directory_iterator it(dir, ec), end;
    if (ec) return Fail(dir, ec.message());
    for (; it != end; it.increment(ec)) {
        if (ec) return Fail(dir, ec.message());
        if (!it->is_regular_file(ec)) continue;
        // An earlier pack written into the folder must not pack itself.
        if (fs::weakly_canonical(it->path(), ec) == outAbsolute) continue;
        files.push_back(it->path());
    }
    // Sorted by stored name, so the pack's layout does not depend on the order
    // the file system lists the folder in.
    struct Source {
        fs::path file;
        std::string name;
    };
    std::vector<Source> sources;
    for (const fs::path& file : files) {
        std::string name = LowerAscii(fs::relative(file, dir, ec).generic_string());
        if (ec) return Fail(file.string(), ec.message());
        if (Utf8ToLatin1(name).size() > static_cast<size_t>(PAK_NAME_LENGTH)) {
            return Fail(file.string(), "its name in the pack would be longer than " +
                                           std::to_string(PAK_NAME_LENGTH) + " characters");
        }
        sources.push_back({file, std::move(name)});
    }
    std::sort(sources.begin(), sources.end(),
              [](const Source& a, const Source& b) { return a.name < b.name; });
    for (size_t i = 1; i < sources.size(); ++i) {
        if (sources[i].name == sources[i - 1].name) {
            return Fail(sources[i].file.string(), "has the same name in the pack as " +
                                                      sources[i - 1].file.string() +
                                                      " (letter case is not kept)");
        }
    }

    std::vector<PakWriterEntry> entries;
    for (const Source& source : sources) {
        StreamPtr in = OpenRead(source.file.string());
        if (!in) return Fail(source.file.string(), "cannot be read");
        PakWriterEntry entry{source.name, in->ReadAll()};
        if (static_cast<int64_t>(entry.data.size()) != in->Size()) {
            return Fail(source.file.string(), "could not be read to its end");
        }
        entries.push_back(std::move(entry));
    }

    const fs::path outFolder = fs::path(outPath).parent_path();
    if (!outFolder.empty()) {
        fs::create_directories(outFolder, ec);
        if (ec) return Fail(outFolder.string(), ec.message());
    }
    StreamPtr out = OpenWrite(outPath);
    if (!out) return Fail(outPath, "cannot be created");
    std::string problem;
    const bool written = WritePak(*out, entries, &problem);
    out->Close();
    if (!written) {
        fs::remove(outPath, ec);
        return Fail(outPath, problem);
    }
    return 0;
}

int List(const std::string& pakPath) {
    StreamPtr pack;
    std::vector<TPakFile> entries;
    int status = 0;
    if (!ReadDirectory(pakPath, pack, entries, status)) return status;
    for (const TPakFile& entry : entries) {
        std::printf("%s\t%d\t%d\n", PakEntryName(entry).c_str(), entry.Size, entry.Offset);
    }
    return 0;
}

// A name from the pack becomes a path below the target folder only when it
// cannot climb out of it.
bool SafeRelativePath(const std::string& name, fs::path& out) {
    std::string normal = name;
    std::replace(normal.begin(), normal.end(), '\\', '/');
    if (normal.empty() || normal.front() == '/' || normal.find(':') != std::string::npos) return false;
    fs::path path(normal);
    for (const fs::path& part : path) {
        if (part == ".." || part == ".") return false;
    }
    out = path;
    return true;
}

int Extract(const std::string& pakPath, const std::string& dir) {
    StreamPtr pack;
    std::vector<TPakFile> entries;
    int status = 0;
    if (!ReadDirectory(pakPath, pack, entries, status)) return status;
    for (const TPakFile& entry : entries) {
        const std::string name = PakEntryName(entry);
        fs::path relative;
        if (!SafeRelativePath(name, relative)) {
            return Fail(pakPath, "entry '" + name + "' is not a plain relative path");
        }
        const fs::path target = fs::path(dir) / relative;
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        if (ec) return Fail(target.parent_path().string(), ec.message());
        StreamPtr in = OpenWindow(pack, entry.Offset, entry.Size, name);
        if (!in) return Fail(pakPath, "entry '" + name + "' lies outside the pack");
        const std::vector<uint8_t> data = in->ReadAll();
        StreamPtr out = OpenWrite(target.string());
        if (!out) return Fail(target.string(), "cannot be created");
        const size_t written = data.empty() ? 0 : out->Write(data.data(), data.size());
        out->Close();
        if (written != data.size()) return Fail(target.string(), "could not be written");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "pack" && argc == 4) return Pack(argv[2], argv[3]);
    if (command == "list" && argc == 3) return List(argv[2]);
    if (command == "extract" && argc == 4) return Extract(argv[2], argv[3]);
    return Usage();
}
