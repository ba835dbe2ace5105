#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "content/Xml.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class LevelCharts : public ToolTest {
protected:
    LevelCharts() : ToolTest("totem-chart") {}
};

// Every level of the shipped table must be playable: its song's chart passes
// the playability rules at the level's own complexity and speed.
TEST_F(LevelCharts, EveryLevelsChartPassesAtItsComplexityAndSpeed) {
    const fs::path game = fs::path(TOTEM_BINARY_DIR) / "game";
    if (!fs::exists(game / "media/levels.xml")) GTEST_SKIP() << "the content build is off in this build tree";
    XmlNode root = XmlLoad((game / "media/levels.xml").string());
    ASSERT_TRUE(root);
    int levels = 0;
    for (sdXMLnode* level = root->firstchild; level; level = level->NextNode) {
        if (!XmlNameEquals(level->Tag, "level")) continue;
        ++levels;
        const std::string id = XmlAttr(level, "id");
        const fs::path chart = game / "media/songs" / XmlAttr(level, "song") / "notes.mid";
        ToolRun run = Tool("check " + Q(chart) + " " + XmlAttr(level, "complexity") + " " + XmlAttr(level, "speed"));
        EXPECT_EQ(run.status, 0) << "level " << id << ": " << run.out << run.err;
    }
    EXPECT_EQ(levels, 28);
}

}  // namespace
