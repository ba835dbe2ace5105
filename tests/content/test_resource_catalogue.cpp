#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "media/Graphics.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

struct Counts {
    const char* name;
    const ResourceGroup& group;
    size_t fonts, images, sounds, effects;
};

TEST(ResourceCatalogue, EachGroupHoldsItsIdsByKind) {
    const Counts cases[] = {
        {"Init", InitGroup(), 14, 14, 0, 16}, {"ZAR", ZarGroup(), 0, 4, 0, 0},
        {"Menu", MenuGroup(), 0, 99, 5, 0},   {"Gryph", GryphGroup(), 0, 55, 8, 0},
        {"Skin", SkinGroup(), 0, 6, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.group.fonts.size(), c.fonts);
        EXPECT_EQ(c.group.images.size(), c.images);
        EXPECT_EQ(c.group.sounds.size(), c.sounds);
        EXPECT_EQ(c.group.effects.size(), c.effects);
    }
}

template <typename T>
void Collect(const std::vector<CatalogueEntry<T>>& list, std::set<std::string>& ids, std::set<const void*>& globals,
             size_t& total) {
    for (const auto& e : list) {
        ids.insert(e.id);
        globals.insert(e.global);
        ++total;
    }
}

TEST(ResourceCatalogue, EveryIdAndGlobalIsDistinct) {
    std::set<std::string> ids;
    std::set<const void*> globals;
    size_t total = 0;
    for (const ResourceGroup* g : {&InitGroup(), &ZarGroup(), &MenuGroup(), &GryphGroup(), &SkinGroup()}) {
        Collect(g->fonts, ids, globals, total);
        Collect(g->images, ids, globals, total);
        Collect(g->sounds, ids, globals, total);
        Collect(g->effects, ids, globals, total);
    }
    EXPECT_EQ(total, 14u + 14 + 16 + 4 + 104 + 63 + 6);
    EXPECT_EQ(ids.size(), total);
    EXPECT_EQ(globals.size(), total);
}

