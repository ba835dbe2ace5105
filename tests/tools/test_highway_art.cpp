#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

#include "content/ResourceCatalogue.h"
#include "content/DataPak.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "game/HighwayGeometry.h"
#include "media/Graphics.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

// The highway pictures are painted by the art generator from the game's own
// highway formulas and skin table; these tests read the painted pictures back
// and check that they line up with what the game draws over them.

namespace fs = std::filesystem;
using G = HighwayGeometry;

namespace {

const char* const kSkins[] = {"sunrise", "lagoon", "volcano", "starlight"};

struct Px {
    int r, g, b, a;
};

Px At(const TPicture& pic, int x, int y) {
    const uint32_t v = pic.ReadPixel(x, y);
    return {int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF), int(v >> 24)};
}

double Dist(Px p, const int c[3]) {
    return std::sqrt(double(p.r - c[0]) * (p.r - c[0]) + double(p.g - c[1]) * (p.g - c[1]) +
                     double(p.b - c[2]) * (p.b - c[2]));
}

constexpr int kLineColours[5][3] = {{61, 245, 38}, {224, 30, 186}, {37, 101, 246}, {255, 196, 36}, {253, 75, 40}};

// Paints the highway's pictures once for all tests of this file.
class HighwayArt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // One folder per test process: ctest runs the tests of this suite side by side.
        out_ = fs::temp_directory_path() / ("totem_highway_art_" + std::to_string(getpid()));
        fs::remove_all(out_);
        const std::string art = std::string(TOTEM_BINARY_DIR) + "/bin/totem-art ";
        ok_ = std::system((art + out_.string() + " media/gfx/skins/").c_str()) == 0 &&
              std::system((art + out_.string() + " media/gfx/gryph/line_").c_str()) == 0 &&
              std::system((art + out_.string() + " media/gfx/items/note").c_str()) == 0;
    }
    static void TearDownTestSuite() { fs::remove_all(out_); }

    PicturePtr Picture(const std::string& path) {
        EXPECT_TRUE(ok_) << "the art generator failed";
        auto pic = LoadPicture((out_ / path).string());
        EXPECT_TRUE(pic) << path;
        return pic;
    }

    static fs::path out_;
    static bool ok_;
};

fs::path HighwayArt::out_;
bool HighwayArt::ok_ = false;

// Attributes of every image of one scope in a resource fragment, by id.
std::map<std::string, sdXMLnode*> ScopeImages(const XmlNode& root, const std::string& scope) {
    std::map<std::string, sdXMLnode*> images;
    for (sdXMLnode* group = root ? root->firstchild : nullptr; group; group = group->NextNode) {
        if (XmlAttr(group, "id") != scope) continue;
        for (sdXMLnode* n = group->firstchild; n; n = n->NextNode) images[XmlAttr(n, "id")] = n;
    }
    return images;
}

XmlNode LoadFragment(const std::string& name) {
    const std::string text = "<res>" + Slurp(fs::path(TOTEM_SOURCE_DIR) / "assets/res" / name) + "</res>";
    return XmlLoad(OpenMemory(std::vector<uint8_t>(text.begin(), text.end()), name));
}

}  // namespace

TEST(HighwayArtTable, SkinsXmlIsWrittenFromTheSkinTable) {
    const fs::path written = fs::temp_directory_path() / ("totem_skins_" + std::to_string(getpid()) + ".xml");
    const std::string command = std::string(TOTEM_BINARY_DIR) + "/bin/totem-art --skins-xml " + written.string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(Slurp(written), Slurp(fs::path(TOTEM_SOURCE_DIR) / "assets/skins.xml"))
        << "assets/skins.xml is out of date: regenerate it with totem-art --skins-xml";
    fs::remove(written);
}

