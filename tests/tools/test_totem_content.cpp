#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "content/TextTable.h"
#include "content/Xml.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class TotemContent : public ToolTest {
protected:
    TotemContent() : ToolTest("totem-content") {}
};

TEST_F(TotemContent, JoinsFragmentsIntoOneDescriptionTheGameReads) {
    Spit(dir_ / "a.xml", "<?xml version=\"1.0\"?>\n<resources id=\"Init\"><image id=\"IMAGE_A\" path=\"a.png\"/></resources>\n");
    Spit(dir_ / "b.xml", "<!-- menu -->\n<resources id=\"Menu\"><image id=\"IMAGE_A\" path=\"b.png\"/>"
                         "<sound id=\"SOUND_B\" path=\"b.ogg\" loop=\"1\"/></resources>\n");
    ToolRun run = Tool("res " + Q(dir_ / "out/res.xml") + " " + Q(dir_ / "a.xml") + " " + Q(dir_ / "b.xml"));
    ASSERT_EQ(run.status, 0) << run.err;
    XmlNode root = XmlLoad((dir_ / "out/res.xml").string());
    ASSERT_TRUE(root);
    std::vector<std::string> scopes;
    for (sdXMLnode* group = root->firstchild; group; group = group->NextNode)
        if (XmlNameEquals(group->Tag, "resources")) scopes.push_back(XmlAttr(group, "id"));
    EXPECT_EQ(scopes, (std::vector<std::string>{"Init", "Menu"}));
    EXPECT_FALSE(fs::exists(dir_ / "out/res.xml.partial"));
}

TEST_F(TotemContent, BadSourcesFailNamingTheFileAndWriteNothing) {
    Spit(dir_ / "a.xml", "<resources id=\"Init\"><image id=\"IMAGE_A\" path=\"a.png\"/></resources>");
    Spit(dir_ / "dup.xml", "<resources id=\"init\"><image id=\"image_a\" path=\"c.png\"/></resources>");
    Spit(dir_ / "text.txt", "110 Totem Riff\nno number here\n");
    struct Case {
        const char* what;
        std::string args;
        fs::path output;
        std::string named;
    } cases[] = {
        {"duplicate id in a scope", "res " + Q(dir_ / "res.xml") + " " + Q(dir_ / "a.xml") + " " + Q(dir_ / "dup.xml"),
         dir_ / "res.xml", "dup.xml"},
        {"missing fragment", "res " + Q(dir_ / "res.xml") + " " + Q(dir_ / "none.xml"), dir_ / "res.xml", "none.xml"},
        {"text line without number", "text " + Q(dir_ / "text.txt") + " " + Q(dir_ / "StringE.dat"),
         dir_ / "StringE.dat", "text.txt:2"},
        {"link to nothing", "url " + Q(dir_ / "play.url") + " " + Q(dir_ / "www/none.html"), dir_ / "play.url",
         "none.html"},
    };
    for (const Case& c : cases) {
        ToolRun run = Tool(c.args);
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << c.what << ": " << run.err;
        EXPECT_FALSE(fs::exists(c.output)) << c.what;
    }
    EXPECT_EQ(Tool("frobnicate").status, 2);
}

TEST_F(TotemContent, CompiledTextTableLoadsIntoTheGame) {
    Spit(dir_ / "StringE.txt", "# window\n110 Totem Riff\n\n1 Play the story\n62 Leave the island? \n201 Café\n");
    const fs::path game = dir_ / "game";
    ASSERT_EQ(Tool("text " + Q(dir_ / "StringE.txt") + " " + Q(game / "media/StringE.dat")).status, 0);
    const fs::path previous = fs::current_path();
    fs::current_path(game);
    TextTable.assign(300, "");
    LoadTextTable();
    fs::current_path(previous);
    ASSERT_EQ(TextTable.size(), 301u);
    EXPECT_EQ(TextTable[110], "Totem Riff");
    EXPECT_EQ(TextTable[1], "Play the story");
    EXPECT_EQ(TextTable[62], "Leave the island?");
    EXPECT_EQ(TextTable[201], "Caf\xC3\xA9");
    EXPECT_EQ(TextTable[2], "!!!lang: 2");
}

TEST_F(TotemContent, LinkFileNamesTheLocalPageByItsFullPath) {
    Spit(dir_ / "www/play.html", "<html></html>");
    ASSERT_EQ(Tool("url " + Q(dir_ / "play.url") + " " + Q(dir_ / "www/play.html")).status, 0);
    const std::string text = Slurp(dir_ / "play.url");
    EXPECT_NE(text.find("URL=file://" + (dir_ / "www/play.html").string()), std::string::npos) << text;
}

}  // namespace