// Numbered ranges: every number in rising order, padded like the ends.
TEST(ResourceCatalogue, NumberedRangesAreSpelledOut) {
    struct Range {
        const std::vector<CatalogueEntry<ImagePtr>>& list;
        size_t first;
        std::vector<std::string> ids;
    };
    const Range ranges[] = {
        {InitGroup().images, 4, {"IMAGE_PARTICLE_01", "IMAGE_PARTICLE_02", "IMAGE_PARTICLE_03", "IMAGE_PARTICLE_04",
                                 "IMAGE_PARTICLE_05", "IMAGE_PARTICLE_06", "IMAGE_PARTICLE_07", "IMAGE_PARTICLE_08",
                                 "IMAGE_PARTICLE_09", "IMAGE_PARTICLE_10"}},
        {MenuGroup().images, 56, {"IMAGE_STORY_001", "IMAGE_STORY_002", "IMAGE_STORY_003", "IMAGE_STORY_004",
                                  "IMAGE_STORY_005", "IMAGE_STORY_006", "IMAGE_STORY_007", "IMAGE_STORY_008",
                                  "IMAGE_STORY_009", "IMAGE_RESULT_LABEL"}},
        {MenuGroup().images, 74, {"IMAGE_HELP_LEFTOFF", "IMAGE_HELP_01", "IMAGE_HELP_02", "IMAGE_HELP_03",
                                  "IMAGE_HELP_04", "IMAGE_HELP_05", "IMAGE_HELP_06", "IMAGE_PRIZES_5LINES"}},
        {GryphGroup().images, 7, {"IMAGE_GRYPH_LINE_LIGHT_1", "IMAGE_GRYPH_LINE_LIGHT_2", "IMAGE_GRYPH_LINE_LIGHT_3",
                                  "IMAGE_GRYPH_LINE_LIGHT_4", "IMAGE_GRYPH_LINE_LIGHT_5", "IMAGE_GRYPH_LINE_BAD_1",
                                  "IMAGE_GRYPH_LINE_BAD_2", "IMAGE_GRYPH_LINE_BAD_3", "IMAGE_GRYPH_LINE_BAD_4",
                                  "IMAGE_GRYPH_LINE_BAD_5", "IMAGE_GRYPH_GOLD_FLARE"}},
        {GryphGroup().images, 26, {"IMAGE_ITEM_FRET", "IMAGE_ITEM_BONUS50_1", "IMAGE_ITEM_BONUS50_2",
                                   "IMAGE_ITEM_BONUS50_3", "IMAGE_ITEM_BONUS50_4", "IMAGE_ITEM_BONUS50_5",
                                   "IMAGE_ITEM_BONUS50_6", "IMAGE_ITEM_BONUS50_7", "IMAGE_ITEM_NOTE_ANIM_1"}},
        {GryphGroup().images, 42, {"IMAGE_MESSAGE_1", "IMAGE_MESSAGE_2", "IMAGE_MESSAGE_3", "IMAGE_MESSAGE_4",
                                   "IMAGE_MESSAGE_5", "IMAGE_MESSAGE_6", "IMAGE_NOTELINE_CIRCLE_1"}},
    };
    for (const auto& r : ranges) {
        for (size_t i = 0; i < r.ids.size(); ++i) {
            ASSERT_LT(r.first + i, r.list.size());
            EXPECT_EQ(r.list[r.first + i].id, r.ids[i]);
        }
    }
    // Ends of lists, and ids whose case is part of the name.
    EXPECT_EQ(std::string(InitGroup().images[3].id), "IMAGE_LOADING_stone");
    EXPECT_EQ(InitGroup().images[3].global, &IMAGE_LOADING_stone);
    EXPECT_EQ(std::string(InitGroup().effects[12].id), "EFFECT_water");
    EXPECT_EQ(std::string(MenuGroup().images.back().id), "IMAGE_PRIZES_x4");
    EXPECT_EQ(std::string(GryphGroup().images.back().id), "IMAGE_NOTELINE_CIRCLE_COMPLETED");
    EXPECT_EQ(std::string(GryphGroup().sounds.back().id), "SOUND_RESULT_ACHIVEMENT");
    EXPECT_EQ(std::string(ZarGroup().images[1].id), "IMAGE_ZAR_SPLASH2");
    EXPECT_EQ(ZarGroup().images[1].global, &IMAGE_ZAR_SPLASH2);
    EXPECT_EQ(std::string(InitGroup().fonts.back().id), "FONT_USERLIST");
    EXPECT_EQ(SkinGroup().images[5].global, &IMAGE_BACK_YELLOWSKY);
}

class CatalogueFetch : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("totem_catalogue_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        ResManager = std::make_shared<TResManager>();
        ResourceFatal = [](const std::string&) {};
    }
    void TearDown() override {
        ResourceFatal = DefaultResourceFatal;
        ResManager = std::make_shared<TResManager>();
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    static void Declare(const std::string& xml) {
        LoadResourceFile(XmlLoad(OpenMemory(std::vector<uint8_t>(xml.begin(), xml.end()))));
    }
    static void SavePng(const std::string& path, int w, int h, uint32_t argb) {
        TPicture p(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) p.WritePixel(x, y, argb);
        ASSERT_TRUE(SavePicturePNG(p, path));
    }
    fs::path previous_, dir_;
};

