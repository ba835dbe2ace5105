// The story map over a layout of the test's own: which markers are locked,
// starred and how many stars they show, the totems, hovering, clicking a
// marker, and "play".
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ScreensTestSupport.h"
#include "content/ResourceCatalogue.h"
#include "fx/TEffect.h"
#include "game/TLevelInfo.h"
#include "progress/ProgressGlobals.h"
#include "screens/TPoint.h"
#include "screens/TStoryMenu.h"

namespace {

using guitest::Solid;
using screens_test::RecordingGame;

constexpr uint32_t kBack = 0x14143C;      // the sea behind everything
constexpr uint32_t kPoint = 0x0000C8;     // an unlocked marker
constexpr uint32_t kLocked = 0x646464;    // a locked one
constexpr uint32_t kNext = 0xFAFA00;      // the next level to play
constexpr uint32_t kLevelStar = 0xFA0000;  // an earned star
constexpr uint32_t kTotem = 0x00FA00;

class StoryMap : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        Layout(screens_test::ScreensLayout());
        AddImage("IMG_ARROW", Solid(40, 40, 200, 200, 200));
        IMAGE_STORY_BACK = Solid(400, 300, 0x14, 0x14, 0x3C);
        IMAGE_STORY_POINT = Solid(16, 16, 0, 0, 0xC8);
        IMAGE_STORY_LOCKED = Solid(16, 16, 0x64, 0x64, 0x64);
        IMAGE_STORY_STAR = Solid(16, 16, 0xFA, 0xFA, 0);
        IMAGE_STORY_LEVELSTAR = Solid(6, 3, 0xFA, 0, 0);
        IMAGE_STORY_HIGHLIGHT = Solid(30, 30, 255, 255, 255);
        for (int i = 1; i <= 9; ++i) AddImage("IMAGE_STORY_00" + std::to_string(i), Solid(12, 12, 0, 0xFA, 0));
        EFFECT_MAP = TEffect::New();
        savedLevels_ = LevelInfoList;
        LevelInfoList.clear();
        for (int id = 1; id <= LevelCount; ++id) {
            auto info = std::make_shared<TLevelInfo>();
            info->id = id;
            info->song = "song" + std::to_string(id);
            info->Skin = "skin";
            LevelInfoList.push_back(info);
        }
        CurrentUser = std::make_shared<TUser>();
        game = std::make_shared<RecordingGame>();
        map = AddStoryMenuHidden();
    }
    void TearDown() override {
        StoryPoints.clear();
        map.reset();
        game.reset();
        CurrentUser = nullptr;
        LevelInfoList = savedLevels_;
        for (ImagePtr* i : {&IMAGE_STORY_BACK, &IMAGE_STORY_POINT, &IMAGE_STORY_LOCKED, &IMAGE_STORY_STAR,
                            &IMAGE_STORY_LEVELSTAR, &IMAGE_STORY_HIGHLIGHT})
            *i = nullptr;
        EFFECT_MAP = nullptr;
        LayoutTest::TearDown();
    }

    // The profile has finished the levels before `current`, with `stars(level)`.
    template <class Stars>
    static void Progress(int current, Stars stars) {
        CurrentUser->GameData->CurrentLevel = current;
        for (int level = 1; level < current && level <= LevelCount; ++level)
            CurrentUser->GameData->SetLevelStars(level, stars(level));
    }
    // Shows the map and lets it look at the profile once.
    void ShowMap() {
        map->SetHided(0);
        Frame();
    }
    static uint32_t Pixel(const PicturePtr& p, int x, int y) { return p->ReadPixel(x, y) & 0xFFFFFF; }
    // Where a marker's face shows: its pictures start at its centre.
    static uint32_t FaceOf(const PicturePtr& p, const TPoint& m) {
        return Pixel(p, int(m._x) + m._width / 2 + 4, int(m._y) + m._height / 2 + 8);
    }
    // The `i`-th (0..2) small star over a marker.
    static uint32_t StarOf(const PicturePtr& p, const TPoint& m, int i) {
        const int offsets[3][2] = {{-12, -7}, {-2, -10}, {8, -7}};
        return Pixel(p, int(m._x) + m._width / 2 + offsets[i][0] + 3, int(m._y) + m._height / 2 + offsets[i][1] + 1);
    }

    std::shared_ptr<RecordingGame> game;
    std::shared_ptr<TStoryMenu> map;

private:
    std::vector<LevelInfoPtr> savedLevels_;
};

struct ProgressCase {
    const char* name;
    int current;
    int totems;
};

