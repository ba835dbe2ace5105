#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../media/GraphicsTestSupport.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/HighwayGeometry.h"
#include "game/ItemOwner.h"
#include "game/TBat.h"
#include "game/TLineLight.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;

// The highway as the catcher sees it: the combo meter and the events sent.
class MeterOwner : public ItemOwner {
public:
    std::vector<std::string> events;
    int BatLineNum() override { return -1; }
    int GoldRush() override { return 0; }
    int GetPointsMult() override { return 1; }
    void FloatPoints(int, const VectorPtr&, int) override {}
    void SendEvent(const std::string& name) override { events.push_back(name); }
    void CreateImpulse(const EffectPtr&) override {}
};

const uint32_t kMainColour = Argb(255, 200, 40, 40);
const uint32_t kSilverColour = Argb(255, 160, 160, 170);
const uint32_t kGoldColour = Argb(255, 240, 200, 30);
const uint32_t kX2Colour = Argb(255, 30, 30, 220);
const uint32_t kX4Colour = Argb(255, 30, 220, 220);
const uint32_t kLightColour = Argb(255, 0, 255, 0);
const uint32_t kBadColour = Argb(255, 255, 0, 0);

ImagePtr Centred(int size, uint32_t colour) {
    ImagePtr image = gfxtest::SolidImage(size, size, colour);
    CentreImageHandle(image);
    return image;
}

// Input is injected through the window system, so these run with a display.
class BatTest : public gfxtest::DisplayTest {
protected:
    MeterOwner owner;

    void SetUp() override {
        gfxtest::DisplayTest::SetUp();
        if (IsSkipped()) return;
        UseDrivenClock(1000);
        GameClock = 1000;
        SlowScalePulse = TCurveValue::Create(1, 1, 10);
        FastScalePulse = TCurveValue::Create(1, 1, 2);
        IMAGE_GRYPH_BAT_MAIN = Centred(30, kMainColour);
        IMAGE_GRYPH_BAT_SILVER = Centred(30, kSilverColour);
        IMAGE_GRYPH_BAT_GOLD = Centred(30, kGoldColour);
        IMAGE_GRYPH_BAT_X2 = Centred(8, kX2Colour);
        IMAGE_GRYPH_BAT_X4 = Centred(8, kX4Colour);
        ImagePtr* lights[] = {&IMAGE_GRYPH_LINE_LIGHT_1, &IMAGE_GRYPH_LINE_LIGHT_2,
                              &IMAGE_GRYPH_LINE_LIGHT_3, &IMAGE_GRYPH_LINE_LIGHT_4,
                              &IMAGE_GRYPH_LINE_LIGHT_5};
        ImagePtr* bad[] = {&IMAGE_GRYPH_LINE_BAD_1, &IMAGE_GRYPH_LINE_BAD_2, &IMAGE_GRYPH_LINE_BAD_3,
                           &IMAGE_GRYPH_LINE_BAD_4, &IMAGE_GRYPH_LINE_BAD_5};
        for (int i = 0; i < 5; ++i) {
            *lights[i] = Centred(12, kLightColour);
            *bad[i] = Centred(12, kBadColour);
        }
        ResetInput();
    }
    void TearDown() override {
        ResetInput();
        UseRealClock();
        gfxtest::DisplayTest::TearDown();
    }
    static void ResetInput() {
        MoveMouse(400, 300);
        PollEvents();
        ClearKeys();
        ClearMouse();
    }
    // One frame in which the mouse moved `dx` pixels, as relative mode reports it.
    static void Frame(const BatPtr& bat, int dx = 0) {
        if (dx != 0) InjectMouseMotion(dx, 0);
        PollEvents();
        bat->Update(1);
    }
    static void Hold(int key, bool down) {
        InjectKey(key, down);
        PollEvents();
    }
};

TEST_F(BatTest, StartsOnLineOneAtItsCatchPoint) {
    BatPtr bat = TBat::Create(&owner);
    const HighwayPoint p = HighwayGeometry::CatchPoint(1);
    EXPECT_EQ(bat->LineNum, 1);
    EXPECT_EQ(bat->pos, bat->ToPos);  // one shared position
    EXPECT_NEAR(bat->pos->x, p.x, 0.01);
    EXPECT_NEAR(bat->pos->y, p.y, 0.01);
    EXPECT_NEAR(bat->pos->x, 334.0, 0.1);
    EXPECT_NEAR(bat->pos->y, 499.3, 0.1);
    EXPECT_FLOAT_EQ(bat->mx, bat->pos->x);
    EXPECT_FLOAT_EQ(bat->time, HighwayGeometry::kCatchProgress);
    EXPECT_EQ(bat->Image, IMAGE_GRYPH_BAT_MAIN);
    EXPECT_EQ(bat->DrawMult, 0);
    // The catchers on the other lines stand where the items are caught.
    for (int line = 0; line < 5; ++line) {
        auto other = std::make_shared<TBat>();
        other->LineNum = line;
        other->UpdatePosition();
        EXPECT_NEAR(other->ToPos->x, HighwayGeometry::CatchPoint(line).x, 0.01) << line;
        EXPECT_GT(other->scale, 0) << line;
    }
}