// A later skin replaces every global of the group, even with null.
TEST_F(CatalogueFetch, FetchFillsKnownIdsAndLeavesOthersNull) {
    SavePng("a.png", 3, 2, 0xFFFF0000);
    SavePng("b.png", 5, 4, 0xFF00FF00);
    Declare(R"(<r><resources id="skin1">
                 <image id="image_gryph_back" path="a.png"/>
                 <image id="IMAGE_BACK_MAIN" path="a.png"/>
               </resources>
               <resources id="skin2"><image id="IMAGE_GRYPH_BACK" path="b.png"/></resources></r>)");
    IMAGE_GRYPH_LIGHT = CreateImage(1, 1);  // stale value from an earlier fetch
    ResManager->LoadScope("skin1");
    FetchSkinGroup();
    ASSERT_TRUE(IMAGE_GRYPH_BACK);
    EXPECT_EQ(IMAGE_GRYPH_BACK->width, 3);
    EXPECT_EQ(IMAGE_GRYPH_BACK, ResManager->GetImage("IMAGE_GRYPH_BACK"));
    ASSERT_TRUE(IMAGE_BACK_MAIN);
    EXPECT_FALSE(IMAGE_GRYPH_LIGHT);
    EXPECT_FALSE(IMAGE_BACK_YELLOWSKY);

    ResManager->UnLoadScope("skin1");
    ResManager->LoadScope("skin2");
    FetchSkinGroup();
    ASSERT_TRUE(IMAGE_GRYPH_BACK);
    EXPECT_EQ(IMAGE_GRYPH_BACK->width, 5);
    EXPECT_FALSE(IMAGE_BACK_MAIN);
}

TEST_F(CatalogueFetch, ZarGroupFetchesImagesOnly) {
    SavePng("s.png", 2, 2, 0xFF0000FF);
    Declare(R"(<r><resources id="ZAR"><image id="IMAGE_ZAR_SPLASH1" path="s.png"/>
               <image id="IMAGE_ZAR_LOGO_NA" path="s.png"/></resources></r>)");
    ResManager->LoadScope("ZAR");
    FetchZarGroup();
    EXPECT_TRUE(IMAGE_ZAR_SPLASH1);
    EXPECT_FALSE(IMAGE_ZAR_SPLASH2);
    EXPECT_FALSE(IMAGE_ZAR_LOGO_A);
    EXPECT_TRUE(IMAGE_ZAR_LOGO_NA);
}

TEST(LoadingBar, GeometryFollowsTheImageWidths) {
    EXPECT_EQ(LoadingBarX(301), 250);
    EXPECT_EQ(LoadingBarX(300), 250);
    EXPECT_EQ(LoadingBarX(0), 400);
    EXPECT_EQ(LoadingBarX(1000), -100);
    EXPECT_EQ(LoadingBarReveal(200, 0.0f), 0);
    EXPECT_EQ(LoadingBarReveal(200, 0.5f), 1);
    EXPECT_EQ(LoadingBarReveal(301, 50.0f), 150);  // truncated
    EXPECT_EQ(LoadingBarReveal(301, 100.0f), 301);
    EXPECT_EQ(LoadingBarReveal(200, 37.5f), 75);
}

ImagePtr Solid(int w, int h, uint32_t argb) {
    auto p = std::make_shared<TPicture>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->WritePixel(x, y, argb);
    return ImageFromPicture(p);
}

class LoadingScreen : public CatalogueFetch {
protected:
    void SetUp() override {
        CatalogueFetch::SetUp();
        if (!OpenDisplay(800, 600, 0, 85)) GTEST_SKIP() << "no display";
        SetVirtualResolution(800, 600);
        SetClsColor(0, 0, 0);
    }
    void TearDown() override {
        IMAGE_LOADING_BACK = IMAGE_LOADING_EMPTY = IMAGE_LOADING_FULL = nullptr;
        LoadingStone = nullptr;
        CloseDisplay();
        CatalogueFetch::TearDown();
    }
};

uint32_t Rgb(const PicturePtr& p, int x, int y) { return p->ReadPixel(x, y) & 0xFFFFFF; }

