#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "content/TextTable.h"
#include "content/ContentSources.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "media/TStream.h"

namespace {

std::string Problems(const std::vector<std::string>& problems) {
    std::string all;
    for (const std::string& p : problems) all += p + "\n";
    return all;
}

bool AnyContains(const std::vector<std::string>& problems, const std::string& part) {
    return std::any_of(problems.begin(), problems.end(),
                       [&](const std::string& p) { return p.find(part) != std::string::npos; });
}

// ---- resource fragments ------------------------------------------------------

struct JoinCase {
    const char* what;
    std::vector<ResourceFragment> fragments;
    size_t problemCount;
    std::vector<std::string> mustMention;  // each must be in one problem line
};

class JoinResourceFragmentsTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinResourceFragmentsTest, ReportsExactlyTheFaults) {
    const JoinCase& c = GetParam();
    std::vector<std::string> problems;
    JoinResourceFragments(c.fragments, problems);
    EXPECT_EQ(problems.size(), c.problemCount) << c.what << "\n" << Problems(problems);
    for (const std::string& part : c.mustMention)
        EXPECT_TRUE(AnyContains(problems, part)) << c.what << ": no problem mentions \"" << part << "\"\n"
                                                 << Problems(problems);
}

const char* kFonts = R"(<resources id="Init"><imagefont id="FONT_MAIN" path="media/fonts/main"/></resources>)";

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinResourceFragmentsTest,
    ::testing::Values(
        JoinCase{"clean fragments",
                 {{"res/10-fonts.xml", kFonts},
                  {"res/40-menu.xml", R"(<?xml version="1.0"?>
<resources id="Menu"><image id="IMAGE_DIALOG" path="media/gfx/menu/dialog.png"/></resources>)"}},
                 0,
                 {}},
        JoinCase{"an id declared again in a later fragment names both files",
                 {{"res/10-fonts.xml", kFonts},
                  {"res/20-init.xml",
                   R"(<resources id="init"><image id="font_main" path="media/gfx/init/x.png"/></resources>)"}},
                 1,
                 {"res/20-init.xml", "res/10-fonts.xml", "font_main"}},
        JoinCase{"ids differing only in case are the same id",
                 {{"res/20-init.xml", R"(<resources id="Init">
  <animimage id="IMAGE_LOADING_STONE" path="media/gfx/init/stone.png" width="80" height="80" frames="8"/>
  <image id="IMAGE_LOADING_stone" path="media/gfx/init/stone1.png"/>
</resources>)"}},
                 1,
                 {"image_loading_stone"}},
        JoinCase{"the same id in two scopes is allowed (skins)",
                 {{"res/60-skins.xml", R"(<resources id="sunrise"><image id="IMAGE_BACK_MAIN" path="a.png"/></resources>
<resources id="lagoon"><image id="IMAGE_BACK_MAIN" path="b.png"/></resources>)"}},
                 0,
                 {}},
        JoinCase{"an id prefix takes part in the comparison",
                 {{"res/21-particles.xml", R"(<resources id="Init"><setdefaults idprefix="IMAGE_PARTICLE_"/>
  <image id="01" path="p1.png"/></resources>)"},
                  {"res/22-more.xml", R"(<resources id="Init"><image id="IMAGE_PARTICLE_01" path="q.png"/></resources>)"}},
                 1,
                 {"image_particle_01", "res/21-particles.xml"}},
        JoinCase{"a prefix ends with its group",
                 {{"res/21-particles.xml", R"(<resources id="Init"><setdefaults idprefix="IMAGE_PARTICLE_"/>
  <image id="01" path="p1.png"/></resources>
<resources id="Init"><image id="01" path="q.png"/></resources>)"}},
                 0,
                 {}},
        JoinCase{"declarations without an id or without a path",
                 {{"res/45-menu-sounds.xml", R"(<resources id="Menu">
  <sound path="media/sound/a.ogg"/>
  <sound id="SOUND_MENU_DIALOGOPEN"/>
</resources>)"}},
                 2,
                 {"without an id", "sound_menu_dialogopen has no path"}},
        JoinCase{"a fragment without any resources group",
                 {{"res/30-zar.xml", R"(<image id="IMAGE_ZAR_SPLASH1" path="s.png"/>)"}},
                 1,
                 {"res/30-zar.xml: no resources group"}},
        JoinCase{"a group without a scope id",
                 {{"res/30-zar.xml", R"(<resources><image id="IMAGE_ZAR_SPLASH1" path="s.png"/></resources>)"}},
                 1,
                 {"res/30-zar.xml: a resources group without an id"}}));

// The joined text must read back through the game's own loader with every id
// in its scope and the prefixes applied.
TEST(JoinResourceFragments, JoinedDescriptionLoadsInTheGame) {
    std::vector<ResourceFragment> fragments = {
        {"res/10-fonts.xml", std::string("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + kFonts},
        {"res/21-particles.xml", R"(<resources id="Init"><setdefaults path="media/gfx/particles/" idprefix="IMAGE_PARTICLE_"/>
  <image id="01" path="p01.png"/><image id="02" path="p02.png"/></resources>)"},
        {"res/60-skins.xml", R"(<resources id="Sunrise"><image id="IMAGE_BACK_MAIN" path="media/gfx/sunrise/back.png"/></resources>)"},
    };
    std::vector<std::string> problems;
    const std::string joined = JoinResourceFragments(fragments, problems);
    ASSERT_TRUE(problems.empty()) << Problems(problems);

    auto saved = ResManager;
    ResManager = std::make_shared<TResManager>();
    LoadResourceFile(XmlLoad(OpenMemory(std::vector<uint8_t>(joined.begin(), joined.end()), "res.xml")));
    std::vector<std::string> seen;
    for (const ResPtr& r : ResManager->Resources) seen.push_back(r->Scope + ":" + r->name + "=" + r->FileName);
    ResManager = saved;

    const std::vector<std::string> expected = {
        "init:font_main=media/fonts/main",
        "init:image_particle_01=media/gfx/particles/p01.png",
        "init:image_particle_02=media/gfx/particles/p02.png",
        "sunrise:image_back_main=media/gfx/sunrise/back.png",
    };
    EXPECT_EQ(seen, expected);
}

// ---- text table --------------------------------------------------------------

struct TextFault {
    const char* source;
    std::string mustMention;
};

class CompileTextTableFaults : public ::testing::TestWithParam<TextFault> {};

TEST_P(CompileTextTableFaults, NamesTheLine) {
    std::vector<std::string> problems;
    CompileTextTable("text/StringE.txt", GetParam().source, problems);
    ASSERT_EQ(problems.size(), 1u) << GetParam().source << "\n" << Problems(problems);
    EXPECT_NE(problems[0].find(GetParam().mustMention), std::string::npos) << problems[0];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompileTextTableFaults,
    ::testing::Values(TextFault{"1 One\nTwo without a number\n", "text/StringE.txt:2: "},
                      TextFault{"# heading\n\n1234 four digits\n", "text/StringE.txt:3: "},
                      TextFault{"12abc glued to its number\n", "text/StringE.txt:1: "},
                      TextFault{"5 First\n6 Other\n5 Again\n", "text/StringE.txt:3: text 5 is already defined on line 1"},
                      TextFault{"7 Beyond the plane \xF0\x9F\x8E\xB8\n", "text/StringE.txt:1: "},
                      TextFault{"8 Broken \xC3(\n", "text/StringE.txt:1: invalid UTF-8"},
                      TextFault{"9 Split\rhalf\n", "text/StringE.txt:1: control character 13"}));

TEST(CompileTextTable, RoundTripsThroughTheGamesReader) {
    const std::string source =
        "\xEF\xBB\xBF# comment first\r\n"
        "1 Options and sound\r\n"
        "\r\n"
        "22\tNot you? Change player\r\n"
        "110 Totem Riff\n"
        "# a comment between\n"
        "217 Caf\xC3\xA9 \xE2\x80\x94 na\xC3\xAFve \"%s\"\n"
        "56\n"
        "999 last";
    std::vector<std::string> problems;
    const std::string bytes = CompileTextTable("StringE.txt", source, problems);
    ASSERT_TRUE(problems.empty()) << Problems(problems);

    StreamPtr stream = OpenMemory(std::vector<uint8_t>(bytes.begin(), bytes.end()), "media/StringE.dat");
    testing::internal::CaptureStdout();
    const std::vector<std::string> table = ReadTextTable(*stream);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "") << "the reader complained about the compiled table";

    ASSERT_EQ(table.size(), 1000u);
    const std::vector<std::pair<int, std::string>> expected = {
        {0, ""},
        {1, "Options and sound"},
        {22, "Not you? Change player"},
        {110, "Totem Riff"},
        {217, "Caf\xC3\xA9 \xE2\x80\x94 na\xC3\xAFve \"%s\""},
        {56, ""},
        {999, "last"},
        {2, "!!!lang: 2"},
        {300, "!!!lang: 300"},
    };
    for (const auto& [number, text] : expected) EXPECT_EQ(table[number], text) << "entry " << number;
}

}  // namespace
