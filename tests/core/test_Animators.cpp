#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/GameClock.h"
#include "core/TCurveValue.h"
#include "core/TImpulse.h"
#include "core/TLinearValue.h"
#include "core/TScreenShake.h"
#include "core/TVisuals.h"
#include "media/Clock.h"

namespace {

TEST(CurveValueTest, ClosesAFractionOfTheGapPerStep) {
    auto v = TCurveValue::Create(0, 1, 10);
    v->Update(1);
    EXPECT_NEAR(v->value, 0.1f, 1e-6);
    v->Update(1);
    EXPECT_NEAR(v->value, 0.19f, 1e-6);
    EXPECT_EQ(v->ValueAchieved(), 0);
    int steps = 2;
    while (!v->ValueAchieved() && steps < 1000) {
        v->Update(1);
        ++steps;
    }
    EXPECT_LT(std::fabs(v->dist - v->value), 0.001f);
    // 0.9^n < 0.001 first holds at n = 66.
    EXPECT_EQ(steps, 66);
}

TEST(CurveValueTest, DtScalesTheStepAndCanOvershoot) {
    auto v = TCurveValue::Create(0, 10, 1);
    v->Update(1);
    EXPECT_FLOAT_EQ(v->value, 10);
    EXPECT_EQ(v->ValueAchieved(), 1);
    auto w = TCurveValue::Create(0, 10, 4);
    w->Update(6);  // 6/4 of the gap
    EXPECT_FLOAT_EQ(w->value, 15);
    w->dist = 0;
    w->Update(2);
    EXPECT_FLOAT_EQ(w->value, 7.5f);
}

class LinearValueTest : public ::testing::Test {
protected:
    void TearDown() override { GameClock = 0; }
};

TEST_F(LinearValueTest, RunsOnGameClockFromTheFirstUpdate) {
    struct Case {
        float clock, value;
        int achieved;
    } steps[] = {
        {5000, 0, 0}, {5500, 50, 0}, {5750, 75, 0}, {6000, 100, 0}, {6001, 100, 1},
    };
    auto v = TLinearValue::Create(0, 100, 1000);
    for (const auto& s : steps) {
        GameClock = s.clock;
        v->Update();
        EXPECT_FLOAT_EQ(v->value, s.value) << s.clock;
        EXPECT_EQ(v->ValueAchieved(), s.achieved) << s.clock;
    }
    EXPECT_EQ(v->StartTime, 5000);
}

TEST_F(LinearValueTest, StartTimeIsTruncatedAndCountsDownToo) {
    GameClock = 100.75f;
    auto v = TLinearValue::Create(10, 0, 200);
    v->Update();
    EXPECT_EQ(v->StartTime, 100);
    EXPECT_FLOAT_EQ(v->value, 10 - 10 * 0.75f / 200);
    GameClock = 200;
    v->Update();
    EXPECT_FLOAT_EQ(v->value, 5);
}

TEST_F(LinearValueTest, AchievedBeforeStartOnceTheClockPassesTheDuration) {
    auto v = TLinearValue::Create(0, 100, 1000);
    GameClock = 999;
    EXPECT_EQ(v->ValueAchieved(), 0);
    EXPECT_FLOAT_EQ(v->value, 0);
    GameClock = 1001;
    EXPECT_EQ(v->ValueAchieved(), 1);
    EXPECT_FLOAT_EQ(v->value, 100);
}

// A visual that records what happens to it.
class Probe : public TVisuals {
    TOTEM_CLASS(Probe)
    Probe(std::string n, std::vector<std::string>& log) : name(std::move(n)), log(log) {}
    void Update(float) override {
        log.push_back("u" + name);
        if (--lifetime == 0) Death = 1;
        if (onUpdate) onUpdate();
    }
    void Draw() override { log.push_back("d" + name); }
    std::string name;
    std::vector<std::string>& log;
    int lifetime = -1;
    std::function<void()> onUpdate;
};

class VisualsTest : public ::testing::Test {
protected:
    void SetUp() override { Visuals.clear(); }
    void TearDown() override {
        Visuals.clear();
        ShakeOffsetX = ShakeOffsetY = 0;
    }
    std::shared_ptr<Probe> Make(const std::string& n) {
        auto p = std::make_shared<Probe>(n, log);
        Visuals.push_back(p);
        return p;
    }
    std::vector<std::string> log;
};

TEST_F(VisualsTest, UpdateDropsTheDeadAfterUpdatingThem) {
    auto a = Make("a");
    auto b = Make("b");
    auto c = Make("c");
    b->lifetime = 1;
    TVisuals::UpdateVisuals(1);
    EXPECT_EQ(log, (std::vector<std::string>{"ua", "ub", "uc"}));
    EXPECT_EQ(Visuals.size(), 2u);
    log.clear();
    TVisuals::UpdateVisuals(1);
    EXPECT_EQ(log, (std::vector<std::string>{"ua", "uc"}));
}

TEST_F(VisualsTest, RemovingOthersDuringUpdateIsSafe) {
    auto a = Make("a");
    auto b = Make("b");
    auto c = Make("c");
    a->onUpdate = [] { TVisuals::ClearVisuals(); };
    c->Constant = 1;
    TVisuals::UpdateVisuals(1);
    // b left the registry before its turn; c is constant and stays.
    EXPECT_EQ(log, (std::vector<std::string>{"ua", "uc"}));
    ASSERT_EQ(Visuals.size(), 1u);
    EXPECT_EQ(Visuals.front(), c);
}

TEST_F(VisualsTest, DrawLayersPickTheirObjects) {
    auto plain = Make("p");
    auto under = Make("u");
    under->Under = 1;
    auto over = Make("o");
    over->Over = 1;
    auto both = Make("b");
    both->Under = both->Over = 1;
    auto hidden = Make("h");
    hidden->Drawable = 0;
    TVisuals::DrawVisuals();
    EXPECT_EQ(log, (std::vector<std::string>{"dp"}));
    log.clear();
    TVisuals::DrawVisuals_Under();
    EXPECT_EQ(log, (std::vector<std::string>{"du"}));
    log.clear();
    TVisuals::DrawVisuals_Over();
    EXPECT_EQ(log, (std::vector<std::string>{"do"}));
}

TEST_F(VisualsTest, ClearKeepsConstantOnes) {
    auto a = Make("a");
    auto b = Make("b");
    b->Constant = 1;
    auto c = Make("c");
    TVisuals::ClearVisuals();
    ASSERT_EQ(Visuals.size(), 1u);
    EXPECT_EQ(Visuals.front(), b);
}

TEST_F(VisualsTest, ImpulseFollowsItsDampedSwingAndDiesOnThe21stUpdate) {
    auto impulse = TImpulse::CreateImpulse(18, 0.6f, 0.15f);
    ASSERT_EQ(Visuals.size(), 1u);
    std::vector<float> values;
    for (int i = 0; i < 30 && !Visuals.empty(); ++i) {
        TVisuals::UpdateVisuals(1);
        values.push_back(impulse->impulse_strength);
    }
    ASSERT_EQ(values.size(), 21u);
    EXPECT_TRUE(Visuals.empty());
    EXPECT_FLOAT_EQ(values[0], 18);
    EXPECT_NEAR(values[6], -9.98f, 0.01);   // phase 0.9
    EXPECT_NEAR(values[13], 5.52f, 0.01);   // phase 1.95, next to the crest near 2
    EXPECT_NEAR(values[20], -2.975f, 0.01); // phase 3.0
    EXPECT_EQ(impulse->Death, 1);
}

TEST_F(VisualsTest, ScreenShakeMovesTheOffsetsAndResetsThemWhenDone) {
    SeedRandom(7);
    auto shake = TScreenShake::CreateScreenShake(8, 0.5f);
    EXPECT_EQ(shake->Ammount, 8);
    EXPECT_TRUE(shake->x == 1 || shake->x == -1);
    EXPECT_TRUE(shake->y == 1 || shake->y == -1);
    TVisuals::UpdateVisuals(1);
    // Phase 0: full amplitude in the chosen direction.
    EXPECT_FLOAT_EQ(ShakeOffsetX, 8.0f * shake->x);
    EXPECT_FLOAT_EQ(ShakeOffsetY, 8.0f * shake->y);
    TVisuals::UpdateVisuals(1);
    // Phase 0.15: cos(27°) × e^−0.075 × 8 = 6.61 → 6.
    EXPECT_FLOAT_EQ(ShakeOffsetX, 6.0f * shake->x);
    int updates = 2;
    while (!Visuals.empty() && updates < 100) {
        TVisuals::UpdateVisuals(1);
        ++updates;
    }
    EXPECT_EQ(updates, 21);
    EXPECT_EQ(ShakeOffsetX, 0);
    EXPECT_EQ(ShakeOffsetY, 0);
}

TEST_F(VisualsTest, ScreenShakeDirectionsFollowTheRandomDraws) {
    int seen[2][2] = {};
    for (uint32_t seed = 1; seed <= 64; ++seed) {
        SeedRandom(seed);
        const int first = RandomInt(0, 1), second = RandomInt(0, 1);
        SeedRandom(seed);
        TScreenShake s;
        s.Init(5, 1);
        EXPECT_EQ(s.x, first == 1 ? -1 : 1);
        EXPECT_EQ(s.y, second == 1 ? -1 : 1);
        seen[first][second]++;
    }
    // All four diagonals occur.
    for (auto& row : seen)
        for (int n : row) EXPECT_GT(n, 0);
}

}  // namespace