// Markers: before the current level open with their stars, the current one
// starred, those after it locked; and the totems that stand at that progress.
TEST_F(StoryMap, MarkersAndTotemsFollowTheProfile) {
    const auto starsOf = [](int level) { return level % 4; };
    const ProgressCase cases[] = {
        {"fresh profile", 1, 1}, {"after eight levels", 9, 3}, {"after twelve", 13, 4}, {"all done", 29, 8}};
    const float totems[8][2] = {{240, 342}, {333, 267}, {325, 172}, {176, 115},
                                {138, 48},  {230, 18},  {353, 82},  {502, 101}};
    for (const ProgressCase& c : cases) {
        SCOPED_TRACE(c.name);
        Progress(c.current, starsOf);
        ShowMap();
        ASSERT_EQ(StoryPoints.size(), size_t(LevelCount));
        const PicturePtr shot = Shot();
        for (const PointPtr& m : StoryPoints) {
            SCOPED_TRACE("marker " + std::to_string(m->num));
            const bool done = m->num < c.current;
            EXPECT_EQ(m->locked, m->num > c.current ? 1 : 0);
            EXPECT_EQ(m->Star, m->num == c.current ? 1 : 0);
            EXPECT_EQ(FaceOf(shot, *m), m->num == c.current ? kNext : m->num > c.current ? kLocked : kPoint);
            for (int i = 0; i < 3; ++i) {
                const uint32_t star = StarOf(shot, *m, i);
                // Nothing red there: the sea, or a neighbour's face it overlaps.
                if (m->num > c.current) EXPECT_LT(star >> 16, 0x70u) << "a locked marker shows no stars";
                else if (done && i < starsOf(m->num)) EXPECT_EQ(star, kLevelStar) << "star " << i << " earned";
                else EXPECT_TRUE(star != kLevelStar && star != kBack) << "star " << i << " half there";
            }
        }
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(Pixel(shot, int(totems[k][0]) + 6, int(totems[k][1]) + 6) == kTotem, k < c.totems)
                << "totem " << k + 1;
        map->SetHided(1);
    }
}

TEST_F(StoryMap, TotemCountTable) {
    const int expected[] = {0, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 5, 5,
                            6, 6, 7, 7, 8, 8, 8, 8, 9, 9, 9, 9};
    for (int level = 1; level <= 29; ++level) EXPECT_EQ(TStoryMenu::TotemCount(level), expected[level]) << level;
}

TEST_F(StoryMap, HoveringLightsAndSparklesOnlyAnOpenMarker) {
    Progress(1, [](int) { return 0; });
    ShowMap();
    const struct {
        int num;
        bool lights;
    } cases[] = {{1, true}, {2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.num);
        const TPoint& m = *StoryPoints[size_t(c.num - 1)];
        map->Emitters.clear();
        MoveTo(int(m._x) + 8, int(m._y) + 8);
        ASSERT_EQ(m.IsOver, 1);
        const PicturePtr shot = Shot();
        // The light reaches beyond the face: lower right of it, over the sea.
        const uint32_t glow = Pixel(shot, int(m._x) + 8 + 24, int(m._y) + 8 + 24);
        EXPECT_EQ(glow != kBack, c.lights) << std::hex << glow;
        if (c.lights) {
            EXPECT_GT((glow >> 8) & 0xFF, 0xC0u) << "green light";
        }
        EXPECT_EQ(map->Emitters.size(), c.lights ? 1u : 0u);
        MoveTo(700, 20);
    }
}

struct ClickCase {
    const char* name;
    int current;
    int marker;
    bool releaseElsewhere;
    int started;  // 0: nothing starts
};

TEST_F(StoryMap, ClickingAMarkerStartsItsLevelWhenOpen) {
    const ClickCase cases[] = {
        {"the next level", 5, 5, false, 5},
        {"a level done before", 5, 2, false, 2},
        {"released elsewhere still starts", 5, 3, true, 3},
        {"a locked level", 5, 6, false, 0},
        {"a locked level released elsewhere", 5, 9, true, 0},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        Progress(c.current, [](int) { return 1; });
        ShowMap();
        game->started.clear();
        const TPoint& m = *StoryPoints[size_t(c.marker - 1)];
        MoveTo(int(m._x) + 8, int(m._y) + 8);
        Press();
        if (c.releaseElsewhere) MoveTo(650, 300);
        Release();
        if (c.started == 0) {
            EXPECT_TRUE(game->started.empty());
            EXPECT_EQ(map->Visible, 1) << "the map stays";
        } else {
            EXPECT_EQ(game->started, std::vector<int>{c.started});
            ASSERT_TRUE(game->LevelInfo);
            EXPECT_EQ(game->LevelInfo->song, "song" + std::to_string(c.started)) << "the table's entry";
            EXPECT_EQ(map->Visible, 0);
            EXPECT_EQ(StoryPoints[0]->Visible, 0) << "the markers go with the map";
        }
        MoveTo(650, 300);
        map->SetHided(1);
    }
}

