#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/ResourceCatalogue.h"
#include "tools/totem-content-check/ContentCheck.h"
#include "content/ContentSources.h"
#include "content/DataPak.h"
#include "content/PakWriter.h"
#include "media/Audio.h"
#include "media/AudioFixtures.h"
#include "media/Graphics.h"
#include "media/TPicture.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

// ---- a small game folder, described in memory and then written out ------------

struct Declaration {
    std::string scope;
    std::string xml;
};

struct GameSpec {
    std::vector<Declaration> res;
    std::string gui;
    std::string textSource;
    std::string skins;
    std::string levels;  // empty: no level table
    std::map<std::string, std::vector<uint8_t>> pak;
    std::map<std::string, std::vector<uint8_t>> loose;
};

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(TOTEM_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> Png(int w, int h) {
    TPicture picture(w, h, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.WritePixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 40 + y));
    return EncodePicturePNG(picture);
}

std::vector<uint8_t> FontTable() {
    StreamPtr out = OpenMemoryWrite("main.fnt");
    for (int v : std::initializer_list<int>{1, 0, 1, 0, 'A', 0, 0, 7, 9}) out->WriteInt(v);
    return MemoryBytes(*out);
}

std::string Eyes(const std::string& id) {
    return "<skin id=\"" + id + "\" glaz1_1=\"100 120\" glaz1_2=\"140 120\" glaz2_1=\"600 118\" glaz2_2=\"640 118\"/>";
}

// Every catalogue id declared once, all sharing a handful of tiny files.
GameSpec CleanGame() {
    GameSpec g;
    auto declareGroup = [&](const ResourceGroup& group, const std::string& scope) {
        for (const auto& e : group.fonts)
            g.res.push_back({scope, std::string("<imagefont id=\"") + e.id + "\" path=\"media/fonts/main\"/>"});
        for (const auto& e : group.images) {
            const std::string id = e.id;
            if (id == "IMAGE_LOADING_stone")
                g.res.push_back({scope, "<animimage id=\"IMAGE_LOADING_STONE\" path=\"media/gfx/strip.png\" "
                                        "width=\"4\" height=\"4\" frames=\"2\"/>"});
            else
                g.res.push_back({scope, "<image id=\"" + id + "\" path=\"media/gfx/p.png\"/>"});
        }
        for (const auto& e : group.sounds)
            g.res.push_back({scope, std::string("<sound id=\"") + e.id + "\" path=\"media/sound/s.wav\"/>"});
        for (const auto& e : group.effects)
            g.res.push_back({scope, std::string("<effect id=\"") + e.id + "\" path=\"media/effects/spark.xml\"/>"});
    };
    declareGroup(InitGroup(), "Init");
    declareGroup(ZarGroup(), "ZAR");
    declareGroup(MenuGroup(), "Menu");
    declareGroup(GryphGroup(), "Gryph");
    declareGroup(SkinGroup(), "sunrise");
    declareGroup(SkinGroup(), "lagoon");

    g.pak["media/gfx/p.png"] = Png(4, 4);
    g.pak["media/gfx/strip.png"] = Png(8, 4);
    g.pak["media/effects/spark.xml"] = Bytes(R"(<effect><Image value="IMAGE_PARTICLE_01"/></effect>)");
    g.loose["media/fonts/main.png"] = Png(32, 16);
    g.loose["media/fonts/main.fnt"] = FontTable();
    g.loose["media/sound/s.wav"] = audio_fixtures::Wav16(1, {0, 1000, -1000, 0});
    g.loose["play.url"] = Bytes("[InternetShortcut]\nURL=file:///play.html\n");

    g.gui = ReadSource("assets/gui.xml");
    g.textSource = ReadSource("assets/text/StringE.txt");
    g.skins = "<skins>" + Eyes("sunrise") + Eyes("lagoon") + "</skins>";

    g.levels = "<levels>";
    for (int n = 1; n <= 28; ++n) {
        const std::string song = "s" + std::to_string(n);
        g.levels += "<level id=\"" + std::to_string(n) + "\" song=\"" + song + "\" skin=\"sunrise\" complexity=\"1\"/>";
        for (const char* file : {"song.ogg", "guitar.ogg", "notes.mid"})
            g.loose["media/songs/" + song + "/" + file] = Bytes("x");
    }
    g.levels += "</levels>";
    return g;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ResText(const std::vector<Declaration>& res) {
    std::vector<std::string> scopes;
    for (const Declaration& d : res)
        if (std::find(scopes.begin(), scopes.end(), d.scope) == scopes.end()) scopes.push_back(d.scope);
    std::string text = "<res>\n";
    for (const std::string& scope : scopes) {
        text += "<resources id=\"" + scope + "\">\n";
        for (const Declaration& d : res)
            if (d.scope == scope) text += "  " + d.xml + "\n";
        text += "</resources>\n";
    }
    return text + "</res>\n";
}

void WriteGame(const GameSpec& g, const fs::path& dir) {
    fs::remove_all(dir);
    fs::create_directories(dir / "media");
    const std::string root = dir.string() + "/";
    WriteFile(root + "res.xml", Bytes(ResText(g.res)));
    WriteFile(root + "gui.xml", Bytes(g.gui));
    WriteFile(root + "media/skins.xml", Bytes(g.skins));
    if (!g.levels.empty()) WriteFile(root + "media/levels.xml", Bytes(g.levels));
    std::vector<std::string> problems;
    const std::string table = CompileTextTable("StringE.txt", g.textSource, problems);
    ASSERT_TRUE(problems.empty()) << problems.front();
    WriteFile(root + "media/StringE.dat", Bytes(table));
    for (const auto& [path, bytes] : g.loose) WriteFile(root + path, bytes);
    std::vector<PakWriterEntry> entries;
    for (const auto& [path, bytes] : g.pak) entries.push_back({path, bytes});
    StreamPtr out = OpenWrite(root + "media/data.pak");
    ASSERT_TRUE(out);
    std::string problem;
    ASSERT_TRUE(WritePak(*out, entries, &problem)) << problem;
    out->Close();
}

// ---- edits that break one thing ------------------------------------------------

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << "fixture has no \"" << from << "\"";
    text.replace(at, from.size(), to);
}

