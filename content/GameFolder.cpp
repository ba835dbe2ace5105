#include "content/GameFolder.h"

#include <filesystem>

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
