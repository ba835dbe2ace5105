#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Where a player's files are kept: the profiles ("User.dat"), the options
// ("options.dat"), the timing ("timing.ini") and any file of settings added later. A game run from its
// build folder or an unpacked copy keeps them beside the program, as it always
// has; an installed game's folder is not the player's to write, so there they
// go to the desktop's per-user data folder instead.

// The desktop's per-user folders as the environment names them; empty = unset.
struct UserFolders {
    std::string dataHome;  // XDG_DATA_HOME
    std::string home;      // HOME
};
UserFolders UserFoldersFromEnvironment();

// The one place that decides: `gameFolder` itself when new files can be made
// in it; otherwise "totem-riff" in the data home, which is `dataHome` when it
// is an absolute path (a relative one is ignored, as the desktop's rules say)
// and "<home>/.local/share" otherwise. With neither known, the game folder
// after all: saving will then say why it cannot.
std::string ChooseSaveFolder(const std::string& gameFolder, const UserFolders& folders);

// Points UserFilePath, OptionsFilePath and TimingFilePath into `folder`. When it is
// `gameFolder` they stay the bare names they always were, which the game
// resolves in its folder.
void UseSaveFolder(const std::string& folder, const std::string& gameFolder);

// Writes a saved file whole (see ReplaceFile). A file of the per-user folder
// UseSaveFolder chose makes that folder first when it is not there yet, so
// it only appears once there is something to keep in it; any other missing
// folder fails as before. On failure `error` says which step failed and why.
bool SaveFileWhole(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
