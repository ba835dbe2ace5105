#include <gtest/gtest.h>

#include <string>

#include "media/TStream.h"
#include "game/TLevelInfo.h"

namespace {

void LoadText(const std::string& xml) {
    StreamPtr s = OpenMemory(std::vector<uint8_t>(xml.begin(), xml.end()), "levels.xml");
    LoadLevelInfoList(*s);
}

TEST(LevelTable, ReadsLevelsInFileOrderAndSkipsOtherElements) {
    LoadText(R"(<levels>
      <level id="5" song="alpha" skin="sunrise" complexity="2" speed="1.2"/>
      <note id="9" song="ignored"/>
      <LEVEL id="6" song="upper case tag is not a level"/>
      <level id="3" SONG="beta" Skin="lagoon"/>
      <level id="3" song="second with the same id"/>
    </levels>)");
    ASSERT_EQ(LevelInfoList.size(), 3u);
    EXPECT_EQ(LevelInfoList[0]->song, "alpha");
    EXPECT_EQ(LevelInfoList[0]->Skin, "sunrise");
    EXPECT_EQ(LevelInfoList[0]->complexity, 2);
    EXPECT_FLOAT_EQ(LevelInfoList[0]->speed, 1.2f);
    // Attribute names match without regard to case; absent ones take defaults.
    EXPECT_EQ(LevelInfoList[1]->song, "beta");
    EXPECT_EQ(LevelInfoList[1]->Skin, "lagoon");
    EXPECT_EQ(LevelInfoList[1]->complexity, 0);
    EXPECT_FLOAT_EQ(LevelInfoList[1]->speed, 0);
}

TEST(LevelTable, GetLevelByIdFindsTheFirstMatchWhateverTheFileOrder) {
    LoadText(R"(<levels><level id="5" song="five"/><level id="3" song="three"/>
                <level id="3" song="later three"/></levels>)");
    ASSERT_NE(GetLevelById(3), nullptr);
    EXPECT_EQ(GetLevelById(3)->song, "three");
    EXPECT_EQ(GetLevelById(5)->song, "five");
    EXPECT_EQ(GetLevelById(4), nullptr);
}

TEST(LevelTable, MissingOrEmptyTableGivesNoLevels) {
    LoadText("<levels><level id=\"1\"/></levels>");
    LoadLevelInfoList("/nonexistent/levels.xml");
    EXPECT_TRUE(LevelInfoList.empty());
    LoadText("not xml at all");
    EXPECT_TRUE(LevelInfoList.empty());
    EXPECT_EQ(GetLevelById(1), nullptr);
}

}  // namespace
