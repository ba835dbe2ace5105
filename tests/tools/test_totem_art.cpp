// The interface art: every picture the Init, ZAR and Menu resource fragments
// declare is painted by totem-art at the size the game expects, is not blank,
// and the pictures that other pictures or code positions depend on line up
// (statue pupils on painted eyes, story-map splashes in open water, totems on
// land).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "content/ResourceCatalogue.h"
#include "content/ContentSources.h"
#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "media/Graphics.h"
#include "media/TPicture.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

const char* const kFragments[] = {"20-init.xml", "30-zar.xml", "40-menu.xml"};

struct Size {
    int w = 0, h = 0;
};

struct Declared {
    std::string scope;  // lower case
    std::string id;     // as written
    std::string kind;   // "image" or "animimage"
    std::string path;
    int frameW = 0, frameH = 0, frames = 0;
    bool midhandle = false;
};

std::string RunCapture(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    status = pclose(pipe);
    return out;
}

std::string Tool() { return std::string(TOTEM_BINARY_DIR) + "/bin/totem-art"; }

// Every piece the generator registers, by path.
const std::map<std::string, Size>& Listed() {
    static const std::map<std::string, Size> listed = [] {
        std::map<std::string, Size> m;
        int status = 0;
        std::istringstream lines(RunCapture(Tool() + " --list", status));
        EXPECT_EQ(status, 0) << "totem-art --list failed";
        std::string path, size;
        while (lines >> path >> size) {
            Size s;
            EXPECT_EQ(std::sscanf(size.c_str(), "%dx%d", &s.w, &s.h), 2) << path << " " << size;
            EXPECT_TRUE(m.emplace(path, s).second) << "listed twice: " << path;
        }
        return m;
    }();
    return listed;
}

// The declarations of the three fragments, joined as the content build does.
const std::vector<Declared>& Declarations() {
    static const std::vector<Declared> all = [] {
        std::vector<ResourceFragment> fragments;
        for (const char* name : kFragments)
            fragments.push_back({name, Slurp(fs::path(TOTEM_SOURCE_DIR) / "assets/res" / name)});
        std::vector<std::string> problems;
        const std::string joined = JoinResourceFragments(fragments, problems);
        for (const std::string& p : problems) ADD_FAILURE() << p;
        XmlNode root = XmlLoad(OpenMemory(std::vector<uint8_t>(joined.begin(), joined.end()), "res.xml"));
        std::vector<Declared> out;
        if (!root) {
            ADD_FAILURE() << "joined fragments do not parse";
            return out;
        }
        for (sdXMLnode* group = root->firstchild; group; group = group->NextNode) {
            if (!XmlNameEquals(group->Tag, "resources")) continue;
            const std::string scope = LowerAscii(XmlAttr(group, "id"));
            for (sdXMLnode* e = group->firstchild; e; e = e->NextNode) {
                Declared d;
                d.scope = scope;
                d.kind = LowerAscii(e->Tag);
                d.id = XmlAttr(e, "id");
                d.path = XmlAttr(e, "path");
                d.frameW = XmlAttrInt(e, "width", 0);
                d.frameH = XmlAttrInt(e, "height", 0);
                d.frames = XmlAttrInt(e, "frames", 0);
                d.midhandle = XmlAttrInt(e, "midhandle", 0) != 0;
                out.push_back(d);
            }
        }
        return out;
    }();
    return all;
}

const Declared* Find(const std::string& id) {
    for (const Declared& d : Declarations())
        if (LowerAscii(d.id) == LowerAscii(id)) return &d;
    return nullptr;
}

Size ListedSize(const std::string& id) {
    const Declared* d = Find(id);
    if (!d) return {};
    auto it = Listed().find(d->path);
    return it == Listed().end() ? Size{} : it->second;
}

// The folder the pictures are painted into; each area (folder of pictures)
// is painted the first time one of its pictures is wanted.
const fs::path& PaintDir() {
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / ("totem_art_test_" + std::to_string(::getpid()));
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

fs::path PaintedFile(const std::string& path) {
    static std::set<std::string> done;
    const std::string area = fs::path(path).parent_path().string() + "/";
    if (done.insert(area).second) {
        const std::string command = Tool() + " " + PaintDir().string() + " " + area;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    return PaintDir() / path;
}

PicturePtr LoadPainted(const std::string& id) {
    const Declared* d = Find(id);
    if (!d) return nullptr;
    return LoadPicture(PaintedFile(d->path).string());
}

struct CleanUp : ::testing::Environment {
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(PaintDir(), ec);
    }
};
const auto* const kCleanUp = ::testing::AddGlobalTestEnvironment(new CleanUp);

int Alpha(uint32_t argb) { return int(argb >> 24); }
int Brightness(uint32_t argb) { return int((argb >> 16) & 0xFF) + int((argb >> 8) & 0xFF) + int(argb & 0xFF); }

}  // namespace