Declaration* FindDecl(GameSpec& g, const std::string& scope, const std::string& id) {
    for (Declaration& d : g.res)
        if (d.scope == scope && d.xml.find("id=\"" + id + "\"") != std::string::npos) return &d;
    return nullptr;
}

void RemoveDecl(GameSpec& g, const std::string& scope, const std::string& id) {
    Declaration* d = FindDecl(g, scope, id);
    ASSERT_TRUE(d) << id;
    g.res.erase(g.res.begin() + (d - g.res.data()));
}

void SetDecl(GameSpec& g, const std::string& scope, const std::string& id, const std::string& newScope,
             const std::string& xml) {
    Declaration* d = FindDecl(g, scope, id);
    ASSERT_TRUE(d) << id;
    *d = {newScope, xml};
}

class ContentCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentMixer();
        dir_ = fs::temp_directory_path() / ("totem_check_" + std::to_string(getpid()));
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> Check(const GameSpec& g, ContentCheckResult* out = nullptr) {
        WriteGame(g, dir_);
        const fs::path before = fs::current_path();
        ContentCheckResult result = CheckGameFolder(dir_.string());
        EXPECT_EQ(fs::current_path(), before) << "the check must return to the folder it started in";
        if (out) *out = result;
        return result.problems;
    }

    fs::path dir_;
};

std::string Lines(const std::vector<std::string>& problems) {
    std::string all;
    for (const std::string& p : problems) all += "  " + p + "\n";
    return all;
}

