#include "content/GameFolder.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

bool EnterGameFolder(const std::string& gameDir, std::string& problem) {
    std::error_code error;
    const fs::path descriptions = fs::path(gameDir) / "res.xml";
    if (!fs::is_regular_file(descriptions, error)) {
        problem = descriptions.string() + ": not found";
        return false;
    }
    fs::current_path(gameDir, error);
    if (error) {
        problem = gameDir + ": cannot be entered (" + error.message() + ")";
        return false;
    }
    return true;
}

std::string FindGameFolder(const std::string& startFolder, const std::string& programFolder,
                           const std::string& dataFromProgram) {
    std::vector<fs::path> candidates{fs::path(startFolder)};
    if (!programFolder.empty()) {
        candidates.emplace_back(programFolder);
        if (!dataFromProgram.empty()) candidates.push_back(fs::path(programFolder) / dataFromProgram);
    }
    for (const fs::path& folder : candidates) {
        std::error_code error;
        if (folder.empty() || !fs::is_regular_file(folder / "res.xml", error)) continue;
        const fs::path full = fs::weakly_canonical(fs::absolute(folder, error), error);
        if (!error) return full.string();
    }
    return {};
}