TEST(TotemArt, EveryCatalogueImageOfTheseScopesIsDeclaredInItsScope) {
    struct Case {
        const ResourceGroup& group;
        const char* scope;
    } cases[] = {{InitGroup(), "init"}, {ZarGroup(), "zar"}, {MenuGroup(), "menu"}};
    for (const Case& c : cases) {
        for (const auto& entry : c.group.images) {
            const std::string id = entry.id;
            // The particle pictures of the Init scope come with the effects.
            if (id.rfind("IMAGE_PARTICLE_", 0) == 0) continue;
            const Declared* d = Find(id);
            ASSERT_NE(d, nullptr) << id << " is not declared";
            EXPECT_EQ(d->scope, c.scope) << id;
        }
    }
    // The loading stone is one strip that also answers to the Init group's id.
    const Declared* stone = Find("IMAGE_LOADING_STONE");
    ASSERT_NE(stone, nullptr);
    EXPECT_EQ(stone->kind, "animimage");
    EXPECT_GT(stone->frames, 1);
}

TEST(TotemArt, EveryDeclaredPictureIsPaintedAtItsSizeAndIsNotBlank) {
    ASSERT_FALSE(Declarations().empty());
    for (const Declared& d : Declarations()) {
        auto it = Listed().find(d.path);
        ASSERT_NE(it, Listed().end()) << d.id << ": nothing paints " << d.path;
        EXPECT_EQ(d.path, LowerAscii(d.path)) << "runtime paths are lower case";
        if (d.kind == "animimage") {
            EXPECT_EQ(it->second.w, d.frameW * d.frames) << d.id;
            EXPECT_EQ(it->second.h, d.frameH) << d.id;
        }
        PicturePtr p = LoadPicture(PaintedFile(d.path).string());
        ASSERT_TRUE(p) << d.path << " was not written";
        EXPECT_EQ(p->Width(), it->second.w) << d.path;
        EXPECT_EQ(p->Height(), it->second.h) << d.path;
        int opaque = 0;
        std::set<uint32_t> colours;
        for (int y = 0; y < p->Height(); ++y)
            for (int x = 0; x < p->Width(); ++x) {
                const uint32_t px = p->ReadPixel(x, y);
                if (Alpha(px) > 200) ++opaque;
                if (colours.size() < 8) colours.insert(px);
            }
        EXPECT_GT(opaque, p->Width() * p->Height() / 50) << d.path << " is nearly transparent";
        EXPECT_GT(colours.size(), 4u) << d.path << " is flat";
    }
}

