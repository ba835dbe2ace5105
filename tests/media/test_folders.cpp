// Folders the game writes into: whether it may, making them, and where the
// program itself lives.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "media/Files.h"
#include "media/System.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class Folders : public testing::Test {
protected:
    void SetUp() override {
        root_ = TestTempPath("folders");
        TearDown();
        fs::create_directories(root_);
    }
    void TearDown() override {
        std::error_code ec;
        if (fs::exists(root_, ec))
            for (const auto& entry : fs::recursive_directory_iterator(root_, ec))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }
    fs::path root_;
};

// Tests run as root on CI, which may write anywhere: a folder with its write
// permission taken from everyone must count as read-only all the same.
TEST_F(Folders, OnlyAnExistingFolderWithWritePermissionIsWritable) {
    struct Case {
        const char* name;
        fs::perms removed;  // taken from a fresh folder
        bool isFile;
        bool exists;
        bool expected;
    };
    const fs::perms allWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const Case cases[] = {
        {"plain folder", fs::perms::none, false, true, true},
        {"write taken from all", allWrite, false, true, false},
        {"group and others may not", fs::perms::group_write | fs::perms::others_write, false, true, true},
        {"a file", fs::perms::none, true, true, false},
        {"missing", fs::perms::none, false, false, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = root_ / ("case" + std::to_string(n++));
        if (c.exists && c.isFile) std::ofstream(path) << "x";
        if (c.exists && !c.isFile) fs::create_directory(path);
        if (c.removed != fs::perms::none) fs::permissions(path, c.removed, fs::perm_options::remove);
        EXPECT_EQ(FolderWritable(path.string()), c.expected);
    }
}

TEST_F(Folders, MakingFoldersMakesEveryMissingStepAndKeepsAnExistingOne) {
    const fs::path deep = root_ / "a" / "b" / "c";
    std::string error;
    ASSERT_TRUE(MakeFolders(deep.string(), error)) << error;
    EXPECT_TRUE(fs::is_directory(deep));
    std::ofstream(deep / "kept") << "kept";
    ASSERT_TRUE(MakeFolders(deep.string(), error)) << error;
    EXPECT_EQ(Slurp(deep / "kept"), "kept");
}

TEST_F(Folders, AFolderThatCannotBeMadeIsNamedWithTheReason) {
    std::ofstream(root_ / "file") << "x";
    for (const fs::path& path : {root_ / "file", root_ / "file" / "below"}) {
        SCOPED_TRACE(path.string());
        std::string error;
        EXPECT_FALSE(MakeFolders(path.string(), error));
        const std::string named = "cannot create the folder " + path.string() + ": ";
        ASSERT_EQ(error.rfind(named, 0), 0u) << error;
        EXPECT_GT(error.size(), named.size()) << "no reason given";
    }
    EXPECT_EQ(Slurp(root_ / "file"), "x");
}

TEST(ProgramFolder, IsTheFolderOfThisTestProgram) {
    EXPECT_EQ(fs::path(ProgramFolder()), fs::canonical(fs::path(TOTEM_BINARY_DIR) / "bin"));
}

}  // namespace
