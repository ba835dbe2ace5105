#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestFont.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "fx/TEmitter.h"
#include "game/GameGlobals.h"
#include "game/TFloatPoints.h"
#include "game/TGame.h"
#include "game/TNote.h"
#include "game/TPointsWindow.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"

namespace {

std::string Shown(float points) { return std::to_string(int(std::ceil(points))); }

class PointsDisplayTest : public ::testing::Test {
protected:
    GamePtr game;

    void SetUp() override {
        UseDrivenClock(1000);
        GameClock = 1000;
        WidgetManager = std::make_shared<TWidgetmanager>();
        FONT_POINTS = MeasuredFont();
        EFFECT_COUNTER = TEffect::New();
        SlowScalePulse = TCurveValue::Create(1, 1, 10);
        TFloatPoints::RemoveAll();
        game = std::make_shared<TGame>();
        game->Points = 0;
    }
    void TearDown() override {
        TFloatPoints::RemoveAll();
        game = nullptr;
        WidgetManager = nullptr;
        FONT_POINTS = nullptr;
        EFFECT_COUNTER = nullptr;
        SlowScalePulse = nullptr;
        UseRealClock();
    }
};

TEST_F(PointsDisplayTest, ATextShowsItsPointsForItsPresetsLifetimeAndScoresAtOnce) {
    const struct {
        int points, preset, lifeTime;
        float scale;
    } cases[] = {
        {100, 1, 500, 0.67f},   // a plain note at ×1
        {1200, 0, 800, 1.0f},   // a fret worth 600 at ×2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        const int before = game->Points;
        GameClock = 1000;
        FloatPointsPtr fp = TFloatPoints::Create(c.points, MakeVector(300, 300), c.preset);
        EXPECT_EQ(game->Points, before + c.points);
        EXPECT_EQ(fp->text, "+" + std::to_string(c.points));
        EXPECT_EQ(fp->LifeTime, c.lifeTime);
        EXPECT_FLOAT_EQ(fp->scale, c.scale);
        // Measured at full size, whatever the preset.
        EXPECT_FLOAT_EQ(fp->width, float(MeasuredWidth(fp->text)));
        EXPECT_FLOAT_EQ(fp->height, 20);
        EXPECT_TRUE(WidgetManager->Contains(fp.get()));
        EXPECT_EQ(FloatPointsList.back(), fp);
        // Leaves the screen on the first update past its lifetime.
        GameClock = float(1000 + c.lifeTime);
        fp->Update(0);
        EXPECT_TRUE(WidgetManager->Contains(fp.get()));
        GameClock = float(1000 + c.lifeTime + 1);
        fp->Update(0);
        EXPECT_FALSE(WidgetManager->Contains(fp.get()));
        // Still listed until the level is stopped.
        EXPECT_EQ(FloatPointsList.back(), fp);
    }
}

TEST_F(PointsDisplayTest, ATextIsCentredOnItsPointAndRises) {
    // The catch point of line 2, where that line's score appears.
    const VectorPtr at = TNote::Create(2, 1, 0, 0)->CatchPos();
    EXPECT_NEAR(at->x, 406.6, 0.05);
    EXPECT_NEAR(at->y, 499.3, 0.05);
    const float cx = at->x, cy = at->y;
    FloatPointsPtr fp = TFloatPoints::Create(100, at, 1);
    // The caller's vector is the one moved.
    EXPECT_EQ(fp->pos, at);
    EXPECT_FLOAT_EQ(fp->pos->x, cx - MeasuredWidth("+100") / 2.0f);
    EXPECT_FLOAT_EQ(fp->pos->y, cy - 10);
    EXPECT_FLOAT_EQ(fp->_x, std::trunc(fp->pos->x));
    EXPECT_FLOAT_EQ(fp->_y, std::trunc(fp->pos->y));
    EXPECT_EQ(fp->_width, MeasuredWidth("+100"));
    EXPECT_EQ(fp->_height, 20);
    // One pixel per dt unit.
    const float y0 = fp->pos->y;
    fp->Update(3);
    EXPECT_FLOAT_EQ(fp->pos->y, y0 - 3);
    EXPECT_FLOAT_EQ(fp->_y, std::trunc(y0 - 3));
}

TEST_F(PointsDisplayTest, EveryScorePopsTheMultiplierBadge) {
    SlowScalePulse->value = 1;
    TFloatPoints::Create(100, MakeVector(0, 0), 1);
    EXPECT_FLOAT_EQ(SlowScalePulse->value, 1.5f);
}

TEST_F(PointsDisplayTest, ATextFadesOutOverItsLifetime) {
    auto font = MeasuredFont();
    FONT_POINTS = font;
    FloatPointsPtr fp = TFloatPoints::Create(500, MakeVector(100, 100), 0);
    const int times[] = {0, 200, 400, 800};
    for (int t : times) {
        GameClock = float(1000 + t);
        fp->Draw();
    }
    ASSERT_EQ(font->drawn.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(font->drawn[i].text, "+500");
        EXPECT_NEAR(font->drawn[i].alpha, 1.0f - float(times[i]) / 800, 1e-4) << times[i];
        EXPECT_FLOAT_EQ(font->drawn[i].scaleX, 1);
    }
    // The small preset is drawn at 0.67 of its size, fading over 500 ms.
    FloatPointsPtr small = TFloatPoints::Create(100, MakeVector(100, 100), 1);
    GameClock = small->StartTime + 250.0f;
    small->Draw();
    ASSERT_EQ(font->drawn.size(), 5u);
    EXPECT_FLOAT_EQ(font->drawn[4].scaleX, 0.67f);
    EXPECT_FLOAT_EQ(font->drawn[4].scaleY, 0.67f);
    EXPECT_NEAR(font->drawn[4].alpha, 0.5f, 1e-4);
    SetScale(1, 1);
    SetAlpha(1);
}

TEST_F(PointsDisplayTest, RemovingTakesTextsOffScreenAndOffTheList) {
    FloatPointsPtr a = TFloatPoints::Create(100, MakeVector(10, 10), 1);
    FloatPointsPtr b = TFloatPoints::Create(200, MakeVector(20, 20), 0);
    FloatPointsPtr c = TFloatPoints::Create(300, MakeVector(30, 30), 0);
    b->remove();
    EXPECT_FALSE(WidgetManager->Contains(b.get()));
    ASSERT_EQ(FloatPointsList.size(), 2u);
    EXPECT_EQ(FloatPointsList[0], a);
    EXPECT_EQ(FloatPointsList[1], c);
    // One already off screen is still dropped from the list.
    GameClock = 2000;
    a->Update(1);
    ASSERT_FALSE(WidgetManager->Contains(a.get()));
    TFloatPoints::RemoveAll();
    EXPECT_TRUE(FloatPointsList.empty());
    EXPECT_FALSE(WidgetManager->Contains(c.get()));
    EXPECT_TRUE(WidgetManager->WidgetsList.empty());
}

TEST_F(PointsDisplayTest, ATextRemovedByTheManagerUpdateSurvivesItsOwnRemoval) {
    // Only the manager and the list hold it; the update that removes it from
    // the manager runs inside the manager's walk.
    TFloatPoints::Create(100, MakeVector(10, 10), 1);
    GameClock = 1600;
    WidgetManager->Update(1);
    EXPECT_TRUE(WidgetManager->WidgetsList.empty());
    TFloatPoints::RemoveAll();
    TFloatPoints::Create(100, MakeVector(10, 10), 1);
    TFloatPoints::RemoveAll();
    EXPECT_TRUE(WidgetManager->WidgetsList.empty());
}

class PointsWindowTest : public PointsDisplayTest {
protected:
    std::shared_ptr<TPointsWindow> counter = std::make_shared<TPointsWindow>();
    void SetUp() override {
        PointsDisplayTest::SetUp();
        counter->Resize(600, 20, 200, 40);
    }
};

TEST_F(PointsWindowTest, CountsUpASixthOfTheGapPerFrameAndBurstsOnceWhenCaughtUp) {
    game->Points = 100;
    // The rule, frame by frame: the burst comes on the first frame that
    // starts with the gap at 1 or less.
    float p = 0;
    std::vector<std::string> expected;
    int burstFrame = -1;
    std::string burstText;
    for (int frame = 0; frame < 80; ++frame) {
        if (burstFrame < 0 && 100 - p <= 1) {
            burstFrame = frame;
            burstText = Shown(p);
        }
        p += (100 - p) / 6;
        expected.push_back(Shown(p));
    }
    ASSERT_GE(burstFrame, 0);
    EXPECT_EQ(expected[0], "17");
    EXPECT_EQ(expected[1], "31");
    EXPECT_EQ(expected[2], "43");

    for (int frame = 0; frame < 80; ++frame) {
        SCOPED_TRACE(frame);
        counter->Update(1);
        EXPECT_EQ(Shown(counter->Points), expected[size_t(frame)]);
        EXPECT_LE(counter->Points, 100.0f);
        EXPECT_EQ(counter->Emitters.size(), frame < burstFrame ? 0u : 1u);
        if (frame == burstFrame) {
            const auto& burst = counter->Emitters.at(0);
            EXPECT_EQ(burst->Config, EFFECT_COUNTER);
            EXPECT_FLOAT_EQ(burst->x, 600.0f + MeasuredWidth(burstText) / 2);
            EXPECT_FLOAT_EQ(burst->y, 20.0f + 20 / 2);
        }
    }
    EXPECT_EQ(Shown(counter->Points), "100");
}

TEST_F(PointsWindowTest, ASmallChangeCountsUpWithoutABurst) {
    game->Points = 8;
    for (int frame = 0; frame < 60; ++frame) counter->Update(1);
    EXPECT_EQ(Shown(counter->Points), "8");
    EXPECT_TRUE(counter->Emitters.empty());
    EXPECT_EQ(counter->CounterChanged, 0);
}

TEST_F(PointsWindowTest, ALongFrameNeverCountsPastTheScore) {
    // A stall of 500 ms: dt 29.4.
    game->Points = 1100;
    counter->Points = 100;
    counter->Update(29.4f);
    EXPECT_FLOAT_EQ(counter->Points, 1100);
    EXPECT_EQ(counter->CounterChanged, 1);
    // The next frame sees it caught up and bursts.
    counter->Update(1);
    EXPECT_FLOAT_EQ(counter->Points, 1100);
    EXPECT_EQ(counter->Emitters.size(), 1u);
}

TEST_F(PointsWindowTest, FinishedBurstsAreDropped) {
    EFFECT_COUNTER->GenSpeed = 100;
    EFFECT_COUNTER->TimeOut = 30;
    EFFECT_COUNTER->Lifetime = {20, 20};
    game->Points = 50;
    int frames = 0;
    while (counter->Emitters.empty() && frames++ < 100) counter->Update(1);
    ASSERT_EQ(counter->Emitters.size(), 1u);
    for (int i = 0; i < 20; ++i) {
        AdvanceClock(17);
        counter->Update(1);
    }
    EXPECT_TRUE(counter->Emitters.empty());
}

}  // namespace
