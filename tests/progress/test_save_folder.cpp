// Where the player's files are kept: beside the game when its folder can be
// written (a build, an unpacked copy), otherwise in the desktop's per-user
// data folder; that folder is made the first time something is saved.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "media/TStream.h"
#include "progress/ProgressGlobals.h"
#include "progress/SaveFolder.h"
#include "progress/TOptions.h"
#include "progress/TimingFile.h"
#include "progress/UserFile.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class SaveFolderTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = TestTempPath("save_folder");
        Clear();
        fs::create_directories(root_ / "game");
        savedUserPath_ = UserFilePath;
        savedOptionsPath_ = OptionsFilePath;
        savedTimingPath_ = TimingFilePath;
        ResetUserFileState();
    }
    void TearDown() override {
        UseSaveFolder(Game(), Game());
        UserFilePath = savedUserPath_;
        OptionsFilePath = savedOptionsPath_;
        TimingFilePath = savedTimingPath_;
        UserList.clear();
        CurrentUser = nullptr;
        ResetUserFileState();
        Clear();
    }
    // Write permission comes back first, or the folder could not be removed.
    void Clear() {
        std::error_code ec;
        if (fs::exists(root_, ec))
            for (const auto& entry : fs::recursive_directory_iterator(root_, ec))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }
    void ReadOnly(const fs::path& folder) {
        fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    std::string Game() const { return (root_ / "game").string(); }

    fs::path root_;
    std::string savedUserPath_, savedOptionsPath_, savedTimingPath_;
};

TEST_F(SaveFolderTest, TheGameFolderWhenWritableElseTheDesktopsDataFolder) {
    struct Case {
        const char* name;
        bool gameWritable;
        const char* dataHome;  // "@" stands for the test's folder
        const char* home;
        const char* expected;  // "game" = the game folder itself
    };
    const Case cases[] = {
        {"build folder", true, "@/data", "@/home", "game"},
        {"installed", false, "@/data", "@/home", "@/data/totem-riff"},
        {"installed, XDG_DATA_HOME unset", false, "", "@/home", "@/home/.local/share/totem-riff"},
        {"installed, XDG_DATA_HOME relative", false, "data", "@/home", "@/home/.local/share/totem-riff"},
        {"installed, nothing known", false, "", "", "game"},
    };
    const auto place = [this](const std::string& text) {
        return text.starts_with("@") ? root_.string() + text.substr(1) : text;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::permissions(root_ / "game", fs::perms::owner_all, fs::perm_options::add);
        if (!c.gameWritable) ReadOnly(root_ / "game");
        const std::string chosen = ChooseSaveFolder(Game(), {place(c.dataHome), place(c.home)});
        EXPECT_EQ(chosen, std::string(c.expected) == "game" ? Game() : place(c.expected));
    }
}

TEST_F(SaveFolderTest, AGameFolderThatIsNotThereIsNotWritable) {
    EXPECT_EQ(ChooseSaveFolder((root_ / "gone").string(), {(root_ / "data").string(), ""}),
              (root_ / "data" / "totem-riff").string());
}

// The variables are read at the moment of asking, an unset one as empty.
TEST_F(SaveFolderTest, TheEnvironmentIsReadAsItIs) {
    const auto keep = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const std::optional<std::string> dataHome = keep("XDG_DATA_HOME"), home = keep("HOME");
    ::setenv("XDG_DATA_HOME", "/somewhere/data", 1);
    ::setenv("HOME", "/somewhere/home", 1);
    const UserFolders set = UserFoldersFromEnvironment();
    ::unsetenv("XDG_DATA_HOME");
    const UserFolders unset = UserFoldersFromEnvironment();
    for (const auto& [name, value] : {std::pair{"XDG_DATA_HOME", dataHome}, std::pair{"HOME", home}}) {
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    EXPECT_EQ(set.dataHome, "/somewhere/data");
    EXPECT_EQ(set.home, "/somewhere/home");
    EXPECT_EQ(unset.dataHome, "");
    EXPECT_EQ(unset.home, "/somewhere/home");
}

TEST_F(SaveFolderTest, BesideTheGameTheNamesStayBareElsewhereTheyLeadIntoTheFolder) {
    UseSaveFolder(Game() + "/", Game());
    EXPECT_EQ(UserFilePath, "User.dat");
    EXPECT_EQ(OptionsFilePath, "options.dat");
    EXPECT_EQ(TimingFilePath, "timing.ini");
    const fs::path data = root_ / "data" / "totem-riff";
    UseSaveFolder(data.string(), Game());
    EXPECT_EQ(UserFilePath, (data / "User.dat").string());
    EXPECT_EQ(OptionsFilePath, (data / "options.dat").string());
    EXPECT_EQ(TimingFilePath, (data / "timing.ini").string());
}

TEST_F(SaveFolderTest, TheFirstSaveMakesTheFolderAndWritesTheFilesThere) {
    const fs::path data = root_ / "data" / "deeper" / "totem-riff";
    UseSaveFolder(data.string(), Game());
    ASSERT_TRUE(TOptions::CreateDefaultConfig());
    EXPECT_EQ(fs::file_size(data / "options.dat"), OptionsBytes(TOptions::DefSoundVol, TOptions::DefFullScreen).size());
    UserList.clear();
    CurrentUser = CreateUser("Ann");
    ASSERT_TRUE(SaveUserList());
    UserList.clear();
    CurrentUser = nullptr;
    LoadUserList();
    ASSERT_EQ(UserList.size(), 1u);
    EXPECT_TRUE(fs::is_regular_file(data / "User.dat"));
    EXPECT_TRUE(fs::is_empty(root_ / "game")) << "nothing is written beside the game";
}

TEST_F(SaveFolderTest, AFolderThatCannotBeMadeIsNamedAndNothingIsWritten) {
    std::ofstream(root_ / "blocker") << "a file where a folder should go";
    const fs::path folder = root_ / "blocker" / "totem-riff";
    UseSaveFolder(folder.string(), Game());
    std::string error;
    EXPECT_FALSE(SaveFileWhole(OptionsFilePath, {1, 2, 3, 4, 5}, error));
    EXPECT_NE(error.find("cannot create the folder " + folder.string()), std::string::npos) << error;
    EXPECT_EQ(Slurp(root_ / "blocker"), "a file where a folder should go");
}

// A save into any other folder that has gone must fail, not bring it back.
TEST_F(SaveFolderTest, OnlyTheChosenFolderIsMade) {
    UseSaveFolder((root_ / "data" / "totem-riff").string(), Game());
    std::string error;
    EXPECT_FALSE(SaveFileWhole((root_ / "gone" / "options.dat").string(), {1, 2, 3, 4, 5}, error));
    EXPECT_FALSE(fs::exists(root_ / "gone"));
    EXPECT_FALSE(fs::exists(root_ / "data")) << "made before anything was saved into it";
}

TEST_F(SaveFolderTest, AnExistingFolderIsWrittenIntoWhole) {
    const fs::path target = root_ / "game" / "options.dat";
    std::string error;
    ASSERT_TRUE(SaveFileWhole(target.string(), {9, 8, 7, 6, 5}, error)) << error;
    EXPECT_EQ(Slurp(target), std::string("\x09\x08\x07\x06\x05"));
    EXPECT_FALSE(fs::exists(target.string() + ".tmp"));
}

}  // namespace
