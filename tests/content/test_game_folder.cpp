// Where the program looks for the game's files when started from anywhere:
// the folder it was started in, its own folder, or the installed data folder
// beside it, in that order.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "content/GameFolder.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

// A prefix as an installation lays it out, plus a build-like folder and a
// folder with nothing of the game; which of them hold "res.xml" is up to each case.
class GameFolderSearch : public testing::Test {
protected:
    void SetUp() override {
        root_ = TestTempPath("game_folder");
        fs::remove_all(root_);
        for (const char* folder : {"prefix/bin", "prefix/share/totem-riff", "build/game", "elsewhere"})
            fs::create_directories(root_ / folder);
    }
    void TearDown() override { fs::remove_all(root_); }

    void Holds(const std::string& folder) { std::ofstream(root_ / folder / "res.xml") << "<res/>"; }
    std::string At(const std::string& folder) const { return (root_ / folder).string(); }

    fs::path root_;
};

TEST_F(GameFolderSearch, TakesTheFirstPlaceThatHoldsTheGame) {
    struct Case {
        const char* name;
        std::vector<const char*> holding;  // folders given a "res.xml"
        const char* start;
        const char* program;
        const char* expected;  // "" = not found
    };
    const Case cases[] = {
        {"started in a build's game folder", {"build/game"}, "build/game", "build/game", "build/game"},
        {"started elsewhere, program beside its files", {"build/game"}, "elsewhere", "build/game", "build/game"},
        {"installed, started from a menu", {"prefix/share/totem-riff"}, "elsewhere", "prefix/bin",
         "prefix/share/totem-riff"},
        {"the start folder wins over the program's", {"build/game", "prefix/share/totem-riff"}, "build/game",
         "prefix/bin", "build/game"},
        {"the program's folder wins over the data folder", {"prefix/bin", "prefix/share/totem-riff"}, "elsewhere",
         "prefix/bin", "prefix/bin"},
        {"nowhere", {}, "elsewhere", "prefix/bin", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        for (const char* folder : c.holding) Holds(folder);
        const std::string found = FindGameFolder(At(c.start), At(c.program), "../share/totem-riff");
        if (std::string(c.expected).empty()) {
            EXPECT_EQ(found, "");
        } else {
            EXPECT_EQ(found, fs::canonical(root_ / c.expected).string());
        }
    }
}

TEST_F(GameFolderSearch, AnswersAnAbsolutePathWhenStartedFromARelativeOne) {
    Holds("build/game");
    const fs::path previous = fs::current_path();
    fs::current_path(root_ / "build");
    const std::string found = FindGameFolder("game", "", "../share/totem-riff");
    fs::current_path(previous);
    EXPECT_EQ(found, fs::canonical(root_ / "build/game").string());
}

TEST_F(GameFolderSearch, AMovedInstallationIsStillFound) {
    Holds("prefix/share/totem-riff");
    fs::rename(root_ / "prefix", root_ / "moved");
    EXPECT_EQ(FindGameFolder(At("elsewhere"), At("moved/bin"), "../share/totem-riff"),
              fs::canonical(root_ / "moved/share/totem-riff").string());
}

// With no program folder known, the data folder must not be looked for from
// wherever the process happens to be.
TEST_F(GameFolderSearch, WithoutAProgramFolderOnlyTheStartFolderCounts) {
    Holds("prefix/share/totem-riff");
    const fs::path previous = fs::current_path();
    fs::current_path(root_ / "prefix/bin");
    const std::string found = FindGameFolder(At("elsewhere"), "", "../share/totem-riff");
    fs::current_path(previous);
    EXPECT_EQ(found, "");
}

}  // namespace
