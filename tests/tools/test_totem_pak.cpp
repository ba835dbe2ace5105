#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "content/DataPak.h"
#include "content/PakWriter.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class TotemPak : public ToolTest {
protected:
    TotemPak() : ToolTest("totem-pak") {}
};

TEST_F(TotemPak, PacksListsAndExtractsWithTheNamesTheGameAsksFor) {
    const fs::path game = dir_ / "game";
    Spit(game / "Media/GUI/Button.PNG", "button pixels");
    Spit(game / "media/fx/spark.eff", "spark");
    Spit(game / "media/empty.txt", "");
    const fs::path pak = dir_ / "data.pak";

    ToolRun packed = Tool("pack " + Q(game) + " " + Q(pak));
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_EQ(packed.err, "");

    ToolRun listed = Tool("list " + Q(pak));
    ASSERT_EQ(listed.status, 0) << listed.err;
    const std::vector<std::string> lines = Lines(listed.out);
    ASSERT_EQ(lines.size(), 3u) << listed.out;
    const int directoryEnd = 4 + 3 * 108;
    EXPECT_EQ(lines[0], "media/empty.txt\t0\t" + std::to_string(directoryEnd));
    EXPECT_EQ(lines[1], "media/fx/spark.eff\t5\t" + std::to_string(directoryEnd));
    EXPECT_EQ(lines[2], "media/gui/button.png\t13\t" + std::to_string(directoryEnd + 5));

    // The game finds the packed files under the paths it uses.
    PakPath = pak.string();
    ResetPakDirectory();
    StreamPtr button = OpenResource("media/gui/button.png");
    ASSERT_TRUE(button);
    const std::vector<uint8_t> bytes = button->ReadAll();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "button pixels");
    ResetPakDirectory();
    PakPath = "media/data.pak";

    const fs::path out = dir_ / "out";
    ToolRun extracted = Tool("extract " + Q(pak) + " " + Q(out));
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_EQ(Slurp(out / "media/gui/button.png"), "button pixels");
    EXPECT_EQ(Slurp(out / "media/fx/spark.eff"), "spark");
    EXPECT_TRUE(fs::exists(out / "media/empty.txt"));
    EXPECT_EQ(fs::file_size(out / "media/empty.txt"), 0u);
}

TEST_F(TotemPak, APackWrittenIntoItsOwnFolderDoesNotPackItself) {
    const fs::path game = dir_ / "game";
    Spit(game / "a.txt", "a");
    ASSERT_EQ(Tool("pack " + Q(game) + " " + Q(game / "media/data.pak")).status, 0);
    ASSERT_EQ(Tool("pack " + Q(game) + " " + Q(game / "media/data.pak")).status, 0);
    ToolRun listed = Tool("list " + Q(game / "media/data.pak"));
    EXPECT_EQ(Lines(listed.out), std::vector<std::string>{"a.txt\t1\t112"});
}

TEST_F(TotemPak, ProblemsAreOneLineNamingTheFile) {
    const fs::path garbage = dir_ / "garbage.pak";
    Spit(garbage, std::string("\xFF\xFF\xFF\x7F garbage", 12));
    const fs::path tiny = dir_ / "tiny.pak";
    Spit(tiny, "ab");
    const fs::path clash = dir_ / "clash";
    Spit(clash / "A.png", "1");
    Spit(clash / "a.PNG", "2");
    const fs::path longNames = dir_ / "long";
    Spit(longNames / std::string(120, 'x'), "1");
    const fs::path missing = dir_ / "missing";

    struct Case {
        std::string args;
        std::string names;  // the file the line must name
    };
    const Case cases[] = {
        {"list " + Q(garbage), garbage.string()},
        {"list " + Q(tiny), tiny.string()},
        {"list " + Q(missing), missing.string()},
        {"extract " + Q(garbage) + " " + Q(dir_ / "x"), garbage.string()},
        {"pack " + Q(missing) + " " + Q(dir_ / "o.pak"), missing.string()},
        {"pack " + Q(longNames) + " " + Q(dir_ / "o.pak"), (longNames / std::string(120, 'x')).string()},
    };
    for (const Case& c : cases) {
        ToolRun run = Tool(c.args);
        EXPECT_NE(run.status, 0) << c.args;
        EXPECT_EQ(Lines(run.err).size(), 1u) << c.args << "\n" << run.err;
        EXPECT_EQ(run.err.rfind(c.names + ": ", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "") << c.args;
    }
    // Two files whose names differ only in case: the line names both.
    ToolRun run = Tool("pack " + Q(clash) + " " + Q(dir_ / "o.pak"));
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_EQ(run.err.rfind(clash.string(), 0), 0u) << run.err;
    EXPECT_NE(run.err.find((clash / "A.png").string()), std::string::npos) << run.err;
    EXPECT_NE(run.err.find((clash / "a.PNG").string()), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir_ / "o.pak"));
    EXPECT_NE(Tool("frobnicate").status, 0);
}

TEST_F(TotemPak, ExtractRefusesNamesThatClimbOutOfTheTarget) {
    for (const std::string name : {"../evil.txt", "/abs.txt", "a/../../evil.txt", "..\\evil.txt"}) {
        const fs::path pak = dir_ / "evil.pak";
        {
            StreamPtr out = OpenWrite(pak.string());
            std::string problem;
            ASSERT_TRUE(WritePak(*out, {{name, {'x'}}}, &problem)) << problem;
            out->Close();
        }
        ToolRun run = Tool("extract " + Q(pak) + " " + Q(dir_ / "target"));
        EXPECT_NE(run.status, 0) << name;
        EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir_ / "evil.txt")) << name;
        EXPECT_FALSE(fs::exists("/abs.txt"));
    }
}

}  // namespace