TEST_F(ContentCheckTest, CleanGamePassesWithTheShippedLayoutsAndTexts) {
    ContentCheckResult result;
    const std::vector<std::string> problems = Check(CleanGame(), &result);
    EXPECT_TRUE(problems.empty()) << Lines(problems);
    const ResourceGroup* groups[] = {&InitGroup(), &ZarGroup(), &MenuGroup(), &GryphGroup(), &SkinGroup(), &SkinGroup()};
    int declared = 0;
    for (const ResourceGroup* g : groups)
        declared += static_cast<int>(g->fonts.size() + g->images.size() + g->sounds.size() + g->effects.size());
    EXPECT_EQ(result.resources, declared);
    EXPECT_EQ(result.levels, 28);
}

struct BreakCase {
    const char* what;
    std::function<void(GameSpec&)> edit;
    size_t problemCount;
    std::string mustMention;
};

class ContentCheckReports : public ContentCheckTest, public ::testing::WithParamInterface<BreakCase> {};

TEST_P(ContentCheckReports, EachFault) {
    const BreakCase& c = GetParam();
    GameSpec g = CleanGame();
    c.edit(g);
    if (HasFatalFailure()) return;
    const std::vector<std::string> problems = Check(g);
    EXPECT_EQ(problems.size(), c.problemCount) << c.what << "\n" << Lines(problems);
    const bool mentioned = std::any_of(problems.begin(), problems.end(), [&](const std::string& p) {
        return p.find(c.mustMention) != std::string::npos;
    });
    EXPECT_TRUE(c.mustMention.empty() || mentioned) << c.what << ": expected \"" << c.mustMention << "\" in\n"
                                                    << Lines(problems);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContentCheckReports,
    ::testing::Values(
        // Catalogue
        BreakCase{"a catalogue id left out",
                  [](GameSpec& g) { RemoveDecl(g, "Menu", "SOUND_MENU_DIALOGOPEN"); }, 1,
                  "SOUND_MENU_DIALOGOPEN: not declared in scope \"menu\""},
        BreakCase{"a font declared as a picture",
                  [](GameSpec& g) {
                      SetDecl(g, "Init", "FONT_03", "Init", R"(<image id="FONT_03" path="media/gfx/p.png"/>)");
                  },
                  1, "FONT_03: declared as image"},
        BreakCase{"an id in the wrong scope",
                  [](GameSpec& g) {
                      SetDecl(g, "Menu", "IMAGE_STORY_POINT", "Gryph",
                              R"(<image id="IMAGE_STORY_POINT" path="media/gfx/p.png"/>)");
                  },
                  1, "IMAGE_STORY_POINT: not declared in scope \"menu\""},
        BreakCase{"the loading stone as a plain picture",
                  [](GameSpec& g) {
                      SetDecl(g, "Init", "IMAGE_LOADING_STONE", "Init",
                              R"(<image id="IMAGE_LOADING_stone" path="media/gfx/p.png"/>)");
                  },
                  1, "IMAGE_LOADING_STONE: must be an animimage"},
        BreakCase{"a skin scope missing one of its pictures",
                  [](GameSpec& g) { RemoveDecl(g, "lagoon", "IMAGE_BACK_BLUESKY"); }, 1,
                  "IMAGE_BACK_BLUESKY: not declared in scope \"lagoon\""},
        // Files
        BreakCase{"a picture missing from the pack",
                  [](GameSpec& g) {
                      SetDecl(g, "Menu", "IMAGE_MENU_SUN", "Menu",
                              R"(<image id="IMAGE_MENU_SUN" path="media/gfx/Sun.png"/>)");
                      g.pak["media/gfx/Sun.png"] = Png(4, 4);  // the game asks for the lower-case name
                  },
                  1, "media/gfx/sun.png: not found (IMAGE_MENU_SUN"},
        BreakCase{"a picture that does not decode",
                  [](GameSpec& g) {
                      SetDecl(g, "Menu", "IMAGE_MENU_SUN", "Menu",
                              R"(<image id="IMAGE_MENU_SUN" path="media/gfx/bad.png"/>)");
                      g.pak["media/gfx/bad.png"] = Bytes("\x89PNG but not really");
                  },
                  1, "media/gfx/bad.png: not a picture"},
        BreakCase{"a strip with fewer frames than declared",
                  [](GameSpec& g) {
                      SetDecl(g, "Init", "IMAGE_LOADING_STONE", "Init",
                              R"(<animimage id="IMAGE_LOADING_STONE" path="media/gfx/strip.png" width="4" height="4" frames="3"/>)");
                  },
                  1, "media/gfx/strip.png: holds 2 frames of 4x4, IMAGE_LOADING_STONE declares 3"},
        BreakCase{"a bitmap font without its glyph table",
                  [](GameSpec& g) {
                      SetDecl(g, "Init", "FONT_03", "Init", R"(<imagefont id="FONT_03" path="media/fonts/other"/>)");
                      g.loose["media/fonts/other.png"] = Png(32, 16);
                  },
                  1, "media/fonts/other.fnt: not found (FONT_03)"},
        BreakCase{"a sound that does not decode",
                  [](GameSpec& g) {
                      SetDecl(g, "Gryph", "SOUND_BONUSEAT", "Gryph",
                              R"(<sound id="SOUND_BONUSEAT" path="media/sound/bad.ogg"/>)");
                      g.loose["media/sound/bad.ogg"] = Bytes("OggS and then nothing useful");
                  },
                  1, "media/sound/bad.ogg: not a sound"},
        BreakCase{"an effect naming an undeclared picture",
                  [](GameSpec& g) {
                      SetDecl(g, "Init", "EFFECT_MAP", "Init", R"(<effect id="EFFECT_MAP" path="media/effects/map.xml"/>)");
                      g.pak["media/effects/map.xml"] = Bytes(R"(<effect><Image value="IMAGE_NOWHERE"/></effect>)");
                  },
                  1, "EFFECT_MAP: its picture IMAGE_NOWHERE"},
        BreakCase{"an effect naming a picture of a scope loaded after it",
                  [](GameSpec& g) {
                      SetDecl(g, "Init", "EFFECT_MAP", "Init", R"(<effect id="EFFECT_MAP" path="media/effects/map.xml"/>)");
                      g.pak["media/effects/map.xml"] = Bytes(R"(<effect><Image value="IMAGE_MENU_SUN"/></effect>)");
                  },
                  1, "EFFECT_MAP: its picture IMAGE_MENU_SUN"},
        BreakCase{"an effect whose trail is not declared",
                  [](GameSpec& g) {
                      SetDecl(g, "Init", "EFFECT_MAP", "Init", R"(<effect id="EFFECT_MAP" path="media/effects/map.xml"/>)");
                      g.pak["media/effects/map.xml"] =
                          Bytes(R"(<effect><Image value="IMAGE_PARTICLE_02"/><Child name="EFFECT_SMOKE"/></effect>)");
                  },
                  1, "EFFECT_MAP: its trail EFFECT_SMOKE"},
        // Skin table
        BreakCase{"a skin without eye positions",
                  [](GameSpec& g) { Replace(g.skins, Eyes("lagoon"), ""); }, 1,
                  "media/skins.xml: no eye positions for the skin \"lagoon\""},
        BreakCase{"a skin with three eyes",
                  [](GameSpec& g) { Replace(g.skins, R"(glaz2_2="640 118"/><skin id="lagoon")", R"(/><skin id="lagoon")"); },
                  1, "skin \"sunrise\" needs glaz2_2"},
        BreakCase{"an eye off the screen",
                  [](GameSpec& g) { Replace(g.skins, R"(glaz1_1="100 120")", R"(glaz1_1="900 120")"); }, 1,
                  "needs glaz1_1"},
        // Dialog layouts
        BreakCase{"a results button in another window",
                  [](GameSpec& g) {
                      Replace(g.gui, R"(id="replay" window_id="window_levelcomplete")",
                              R"(id="replay" window_id="window_results")");
                  },
                  1, "gui.xml: no button \"replay\" in window \"window_levelcomplete\""},
        BreakCase{"a check box element written with capitals is still found",
                  [](GameSpec& g) { Replace(g.gui, "<checkbox id=", "<CheckBox id="); }, 0, ""},
        BreakCase{"a button element written with a capital is not",
                  [](GameSpec& g) { Replace(g.gui, R"(<button id="play")", R"(<Button id="play")"); }, 1,
                  "gui.xml: no button \"play\" in window \"window_storymenu\""},
        BreakCase{"a window left out",
                  [](GameSpec& g) { Replace(g.gui, R"(<window id="window_help")", R"(<window id="help_window")"); }, 1,
                  "gui.xml: no window \"window_help\""},
        BreakCase{"a layout naming an undeclared picture",
                  [](GameSpec& g) {
                      Replace(g.gui, R"(image="IMAGE_PLAYER_LABEL" pos="200 18")", R"(image="IMAGE_NOPE" pos="200 18")");
                  },
                  1, "IMAGE_NOPE: named by gui.xml"},
        BreakCase{"a results label whose text has no place for its value",
                  [](GameSpec& g) { Replace(g.textSource, "80 Notes: %s", "80 Notes"); }, 1,
                  "label \"notes\" shows text 80, which has no %s"},
        // Texts
        BreakCase{"a question the program asks left out",
                  [](GameSpec& g) { Replace(g.textSource, "\n62 ", "\n#62 "); }, 1,
                  "text 62: not defined in media/StringE.dat (the quit question)"},
        BreakCase{"a text the layouts name left out",
                  [](GameSpec& g) { Replace(g.textSource, "\n96 ", "\n#96 "); }, 1,
                  "text 96: named by gui.xml but not defined"},
        // Level table
        BreakCase{"a song without its lead track",
                  [](GameSpec& g) { g.loose.erase("media/songs/s5/guitar.ogg"); }, 1,
                  "media/songs/s5/guitar.ogg: not found (level 5)"},
        BreakCase{"a level on a skin nobody declared",
                  [](GameSpec& g) {
                      Replace(g.levels, R"(id="3" song="s3" skin="sunrise")", R"(id="3" song="s3" skin="jungle")");
                  },
                  2, "level 3: skin \"jungle\" is not a skin scope"},
        BreakCase{"a level whose skin differs in case from the skin table",
                  [](GameSpec& g) {
                      Replace(g.levels, R"(id="3" song="s3" skin="sunrise")", R"(id="3" song="s3" skin="Sunrise")");
                  },
                  1, "level 3: skin \"Sunrise\" has no entry in media/skins.xml"},
        BreakCase{"a level left out",
                  [](GameSpec& g) {
                      Replace(g.levels, R"(<level id="28" song="s28")", R"(<level id="4" song="s28")");
                  },
                  2, "media/levels.xml: level 28 is missing"},
        BreakCase{"no level table is fine",
                  [](GameSpec& g) { g.levels.clear(); }, 0, ""},
        BreakCase{"no play link",
                  [](GameSpec& g) { g.loose.erase("play.url"); }, 1, "play.url: not found"}));

// With an empty pack, every picture and effect is reported, and nothing else.
TEST_F(ContentCheckTest, EmptyPackReportsEveryPackedFile) {
    GameSpec g = CleanGame();
    g.pak.clear();
    const std::vector<std::string> problems = Check(g);
    size_t packed = 0;
    for (const Declaration& d : g.res)
        if (d.xml.rfind("<image ", 0) == 0 || d.xml.rfind("<animimage ", 0) == 0 || d.xml.rfind("<effect ", 0) == 0)
            ++packed;
    EXPECT_EQ(problems.size(), packed) << Lines(problems);
    for (const std::string& p : problems)
        EXPECT_TRUE(p.rfind("media/gfx/", 0) == 0 || p.rfind("media/effects/", 0) == 0) << p;
}

// A folder that is not there is one problem, not a crash.
TEST_F(ContentCheckTest, MissingFolder) {
    const fs::path before = fs::current_path();
    ContentCheckResult result = CheckGameFolder((dir_ / "nowhere").string());
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_NE(result.problems[0].find("nowhere"), std::string::npos);
    EXPECT_EQ(fs::current_path(), before);
}

}  // namespace