TEST_F(BatTest, LinesLightAtTheirPlacesAndRestFaint) {
    BatPtr bat = TBat::Create();
    const float xs[5] = {178, 267, 363, 445, 522};
    const ImagePtr bad[5] = {IMAGE_GRYPH_LINE_BAD_1, IMAGE_GRYPH_LINE_BAD_2, IMAGE_GRYPH_LINE_BAD_3,
                             IMAGE_GRYPH_LINE_BAD_4, IMAGE_GRYPH_LINE_BAD_5};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const LineLightPtr& light = bat->LineLight[i];
        ASSERT_TRUE(light && light->pos);
        EXPECT_FLOAT_EQ(light->pos->x, xs[i]);
        EXPECT_FLOAT_EQ(light->pos->y, 514);
        EXPECT_EQ(light->ImageBad, bad[i]);
        EXPECT_FLOAT_EQ(light->alpha, 0.1f);
        EXPECT_FLOAT_EQ(light->BadAlpha, 0);
    }
    for (int line : {-1, 5}) {
        LineLightPtr none = TLineLight::Create(line);
        EXPECT_FALSE(none->Image || none->ImageBad || none->pos) << line;
        none->Draw();  // draws nothing, and must not fail
    }
}

TEST_F(BatTest, TargetFollowsTheAmplifiedMouseAndPicksTheLine) {
    const struct {
        int dx;
        float mx;  // start 334.0 plus 1.2 × dx, clamped at the outer lines
        int line;
    } cases[] = {
        {0, 0, 1},   {10, 12, 1},    {-10, -12, 1}, {32, 38.4f, 2}, {-37, -44.4f, 0},
        {100, 120, 3}, {160, 192, 4}, {150, 180, 3}, {-300, 257 - 334.0f, 0}, {300, 558 - 334.0f, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dx);
        ResetInput();
        BatPtr bat = TBat::Create(&owner);
        const float start = bat->pos->x;
        Frame(bat, c.dx);
        const float expected = std::abs(c.dx) >= 300 ? (c.dx > 0 ? 558.0f : 257.0f) : start + c.mx;
        EXPECT_NEAR(bat->mx, expected, 0.1);
        EXPECT_EQ(bat->LineNum, c.line);
        // The picture covers a third of the way per frame.
        EXPECT_NEAR(bat->pos->x, start + (bat->mx - start) / 3, 0.01);
        // Standing still keeps the target, and the pointer stays where the
        // movement took it: the catcher never moves it back.
        EXPECT_EQ(MouseX(), 400 + c.dx);
        const float mx = bat->mx;
        Frame(bat);
        EXPECT_FLOAT_EQ(bat->mx, mx);
    }
}

// Relative mode reports a hand's movement as many small events, several in a
// frame when the hand is fast: every one of them counts, and a sweep at any
// of these speeds passes through each line in turn, both ways.
TEST_F(BatTest, SmallMovementsAddUpAcrossEventsAndFrames) {
    const struct {
        int step;            // pixels per motion event
        int eventsPerFrame;  // a faster hand packs more events into a frame
    } hands[] = {{2, 1}, {5, 1}, {4, 3}, {6, 4}};
    for (const auto& h : hands) {
        SCOPED_TRACE(testing::Message() << h.step << " px × " << h.eventsPerFrame);
        ResetInput();
        BatPtr bat = TBat::Create(&owner);
        std::vector<int> lines;
        auto sweep = [&](int direction, int frames) {
            const float from = bat->mx;
            int moved = 0;
            for (int f = 0; f < frames; ++f) {
                for (int e = 0; e < h.eventsPerFrame; ++e) InjectMouseMotion(direction * h.step, 0);
                PollEvents();
                bat->Update(1);
                moved += direction * h.step * h.eventsPerFrame;
                if (lines.empty() || lines.back() != bat->LineNum) lines.push_back(bat->LineNum);
                // Nothing is lost on the way, until the outer lines stop the target.
                if (bat->mx > TBat::kMinX && bat->mx < TBat::kMaxX) {
                    ASSERT_NEAR(bat->mx, from + 1.2f * moved, 0.01) << f;
                }
            }
        };
        const int toRight = 300 / (h.step * h.eventsPerFrame) + 1;  // 360 units: past the right end
        sweep(+1, toRight);
        EXPECT_FLOAT_EQ(bat->mx, TBat::kMaxX);
        sweep(-1, toRight);
        EXPECT_FLOAT_EQ(bat->mx, TBat::kMinX);
        EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 3, 2, 1, 0}));
    }
}

