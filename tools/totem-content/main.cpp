// totem-content: the small steps of the content build that turn authored
// sources into the files the game reads.
//
//   totem-content res OUT.xml FRAGMENT...   joins resource fragments into one
//                                           description, refusing an id
//                                           declared twice in one scope
//   totem-content text SOURCE.txt OUT.dat   compiles the UTF-8 text source
//                                           into the UTF-16 LE text table
//   totem-content url OUT.url TARGET        a link file whose URL is the
//                                           absolute file:// address of TARGET
//
// Every output is written next to its final name and renamed into place only
// when complete, so a broken source never leaves a half-written file behind.
// Problems are reported one per line as "FILE: problem" on standard error,
// and the exit status is 1 (2 for a usage error).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "content/ContentSources.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: totem-content res OUT.xml FRAGMENT... | text SOURCE.txt OUT.dat | url OUT.url TARGET\n");
    return 2;
}

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

bool WriteAtomically(const std::string& path, const std::string& bytes) {
    const fs::path target(path);
    if (target.has_parent_path()) {
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
    }
    const std::string temp = path + ".partial";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

int Report(const std::vector<std::string>& problems) {
    for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}

int Res(int argc, char** argv) {
    if (argc < 4) return Usage();
    std::vector<ResourceFragment> fragments;
    std::vector<std::string> problems;
    for (int i = 3; i < argc; ++i) {
        ResourceFragment fragment{argv[i], ""};
        if (!ReadWhole(fragment.name, fragment.text)) {
            problems.push_back(fragment.name + ": cannot be read");
            continue;
        }
        fragments.push_back(std::move(fragment));
    }
    std::string joined;
    if (problems.empty()) joined = JoinResourceFragments(fragments, problems);
    if (!problems.empty()) return Report(problems);
    if (!WriteAtomically(argv[2], joined)) return Report({std::string(argv[2]) + ": cannot be written"});
    return 0;
}

int Text(int argc, char** argv) {
    if (argc != 4) return Usage();
    std::string source;
    if (!ReadWhole(argv[2], source)) return Report({std::string(argv[2]) + ": cannot be read"});
    std::vector<std::string> problems;
    const std::string table = CompileTextTable(argv[2], source, problems);
    if (!problems.empty()) return Report(problems);
    if (!WriteAtomically(argv[3], table)) return Report({std::string(argv[3]) + ": cannot be written"});
    return 0;
}

int Url(int argc, char** argv) {
    if (argc != 4) return Usage();
    std::error_code ec;
    const fs::path target = fs::absolute(argv[3], ec);
    if (ec || !fs::exists(target)) return Report({std::string(argv[3]) + ": the link target does not exist"});
    const std::string text = "[InternetShortcut]\r\nURL=file://" + target.lexically_normal().string() + "\r\n";
    if (!WriteAtomically(argv[2], text)) return Report({std::string(argv[2]) + ": cannot be written"});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "res") return Res(argc, argv);
    if (command == "text") return Text(argc, argv);
    if (command == "url") return Url(argc, argv);
    return Usage();
}