// From the keyboard: the arrows reach the open markers along the path (never
// a locked one), the focused marker lights as under the mouse, and Enter
// starts its level.
TEST_F(StoryMap, TheKeyboardReachesTheOpenMarkersAndEnterStartsOne) {
    Progress(5, [](int) { return 1; });
    ShowMap();
    MoveTo(790, 590);
    std::set<int> reached;
    const auto focusedMarker = [] {
        const auto p = std::dynamic_pointer_cast<TPoint>(WidgetManager->Focus.Focused());
        return p ? p->num : 0;
    };
    for (int key : {KEY_TAB, KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN}) {
        for (int i = 0; i < 40; ++i) {
            Key(key);
            if (const int n = focusedMarker()) reached.insert(n);
        }
    }
    EXPECT_EQ(reached, (std::set<int>{1, 2, 3, 4, 5})) << "every open marker and no locked one";
    // Tab goes round every focusable widget: to marker 3 by Tab alone.
    for (int i = 0; i < 40 && focusedMarker() != 3; ++i) Key(KEY_TAB);
    ASSERT_EQ(focusedMarker(), 3);
    EXPECT_EQ(StoryPoints[2]->Focused, 1);
    Key(KEY_ENTER);
    EXPECT_EQ(game->started, std::vector<int>{3});
    EXPECT_EQ(map->Visible, 0);
}

TEST_F(StoryMap, AMarkerWithoutALevelInTheTableLeavesThePlayerOnTheMap) {
    std::erase_if(LevelInfoList, [](const LevelInfoPtr& l) { return l->id == 3; });
    Progress(4, [](int) { return 1; });
    ShowMap();
    const TPoint& m = *StoryPoints[2];
    Click(int(m._x) + 8, int(m._y) + 8);
    EXPECT_TRUE(game->started.empty());
    EXPECT_FALSE(game->LevelInfo);
    EXPECT_EQ(map->Visible, 1);
    EXPECT_EQ(StoryPoints[2]->Visible, 1);
}

TEST_F(StoryMap, PlayStartsTheNextLevelOrAnyButTheFirstOnceAllAreDone) {
    Progress(7, [](int) { return 2; });
    ShowMap();
    int x = 0, y = 0;
    ASSERT_TRUE(map->BUTTON_PLAY);
    screens_test::CentreOf(*map->BUTTON_PLAY, x, y);
    Click(x, y);
    EXPECT_EQ(game->started, std::vector<int>{7});

    Progress(LevelCount + 1, [](int) { return 3; });
    game->started.clear();
    for (int i = 0; i < 300; ++i) {
        ShowMap();
        Click(x, y);
        MoveTo(650, 300);
    }
    ASSERT_EQ(game->started.size(), 300u);
    const std::set<int> picked(game->started.begin(), game->started.end());
    EXPECT_GE(*picked.begin(), 2) << "level 1 is never picked";
    EXPECT_LE(*picked.rbegin(), LevelCount);
    EXPECT_GE(picked.size(), 20u) << "the pick spreads over the levels";
    EXPECT_EQ(CurrentUser->GameData->CurrentLevel, LevelCount + 1) << "the profile's progress is never lowered";
    for (int level = 1; level <= LevelCount; ++level) EXPECT_EQ(CurrentUser->GameData->GetLevelStars(level), 3);
}

TEST_F(StoryMap, BackHidesTheMapWithItsMarkersAndButtons) {
    ShowMap();
    int x = 0, y = 0;
    ASSERT_TRUE(map->BUTTON_BACK);
    screens_test::CentreOf(*map->BUTTON_BACK, x, y);
    Click(x, y);
    EXPECT_EQ(map->Visible, 0);
    EXPECT_EQ(map->BUTTON_PLAY->Visible, 0);
    for (const PointPtr& m : StoryPoints) EXPECT_EQ(m->Visible, 0);
    EXPECT_TRUE(game->started.empty());
}

TEST_F(StoryMap, LevelsAreFoundInTheTableByIdNotByPosition) {
    LevelInfoList.clear();
    for (int id : {5, 3}) {
        auto info = std::make_shared<TLevelInfo>();
        info->id = id;
        LevelInfoList.push_back(info);
    }
    EXPECT_EQ(TStoryMenu::GetLevelById(3), LevelInfoList[1]);
    EXPECT_EQ(TStoryMenu::GetLevelById(4), nullptr);
    ShowMap();
    EXPECT_EQ(StoryPoints[2]->num, 3) << "markers are numbered along the path";
}

}  // namespace