TEST(HighwayArtTable, EverySkinHasFourEyesAndItsSixPictures) {
    XmlNode skins = XmlLoad((fs::path(TOTEM_SOURCE_DIR) / "assets/skins.xml").string());
    ASSERT_TRUE(skins);
    XmlNode res = LoadFragment("60-skins.xml");
    for (const char* id : kSkins) {
        sdXMLnode* found = nullptr;
        for (sdXMLnode* n = skins->firstchild; n; n = n->NextNode)
            if (XmlAttr(n, "id") == id) found = n;
        ASSERT_NE(found, nullptr) << id;
        for (const char* eye : {"glaz1_1", "glaz1_2", "glaz2_1", "glaz2_2"}) {
            VectorPtr v = XmlAttrVector(found, eye, nullptr);
            ASSERT_TRUE(v) << id << " " << eye;
            EXPECT_TRUE(v->x > 0 && v->x < 800 && v->y > 0 && v->y < 600) << id << " " << eye;
        }
        const auto images = ScopeImages(res, id);
        for (const char* want : {"IMAGE_GRYPH_BACK", "IMAGE_GRYPH_LIGHT", "IMAGE_GRYPH_LINES_LIGHT", "IMAGE_BACK_MAIN",
                                 "IMAGE_BACK_BLUESKY", "IMAGE_BACK_YELLOWSKY"})
            EXPECT_EQ(images.count(want), 1u) << id << " " << want;
    }
}

// The game lights its eye glow at the points of skins.xml; the painted statues
// must have their glowing eyes right there, in every mood of the sky.
TEST_F(HighwayArt, StatueEyesArePaintedAtTheEyePositions) {
    XmlNode skins = XmlLoad((fs::path(TOTEM_SOURCE_DIR) / "assets/skins.xml").string());
    ASSERT_TRUE(skins);
    for (sdXMLnode* skin = skins->firstchild; skin; skin = skin->NextNode) {
        const std::string id = XmlAttr(skin, "id");
        for (const char* mood : {"back_main", "back_bluesky", "back_yellowsky"}) {
            auto pic = Picture("media/gfx/skins/" + id + "/" + mood + ".png");
            if (!pic) continue;
            ASSERT_EQ(pic->Width(), 400);
            ASSERT_EQ(pic->Height(), 300);
            for (const char* eye : {"glaz1_1", "glaz1_2", "glaz2_1", "glaz2_2"}) {
                VectorPtr v = XmlAttrVector(skin, eye, nullptr);
                ASSERT_TRUE(v);
                const int x = int(v->x) / 2, y = int(v->y) / 2;
                const Px core = At(*pic, x, y);
                EXPECT_TRUE(core.r > 220 && core.g > 170 && core.b < 200)
                    << id << " " << mood << " " << eye << " is (" << core.r << "," << core.g << "," << core.b << ")";
                // Above the eye is the carved brow: no ember there.
                const Px brow = At(*pic, x, y - 9);
                EXPECT_FALSE(brow.r > 220 && brow.g > 170 && brow.b < 200) << id << " " << mood << " " << eye;
            }
        }
    }
}