TEST_F(LoadingScreen, FullBarGrowsFromTheLeftEdgeOfTheEmptyBar) {
    constexpr uint32_t BLUE = 0x0000FF, RED = 0xFF0000;
    IMAGE_LOADING_BACK = nullptr;
    LoadingStone = nullptr;
    IMAGE_LOADING_EMPTY = Solid(301, 10, 0xFF000000 | BLUE);
    IMAGE_LOADING_FULL = Solid(200, 8, 0xFF000000 | RED);
    struct Case { float percent; int reveal; };
    const Case cases[] = {{0, 0}, {0.5f, 1}, {37.5f, 75}, {100, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        SetBlend(SOLIDBLEND);
        DrawLoadingFrame(c.percent);
        EXPECT_EQ(GetBlend(), SOLIDBLEND);  // drawing state put back
        PicturePtr frame = GrabFrame();
        ASSERT_TRUE(frame);
        const int y = 484;
        EXPECT_EQ(Rgb(frame, 249, y), 0u);
        EXPECT_EQ(Rgb(frame, 550, y), BLUE);
        EXPECT_EQ(Rgb(frame, 551, y), 0u);
        EXPECT_EQ(Rgb(frame, 250, 479), 0u);
        EXPECT_EQ(Rgb(frame, 250, 489), BLUE);
        if (c.reveal > 0) {
            EXPECT_EQ(Rgb(frame, 250, y), RED);
            EXPECT_EQ(Rgb(frame, 250 + c.reveal - 1, y), RED);
            EXPECT_EQ(Rgb(frame, 250, 488), BLUE);  // below the 8-pixel full bar
        }
        EXPECT_EQ(Rgb(frame, 250 + c.reveal, y), BLUE);
        Flip(0);
    }
}

// Records the bar position each resource is loaded at; the first of each
// scope also yields an image so the group fetch can be seen.
class ProbeRes : public TRes {
public:
    std::vector<float>* seen;
    ImagePtr image;
    void Load() override {
        seen->push_back(ResManager->LoadingPos);
        if (image) {
            data = image;
            kind = ResKind::Image;
        }
    }
};

TEST_F(LoadingScreen, OneBarRunsOverMenuAndGryph) {
    std::vector<float> seen;
    const ImagePtr menuImage = Solid(2, 2, 0xFFFFFFFF), gryphImage = Solid(3, 3, 0xFFFFFFFF);
    auto add = [&](const std::string& name, const std::string& scope, ImagePtr image) {
        auto r = std::make_shared<ProbeRes>();
        r->seen = &seen;
        r->image = std::move(image);
        ResManager->ResAddData(name + ".png", name, r, scope);
    };
    for (int i = 0; i < 50; ++i)
        add(i == 0 ? "IMAGE_MENU_BACK" : "menu" + std::to_string(i), "Menu", i == 0 ? menuImage : nullptr);
    for (int i = 0; i < 150; ++i)
        add(i == 149 ? "IMAGE_GRYPH_STAR" : "gryph" + std::to_string(i), "Gryph", i == 149 ? gryphImage : nullptr);
    add("other", "Elsewhere", nullptr);

    LoadMenuAndGryph();
    ASSERT_EQ(seen.size(), 200u);
    EXPECT_FLOAT_EQ(seen[0], 0.5f);
    EXPECT_FLOAT_EQ(seen[49], 25.0f);
    EXPECT_FLOAT_EQ(seen[50], 25.5f);
    EXPECT_FLOAT_EQ(seen[199], 100.0f);
    EXPECT_EQ(IMAGE_MENU_BACK, menuImage);
    EXPECT_EQ(IMAGE_GRYPH_STAR, gryphImage);
    EXPECT_FALSE(IMAGE_MENU_SUN);
    // The screen stays installed for later scopes.
    ASSERT_TRUE(ResManager->DrawLoading);
    ResManager->ResetLoadingPanel();
    ResManager->LoadingPanelAddScope("Elsewhere");
    ResManager->LoadScope("Elsewhere");
    EXPECT_EQ(seen.size(), 201u);
    EXPECT_FLOAT_EQ(seen.back(), 100.0f);
}

}  // namespace