TEST(TotemArt, SizesFollowHowTheGameDrawsThePictures) {
    struct Exact {
        const char* id;
        int w, h;
    } screens[] = {
        {"IMAGE_LOADING_BACK", 800, 600},  {"IMAGE_ZAR_SPLASH1", 800, 600},    {"IMAGE_ZAR_SPLASH2", 800, 600},
        {"IMAGE_MENU_BACK", 800, 600},     {"IMAGE_MENU_BACK_LAYER1", 800, 600},
        {"IMAGE_STORY_BACK", 400, 300},  // drawn at twice its size
        {"IMAGE_STORY_ISLANDS", 800, 600},
    };
    for (const Exact& e : screens) {
        const Size s = ListedSize(e.id);
        EXPECT_EQ(s.w, e.w) << e.id;
        EXPECT_EQ(s.h, e.h) << e.id;
    }
    // Pictures that replace each other on one spot share a size.
    const std::vector<std::vector<const char*>> same = {
        {"IMAGE_LOADING_EMPTY", "IMAGE_LOADING_FULL"},
        {"IMAGE_ZAR_LOGO_A", "IMAGE_ZAR_LOGO_NA"},
        {"IMAGE_MENU_EYE_LEFT", "IMAGE_MENU_EYE_RIGHT"},
        {"IMAGE_MENU_MODE1", "IMAGE_MENU_MODE1_ON"},
        {"IMAGE_MENU_OPTIONS", "IMAGE_MENU_OPTIONS_ON"},
        {"IMAGE_MENU_SCORES", "IMAGE_MENU_SCORES_ON"},
        {"IMAGE_MENU_EXIT", "IMAGE_MENU_EXIT_ON"},
        {"IMAGE_MENU_HELP", "IMAGE_MENU_HELP_ON"},
        {"IMAGE_MENU_BUTTONBACK", "IMAGE_MENU_BUTTONBACK_ON"},
        {"IMAGE_MENU_BUTTON1", "IMAGE_MENU_BUTTON1_ON"},
        {"IMAGE_MENU_BUTTON2", "IMAGE_MENU_BUTTON2_ON"},
        {"IMAGE_FORMS_SCROLL_EMPTY", "IMAGE_FORMS_SCROLL_FULL"},
        {"IMAGE_FORMS_CHECKBOX_ON", "IMAGE_FORMS_CHECKBOX_OFF"},
        {"IMAGE_BUTTON_D", "IMAGE_BUTTON_D_ON", "IMAGE_BUTTON_D_ON_CLICK"},
        {"IMAGE_MENUOFF", "IMAGE_MENUON"},
        {"IMAGE_NEXTOFF", "IMAGE_NEXTON"},
        {"IMAGE_REPLAYOFF", "IMAGE_REPLAYON"},
        {"IMAGE_HELP_LEFTOFF", "IMAGE_HELP_LEFTON", "IMAGE_HELP_RIGHTOFF", "IMAGE_HELP_RIGHTON"},
        {"IMAGE_RESULT_STAR", "IMAGE_RESULT_STAR_EMPTHY"},
        {"IMAGE_STORY_POINT", "IMAGE_STORY_LOCKED"},
        // The help dialog centres every page by the first page's width.
        {"IMAGE_HELP_01", "IMAGE_HELP_02", "IMAGE_HELP_03", "IMAGE_HELP_04", "IMAGE_HELP_05", "IMAGE_HELP_06"},
        // The prize gallery and the results row lay the badges out by their widths.
        {"IMAGE_PRIZES_5LINES", "IMAGE_PRIZES_5MELODY", "IMAGE_PRIZES_5STARS", "IMAGE_PRIZES_10LINES",
         "IMAGE_PRIZES_10MELODY", "IMAGE_PRIZES_10SERIES", "IMAGE_PRIZES_10STARS", "IMAGE_PRIZES_15MELODY",
         "IMAGE_PRIZES_20SERIES", "IMAGE_PRIZES_40SERIES", "IMAGE_PRIZES_100SERIES", "IMAGE_PRIZES_ALLNOTES",
         "IMAGE_PRIZES_LINES", "IMAGE_PRIZES_LONG", "IMAGE_PRIZES_MELODY", "IMAGE_PRIZES_NOTES", "IMAGE_PRIZES_x2",
         "IMAGE_PRIZES_x4"},
    };
    for (const auto& set : same) {
        const Size first = ListedSize(set[0]);
        EXPECT_GT(first.w, 0) << set[0];
        for (const char* id : set) {
            const Size s = ListedSize(id);
            EXPECT_TRUE(s.w == first.w && s.h == first.h) << id << " differs from " << set[0];
        }
    }
    // The dialog frame is cut into a 3 × 3 grid of equal parts.
    const Size frame = ListedSize("IMAGE_DIALOG");
    EXPECT_EQ(frame.w % 3, 0);
    EXPECT_EQ(frame.h % 3, 0);
    // Prize pop-ups stack 74 pixels apart, so a badge must fit in that step.
    EXPECT_LE(ListedSize("IMAGE_PRIZES_x2").h, 74);
    // Pictures turned or centred by the game carry a centred handle.
    for (const char* id : {"IMAGE_MENU_SUN", "IMAGE_MENU_EYE_ZRACHOK", "IMAGE_STORY_POINT", "IMAGE_STORY_LOCKED",
                           "IMAGE_STORY_STAR", "IMAGE_STORY_LEVELSTAR", "IMAGE_STORY_HIGHLIGHT"}) {
        const Declared* d = Find(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_TRUE(d->midhandle) << id;
    }
}

// The menu draws each statue's eye picture at a fixed corner and the pupils at
// fixed rest points; the foreground must hold dark sockets there and the eye
// pictures must glow right where the pupils rest.
TEST(TotemArt, StatuePupilsRestOnThePaintedEyes) {
    struct Statue {
        const char* eyes;
        int picX, picY;
        int pupils[2][2];
    } statues[] = {{"IMAGE_MENU_EYE_LEFT", 108, 385, {{139, 392}, {118, 392}}},
                   {"IMAGE_MENU_EYE_RIGHT", 663, 383, {{674, 390}, {695, 390}}}};
    PicturePtr layer = LoadPainted("IMAGE_MENU_BACK_LAYER1");
    PicturePtr islands = LoadPainted("IMAGE_STORY_ISLANDS");
    ASSERT_TRUE(layer && islands);
    for (const Statue& s : statues) {
        PicturePtr eyes = LoadPainted(s.eyes);
        ASSERT_TRUE(eyes);
        for (const auto& p : s.pupils) {
            for (const PicturePtr& background : {layer, islands}) {
                const uint32_t socket = background->ReadPixel(p[0], p[1]);
                EXPECT_GT(Alpha(socket), 200) << s.eyes << " socket at " << p[0] << "," << p[1];
                EXPECT_LT(Brightness(socket), 3 * 70) << s.eyes << " socket should be dark";
            }
            const uint32_t eye = eyes->ReadPixel(p[0] - s.picX, p[1] - s.picY);
            EXPECT_GT(Alpha(eye), 200) << s.eyes;
            EXPECT_GT(Brightness(eye), 3 * 180) << s.eyes << " should glow under the pupil";
        }
        // Between the two eyes the picture is see-through, so the face shows.
        const int midX = (s.pupils[0][0] + s.pupils[1][0]) / 2 - s.picX;
        EXPECT_LT(Alpha(eyes->ReadPixel(midX, 1)), 120) << s.eyes;
    }
}

// The islands picture lies over the sea and the splashes: the splash spots
// must be open water, the totem places must stand on land, and the markers'
// path must run over the islands.
TEST(TotemArt, StoryIslandsCarryThePathAndLeaveTheSplashesInWater) {
    PicturePtr islands = LoadPainted("IMAGE_STORY_ISLANDS");
    ASSERT_TRUE(islands);
    const int water[9][2] = {{281, 374}, {366, 320}, {357, 211}, {222, 150}, {178, 86},
                             {238, 80},  {347, 52},  {404, 121}, {531, 149}};
    for (const auto& w : water) EXPECT_LT(Alpha(islands->ReadPixel(w[0], w[1])), 64) << w[0] << "," << w[1];

    const Size totem = ListedSize("IMAGE_STORY_001");
    ASSERT_GT(totem.w, 0);
    const int totems[8][2] = {{240, 342}, {333, 267}, {325, 172}, {176, 115}, {138, 48}, {230, 18}, {353, 82}, {502, 101}};
    PicturePtr totemPicture = LoadPainted("IMAGE_STORY_001");
    ASSERT_TRUE(totemPicture);
    // The lowest opaque row of the totem picture is where it meets the ground.
    int foot = 0;
    for (int y = 0; y < totemPicture->Height(); ++y)
        if (Alpha(totemPicture->ReadPixel(totem.w / 2, y)) > 200) foot = y;
    for (const auto& t : totems) {
        const uint32_t ground = islands->ReadPixel(t[0] + totem.w / 2, t[1] + foot);
        EXPECT_GT(Alpha(ground), 200) << "totem at " << t[0] << "," << t[1] << " stands in the sea";
    }

    const Size marker = ListedSize("IMAGE_STORY_POINT");
    const int markers[28][2] = {{274, 364}, {305, 353}, {345, 327}, {388, 282}, {400, 255}, {375, 238}, {340, 224},
                                {301, 198}, {277, 185}, {251, 173}, {203, 165}, {156, 152}, {141, 130}, {156, 101},
                                {170, 79},  {195, 67},  {231, 57},  {275, 50},  {323, 60},  {328, 89},  {340, 119},
                                {378, 134}, {423, 135}, {453, 136}, {487, 137}, {500, 157}, {488, 186}, {469, 215}};
    int onLand = 0;
    for (const auto& m : markers)
        if (Alpha(islands->ReadPixel(m[0] + marker.w / 2, m[1] + marker.h / 2)) > 200) ++onLand;
    EXPECT_GE(onLand, 24) << "most markers should sit on the islands";
    // Far from the path the sea stays open.
    EXPECT_LT(Alpha(islands->ReadPixel(400, 560)), 64);
}

// The loading bar grows over the empty bar: both line up, the full one is
// brighter, and the stone strip's cells are not all alike (it animates).
TEST(TotemArt, LoadingBarsMatchAndTheStoneTurns) {
    PicturePtr empty = LoadPainted("IMAGE_LOADING_EMPTY");
    PicturePtr full = LoadPainted("IMAGE_LOADING_FULL");
    PicturePtr stone = LoadPainted("IMAGE_LOADING_STONE");
    ASSERT_TRUE(empty && full && stone);
    const int y = empty->Height() / 2;
    long emptySum = 0, fullSum = 0;
    for (int x = 0; x < empty->Width(); ++x) {
        emptySum += Brightness(empty->ReadPixel(x, y));
        fullSum += Brightness(full->ReadPixel(x, y));
    }
    EXPECT_GT(fullSum, emptySum * 2);
    const Declared* d = Find("IMAGE_LOADING_STONE");
    ASSERT_NE(d, nullptr);
    int differing = 0;
    for (int f = 1; f < d->frames; ++f) {
        int changed = 0;
        for (int py = 0; py < d->frameH; py += 2)
            for (int px = 0; px < d->frameW; px += 2)
                if (stone->ReadPixel(px, py) != stone->ReadPixel(f * d->frameW + px, py)) ++changed;
        if (changed > 20) ++differing;
    }
    EXPECT_EQ(differing, d->frames - 1) << "every cell should differ from the first";
}