// Each item runs along the painted stripe of its own line's colour.
TEST_F(HighwayArt, ItemsRunAlongThePaintedLines) {
    for (const char* skin : kSkins) {
        auto pic = Picture(std::string("media/gfx/skins/") + skin + "/gryph_back.png");
        if (!pic) continue;
        for (int line = 0; line < 5; ++line) {
            for (float t : {45.0f, 65.0f, 85.0f}) {
                const HighwayPoint p = G::ItemPosition(line, t);
                const Px on = At(*pic, int(std::lround(p.x)), int(std::lround(p.y)));
                EXPECT_EQ(on.a, 255);
                double best = 1e9;
                int nearest = -1;
                for (int other = 0; other < 5; ++other)
                    if (Dist(on, kLineColours[other]) < best) best = Dist(on, kLineColours[other]), nearest = other;
                EXPECT_EQ(nearest, line) << skin << " line " << line << " t " << t;
                // Beside the stripe, still on the line's strip, the colour is gone.
                for (float side : {-3.5f, 3.5f}) {
                    const HighwayPoint q = G::SurfacePoint(G::LineX(line) + side, t);
                    const Px off = At(*pic, int(std::lround(q.x)), int(std::lround(q.y)));
                    EXPECT_GT(Dist(off, kLineColours[line]), Dist(on, kLineColours[line]) + 40)
                        << skin << " line " << line << " t " << t;
                }
            }
        }
        // Outside the highway the picture is clear, so the scene shows through.
        EXPECT_EQ(At(*pic, 20, 300).a, 0) << skin;
        EXPECT_EQ(At(*pic, 780, 300).a, 0) << skin;
        EXPECT_EQ(At(*pic, 400, 150).a, 0) << skin;
    }
    // The half-size glow of the lines is brightest on the lines themselves.
    auto glow = Picture("media/gfx/skins/gryph_lines_light.png");
    ASSERT_TRUE(glow);
    for (int line = 0; line + 1 < 5; ++line) {
        const HighwayPoint on = G::ItemPosition(line, 70);
        const HighwayPoint between = G::SurfacePoint((G::LineX(line) + G::LineX(line + 1)) / 2, 70);
        EXPECT_GT(At(*glow, int(on.x / 2), int(on.y / 2)).a, At(*glow, int(between.x / 2), int(between.y / 2)).a + 60)
            << "line " << line;
    }
}

// A line light is drawn with its handle at the line's light position; its
// brightest spot must then fall on the catch point of that line.
TEST_F(HighwayArt, LineLightsShineOnTheCatchPoints) {
    const int positions[5][2] = {{178, 514}, {267, 514}, {363, 514}, {445, 514}, {522, 514}};
    XmlNode res = LoadFragment("50-gryph.xml");
    const auto images = ScopeImages(res, "Gryph");
    for (const char* kind : {"LIGHT", "BAD"}) {
        for (int line = 0; line < 5; ++line) {
            const std::string n = std::to_string(line + 1);
            const std::string id = std::string("IMAGE_GRYPH_LINE_") + kind + "_" + n;
            ASSERT_EQ(images.count(id), 1u) << id;
            sdXMLnode* decl = images.at(id);
            const std::string path = XmlAttr(decl, "path");
            auto pic = Picture(path);
            if (!pic) continue;
            // The centre of the brightest pixels.
            int best = 0;
            for (int y = 0; y < pic->Height(); ++y)
                for (int x = 0; x < pic->Width(); ++x) best = std::max(best, At(*pic, x, y).a);
            double sx = 0, sy = 0, count = 0;
            for (int y = 0; y < pic->Height(); ++y)
                for (int x = 0; x < pic->Width(); ++x)
                    if (At(*pic, x, y).a >= best - 3) sx += x, sy += y, ++count;
            ASSERT_GT(count, 0);
            const double screenX = positions[line][0] - XmlAttrInt(decl, "handlex", 0) + sx / count;
            const double screenY = positions[line][1] - XmlAttrInt(decl, "handley", 0) + sy / count;
            const HighwayPoint c = G::CatchPoint(line);
            EXPECT_NEAR(screenX, c.x, 2.5) << id;
            EXPECT_NEAR(screenY, c.y, 2.5) << id;
            // The picture reaches the bottom of the screen and no further.
            EXPECT_EQ(positions[line][1] - XmlAttrInt(decl, "handley", 0) + pic->Height(), 600) << id;
        }
    }
}

