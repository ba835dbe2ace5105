#include "progress/SaveFolder.h"

#include <cstdlib>
#include <filesystem>

#include "media/Files.h"
#include "progress/TOptions.h"
#include "progress/TimingFile.h"
#include "progress/UserFile.h"

namespace fs = std::filesystem;

namespace {
const char* const kFolderName = "totem-riff";
// The per-user folder UseSaveFolder chose; empty beside the game, whose
// folder is there already.
std::string folderToMake;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Both paths as the same absolute, normal text, so "a/./b" and "a/b/" match.
bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    const fs::path fa = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path fb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return !ec && fa == fb;
}
}  // namespace

UserFolders UserFoldersFromEnvironment() { return {Environment("XDG_DATA_HOME"), Environment("HOME")}; }

std::string ChooseSaveFolder(const std::string& gameFolder, const UserFolders& folders) {
    if (FolderWritable(gameFolder)) return gameFolder;
    if (fs::path(folders.dataHome).is_absolute()) return (fs::path(folders.dataHome) / kFolderName).string();
    if (!folders.home.empty()) return (fs::path(folders.home) / ".local" / "share" / kFolderName).string();
    return gameFolder;
}

void UseSaveFolder(const std::string& folder, const std::string& gameFolder) {
    if (SameFolder(folder, gameFolder)) {
        folderToMake.clear();
        UserFilePath = "User.dat";
        OptionsFilePath = "options.dat";
        TimingFilePath = "timing.ini";
        return;
    }
    folderToMake = folder;
    UserFilePath = (fs::path(folder) / "User.dat").string();
    OptionsFilePath = (fs::path(folder) / "options.dat").string();
    TimingFilePath = (fs::path(folder) / "timing.ini").string();
}

bool SaveFileWhole(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    // Only the chosen folder is made: any other missing folder means the
    // place to save is gone, and saving must fail rather than quietly make it.
    const std::string folder = fs::path(NativePath(path)).parent_path().string();
    if (!folderToMake.empty() && SameFolder(folder, folderToMake) && !MakeFolders(folderToMake, error)) return false;
    return ReplaceFile(path, bytes, error);
}
