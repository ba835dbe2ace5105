#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class ContentCheckTool : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("totem_check_tool_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "game");
    }
    void TearDown() override { fs::remove_all(dir_); }

    ToolRun Tool(const std::string& args) {
        const std::string tool = std::string(TOTEM_BINARY_DIR) + "/bin/totem-content-check";
        const fs::path out = dir_ / "stdout.txt";
        const fs::path err = dir_ / "stderr.txt";
        const std::string command = "'" + tool + "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        return ToolRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
    }

    fs::path dir_;
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
    const ToolRun run = Tool("'" + (dir_ / "game").string() + "'");
    EXPECT_EQ(run.status, 1);
    for (const char* line : {"res.xml: not found\n", "gui.xml: not found\n", "media/skins.xml: not found\n",
                             "media/StringE.dat: not found\n", "media/data.pak: not found\n",
                             "play.url: not found", "text 110: not defined"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " missing from\n" << run.out;
    EXPECT_NE(run.err.find(" problems in "), std::string::npos) << run.err;
}

}  // namespace
