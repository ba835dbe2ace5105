// Feeds saved inputs to a fuzz target's entry point once each, so the normal
// and sanitizer builds replay the corpora without libFuzzer: a reader that
// breaks on an input it once survived fails the test run. Arguments are
// files or folders (every file in a folder, in name order); no input at all
// is a failure, so a corpus that went missing is noticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> Inputs(const std::filesystem::path& arg) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(arg)) {
        for (const auto& entry : std::filesystem::directory_iterator(arg))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
    } else if (std::filesystem::is_regular_file(arg)) {
        files.push_back(arg);
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    size_t replayed = 0;
    for (int a = 1; a < argc; ++a) {
        for (const std::filesystem::path& file : Inputs(argv[a])) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            std::cout << "replaying " << file.string() << " (" << bytes.size() << " bytes)" << std::endl;
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::cerr << "no inputs to replay" << std::endl;
        return 1;
    }
    std::cout << replayed << " inputs replayed" << std::endl;
    return 0;
}