TEST_F(BatTest, MovementOnTheOtherAxisAndBeforeAFrameIsNotTaken) {
    BatPtr bat = TBat::Create(&owner);
    const float start = bat->mx;
    InjectMouseMotion(0, 40);
    Frame(bat);
    EXPECT_FLOAT_EQ(bat->mx, start);
    // Movement pending when the mouse is taken over is dropped, not replayed.
    InjectMouseMotion(100, 0);
    PollEvents();
    SetMouseRelative(1);
    Frame(bat);
    SetMouseRelative(0);
    EXPECT_FLOAT_EQ(bat->mx, start);
}

TEST_F(BatTest, AHeldKeyWinsOverTheMouse) {
    const struct {
        int key, line, step;
    } cases[] = {
        {KEY_X, 0, 20}, {KEY_X, 0, -20}, {KEY_V, 2, 20}, {KEY_V, 2, -20}, {KEY_M, 4, 20}, {KEY_M, 4, -20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " " << c.step);
        ResetInput();
        BatPtr bat = TBat::Create(&owner);
        Hold(c.key, true);
        Frame(bat);
        for (int f = 0; f < 20; ++f) {
            Frame(bat, c.step);
            ASSERT_EQ(bat->LineNum, c.line) << f;
        }
        Hold(c.key, false);
        // Let go, the mouse steers again from the key's place.
        const float from = bat->mx;
        Frame(bat, c.step);
        EXPECT_NEAR(bat->mx, std::clamp(from + 1.2f * c.step, TBat::kMinX, TBat::kMaxX), 0.01);
    }
}

TEST_F(BatTest, LineBoundariesAndClamping) {
    const struct {
        float x, clamped;
        int line;
    } cases[] = {
        {100, 257, 0}, {257, 257, 0}, {291, 291, 0}, {291.5f, 291.5f, 1}, {372, 372, 1},
        {372.5f, 372.5f, 2}, {442, 442, 2}, {442.5f, 442.5f, 3}, {515, 515, 3},
        {515.5f, 515.5f, 4}, {558, 558, 4}, {900, 558, 4},
    };
    for (const auto& c : cases) {
        float x = c.x;
        EXPECT_EQ(TBat::LineForX(x), c.line) << c.x;
        EXPECT_FLOAT_EQ(x, c.clamped) << c.x;
    }
}

TEST_F(BatTest, HeldKeySetsTheTargetAndTheLineFollowsNextFrame) {
    const struct {
        int key;
        float mx;
        int line;
    } cases[] = {
        {KEY_X, 257, 0}, {KEY_C, 331.5f, 1}, {KEY_V, 407, 2}, {KEY_N, 478.5f, 3}, {KEY_M, 558, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        ResetInput();
        BatPtr bat = TBat::Create(&owner);
        Hold(c.key, true);
        Frame(bat);
        EXPECT_FLOAT_EQ(bat->mx, c.mx);
        EXPECT_EQ(bat->LineNum, 1);  // taken from the target before the key
        Frame(bat);
        EXPECT_EQ(bat->LineNum, c.line);
        // Held long enough, the picture settles on the key's place.
        for (int i = 0; i < 60; ++i) Frame(bat);
        EXPECT_NEAR(bat->pos->x, c.mx, 0.01);
        Hold(c.key, false);
    }
    // Several keys at once: the rightmost wins.
    ResetInput();
    BatPtr bat = TBat::Create(&owner);
    Hold(KEY_M, true);
    Hold(KEY_X, true);
    Frame(bat);
    EXPECT_FLOAT_EQ(bat->mx, 558);
}

TEST_F(BatTest, ArrivingOnALineLightsIt) {
    BatPtr bat = TBat::Create(&owner);
    Hold(KEY_N, true);
    Frame(bat);
    Frame(bat);  // arrives on line 3
    ASSERT_EQ(bat->LineNum, 3);
    const float a = bat->LineLight[3]->alpha;
    EXPECT_NEAR(a, 0.6f + (0.1f - 0.6f) / 30, 1e-5);  // lit, then one step of fading
    for (int i : {0, 1, 2, 4}) EXPECT_FLOAT_EQ(bat->LineLight[i]->alpha, 0.1f) << i;
    Frame(bat);  // staying on the line does not relight it
    EXPECT_LT(bat->LineLight[3]->alpha, a);
}

TEST_F(BatTest, LookFollowsTheComboMeter) {
    const struct {
        float meter;
        ImagePtr* image;
        int mult;
        std::vector<std::string> events;
    } cases[] = {
        {0, &IMAGE_GRYPH_BAT_MAIN, 0, {}},
        {29.9f, &IMAGE_GRYPH_BAT_MAIN, 0, {}},
        {30, &IMAGE_GRYPH_BAT_SILVER, 2, {"x2"}},
        {35, &IMAGE_GRYPH_BAT_SILVER, 2, {"x2"}},
        {40, &IMAGE_GRYPH_BAT_GOLD, 4, {"x2", "x4"}},
        {55, &IMAGE_GRYPH_BAT_GOLD, 4, {"x2", "x4"}},
    };
    BatPtr bat = TBat::Create(&owner);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.meter);
        owner.Razogrev = c.meter;
        for (int frame = 0; frame < 2; ++frame) {  // sent again on every frame
            owner.events.clear();
            Frame(bat);
            EXPECT_EQ(bat->Image, *c.image);
            EXPECT_EQ(bat->DrawMult, c.mult);
            EXPECT_EQ(owner.events, c.events);
        }
    }
    // The levels are the highway's own, not fixed numbers.
    owner.Razogrev = 12;
    owner.Razogrev3 = 10;
    owner.Razogrev4 = 12;
    Frame(bat);
    EXPECT_EQ(bat->DrawMult, 4);
}