// Notes are drawn at the item scale; their pictures must stay within their
// line so that neighbouring notes never overlap.
TEST_F(HighwayArt, NotePicturesFitTheirLine) {
    const int lineWidth = int(2 * G::kLineHalfWidth * G::kPixelsPerUnitAtScale1);
    for (int line = 1; line <= 5; ++line) {
        for (std::string name : {"note_", "note_anim_"}) {
            auto pic = Picture("media/gfx/items/" + name + std::to_string(line) + ".png");
            if (!pic) continue;
            const int frameW = 64;
            for (int f = 0; f * frameW < pic->Width(); ++f) {
                int left = frameW, right = -1;
                for (int y = 0; y < pic->Height(); ++y)
                    for (int x = 0; x < frameW; ++x)
                        if (At(*pic, f * frameW + x, y).a > 160) left = std::min(left, x), right = std::max(right, x);
                ASSERT_GE(right, left) << name << line << " frame " << f << " is empty";
                EXPECT_LE(right - left + 1, lineWidth) << name << line << " frame " << f;
                EXPECT_GE(right - left + 1, lineWidth * 3 / 4) << name << line << " frame " << f;
                EXPECT_NEAR((left + right) / 2.0, frameW / 2.0, 1.5) << name << line << " frame " << f;
            }
        }
    }
}

// The runtime folder the build made: the Gryph scope and every skin scope load
// from the data pack and fill every picture global of their groups, at the
// sizes and handles the play screen relies on.
TEST(HighwayContent, GryphAndSkinScopesLoadFromTheRuntimeFolder) {
    const fs::path game = fs::path(TOTEM_BINARY_DIR) / "game";
    if (!fs::exists(game / "res.xml")) GTEST_SKIP() << "the content build is off in this build tree";
    const fs::path previous = fs::current_path();
    fs::current_path(game);
    std::vector<std::string> fatal;
    ResourceFatal = [&](const std::string& m) { fatal.push_back(m); };
    ResetPakDirectory();
    ResManager = std::make_shared<TResManager>();
    LoadResourceFile("res.xml");

    ResManager->LoadScope("Gryph");
    FetchGryphGroup();
    for (const auto& e : GryphGroup().images) EXPECT_TRUE(*e.global) << e.id;
    if (IMAGE_GRYPH_BAT_MAIN) {
        EXPECT_FLOAT_EQ(IMAGE_GRYPH_BAT_MAIN->handle_x, IMAGE_GRYPH_BAT_MAIN->width / 2.0f);
        EXPECT_FLOAT_EQ(IMAGE_GRYPH_BAT_MAIN->handle_y, IMAGE_GRYPH_BAT_MAIN->height / 2.0f);
    }
    if (IMAGE_ITEM_NOTE_ANIM_3) {
        EXPECT_EQ(IMAGE_ITEM_NOTE_ANIM_3->width, 64);
        EXPECT_EQ(IMAGE_ITEM_NOTE_ANIM_3->FrameCount(), 8);
    }
    if (IMAGE_HINT_2) {
        // The hint strip's rectangle on screen is 430 × 42.
        EXPECT_EQ(IMAGE_HINT_2->width, 430);
        EXPECT_EQ(IMAGE_HINT_2->height, 42);
    }
    for (const char* skin : kSkins) {
        ResManager->LoadScope(skin);
        FetchSkinGroup();
        for (const auto& e : SkinGroup().images) EXPECT_TRUE(*e.global) << skin << " " << e.id;
        // Drawn at scale 2, the half-size pictures fill the screen.
        for (ImagePtr half : {IMAGE_BACK_MAIN, IMAGE_BACK_BLUESKY, IMAGE_BACK_YELLOWSKY, IMAGE_GRYPH_LINES_LIGHT})
            if (half) {
                EXPECT_TRUE(half->width == 400 && half->height == 300) << skin;
            }
        for (ImagePtr full : {IMAGE_GRYPH_BACK, IMAGE_GRYPH_LIGHT})
            if (full) {
                EXPECT_TRUE(full->width == 800 && full->height == 600) << skin;
            }
        ResManager->UnLoadScope(skin);
    }
    EXPECT_TRUE(fatal.empty()) << fatal.front();
    ResManager->UnLoadScope("Gryph");
    ResourceFatal = DefaultResourceFatal;
    ResManager = std::make_shared<TResManager>();
    ResetPakDirectory();
    fs::current_path(previous);
}
