#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class ContentCheckTool : public ToolTest {
protected:
    ContentCheckTool() : ToolTest("totem-content-check") {}
    void SetUp() override {
        ToolTest::SetUp();
        fs::create_directories(dir_ / "game");
    }
};

TEST_F(ContentCheckTool, UsageErrorsExitWithTwo) {
    for (const char* args : {"", "a b"}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.err.find("usage: totem-content-check GAMEDIR"), std::string::npos) << run.err;
    }
}

// An empty folder lacks every description file: one line each on standard
// output, the count on standard error, and a failing exit status.
TEST_F(ContentCheckTool, EmptyFolderListsWhatIsMissing) {
    const ToolRun run = Tool(Q(dir_ / "game"));
    EXPECT_EQ(run.status, 1);
    for (const char* line : {"res.xml: not found\n", "gui.xml: not found\n", "media/skins.xml: not found\n",
                             "media/StringE.dat: not found\n", "media/data.pak: not found\n",
                             "play.url: not found", "text 110: not defined"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " missing from\n" << run.out;
    EXPECT_NE(run.err.find(" problems in "), std::string::npos) << run.err;
}

}  // namespace