TEST_F(BatTest, CatchSwellTurnsBackOncePeaked) {
    BatPtr bat = TBat::Create(&owner);
    FastScalePulse->dist = 1.1f;  // what a catch does
    FastScalePulse->curve = 2;
    int frames = 0;
    while (FastScalePulse->dist > 1 && frames < 100) {
        Frame(bat);
        ++frames;
    }
    ASSERT_LT(frames, 100);
    EXPECT_GT(frames, 1);
    EXPECT_NEAR(FastScalePulse->value, 1.1f, 0.002);
    EXPECT_FLOAT_EQ(FastScalePulse->curve, 10);
    for (int i = 0; i < 200; ++i) Frame(bat);
    EXPECT_NEAR(FastScalePulse->value, 1.0f, 0.002);
    // The badge pop falls back too.
    SlowScalePulse->value = 1.5f;
    Frame(bat);
    EXPECT_NEAR(SlowScalePulse->value, 1.5f - 0.5f / 10, 1e-5);
}

TEST_F(BatTest, MissFlashHoldsThenFades) {
    LineLightPtr light = TLineLight::Create(3);
    light->ImpulseBad();
    EXPECT_EQ(light->BadStart, 1000);
    float expected = 1;
    for (int frame = 1; frame <= 40; ++frame) {
        GameClock += 17;
        light->Update(1);
        if (GameClock - 1000 > 400) expected -= expected / 30;
        ASSERT_NEAR(light->BadAlpha, expected, 1e-5) << frame;
    }
    EXPECT_LT(expected, 0.6f);
    // A glow eases back to rest; a stalled frame lands on it, never beyond.
    light->Impulse(1);
    light->Update(15);
    EXPECT_NEAR(light->alpha, 1 - 0.9f * 0.5f, 1e-5);
    light->Update(90);
    EXPECT_FLOAT_EQ(light->alpha, light->alphaDef);
    light->Update(90);
    EXPECT_FLOAT_EQ(light->BadAlpha, 0);
}

TEST_F(BatTest, DrawsLookBadgeAndLights) {
    BatPtr bat = TBat::Create(&owner);
    bat->LineLight[3]->ImpulseBad();
    bat->LineLight[1]->Impulse(1);
    const struct {
        float meter;
        uint32_t body, badge;
    } cases[] = {
        {0, kMainColour, kMainColour},
        {30, kSilverColour, kX2Colour},
        {40, kGoldColour, kX4Colour},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.meter);
        owner.Razogrev = c.meter;
        Frame(bat);
        bat->LineLight[1]->Impulse(1);
        Cls();
        bat->Draw();
        PicturePtr frame = GrabFrame();
        const int x = static_cast<int>(bat->pos->x), y = static_cast<int>(bat->pos->y);
        EXPECT_TRUE(SameColour(frame->ReadPixel(x + 10, y), c.body));
        EXPECT_TRUE(SameColour(frame->ReadPixel(x, y), c.badge));
        // A fresh miss shows red at full strength over its line only.
        EXPECT_TRUE(SameColour(frame->ReadPixel(445, 514), kBadColour));
        EXPECT_TRUE(SameColour(frame->ReadPixel(267, 514), kLightColour));
        EXPECT_TRUE(SameColour(frame->ReadPixel(178, 514), Argb(255, 0, 25, 0), 4));
    }
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 1);
    EXPECT_FLOAT_EQ(GetAlpha(), 1);
}

}  // namespace
