#include <gtest/gtest.h>

#include <cstdint>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/TStream.h"

namespace {

StreamPtr Text(const std::string& s, const std::string& name = "test.xml") {
    return OpenMemory(std::vector<uint8_t>(s.begin(), s.end()), name);
}

EffectPtr Fx(const std::string& body) { return TEffect::Load(Text("<effect>" + body + "</effect>")); }

class FxTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseDrivenClock(1000);
        SeedRandom(7);
        SetEffectImageResolver([this](const std::string& id) -> EffectImageRef {
            asked.push_back(id);
            if (id == "pic") return {picture, nullptr};
            if (id == "strip") return {nullptr, strip};
            return {};
        });
        SetEffectResolver([this](const std::string& id) -> EffectPtr {
            auto it = effects.find(id);
            return it == effects.end() ? nullptr : it->second;
        });
    }
    void TearDown() override {
        SetEffectImageResolver(nullptr);
        SetEffectResolver(nullptr);
        UseRealClock();
    }
    // Advances the clock in `step` ms frames, updating with dt 1 each frame.
    void Run(TEmitter& e, int ms, int step = 1) {
        for (int t = 0; t < ms; t += step) {
            AdvanceClock(step);
            e.Update(1);
        }
    }
    ImagePtr picture = CreateImage(4, 4, 1);
    ImagePtr strip = CreateImage(4, 4, 6);
    std::vector<std::string> asked;
    std::map<std::string, EffectPtr> effects;
};

// ---------------------------------------------------------------- loader

TEST_F(FxTest, DefaultsOfTheLoader) {
    auto e = Fx(R"(<GenSpeed value="20"/><LifeTime min="500" max="1000"/>)");
    EXPECT_FLOAT_EQ(e->GenSpeed, 20);
    EXPECT_EQ(e->Lifetime[0], 500);
    EXPECT_EQ(e->Lifetime[1], 1000);
    EXPECT_EQ(e->Blend, 0);
    EXPECT_EQ(e->ScaleX, (FloatRange{1, 1}));
    EXPECT_EQ(e->ScaleY, (FloatRange{1, 1}));
    EXPECT_EQ(e->Scale, (std::array<float, 4>{1, 1, 1, 1}));
    ASSERT_TRUE(e->Color);
    EXPECT_EQ(e->Color->r0 + e->Color->g0 + e->Color->b0 + e->Color->r1 + e->Color->g1 + e->Color->b1, 0);
    EXPECT_FLOAT_EQ(e->Color->a0, 0);
    EXPECT_FLOAT_EQ(e->Color->a1, 0);
    EXPECT_FALSE(e->Image);
    EXPECT_TRUE(e->ImageId.empty());
    EXPECT_EQ(e->SaluteEmitter, "0");
    EXPECT_EQ(e->TimeOut, 0);
    EXPECT_FALSE(e->HasHeritage);
    // Without an Image element the loader asks for id "0".
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "0");
}

TEST_F(FxTest, NewEffectDefaultsDifferFromLoaderDefaults) {
    auto e = TEffect::New();
    EXPECT_FLOAT_EQ(e->GenSpeed, 10);
    EXPECT_EQ(e->Blend, 3);
    EXPECT_EQ(e->ScaleX, (FloatRange{0, 0}));
    EXPECT_EQ(e->TimeStart, ClockMs());
}

struct LoadCase {
    const char* xml;
    std::function<void(const TEffect&)> check;
};

TEST_F(FxTest, PropertiesAreReadFromTheirElements) {
    const std::vector<LoadCase> cases = {
        {R"(<Scale start="0.5" end="2"/>)",
         [](const TEffect& e) { EXPECT_EQ(e.Scale, (std::array<float, 4>{0.5f, 2, 0.5f, 2})); }},
        {R"(<Scale start="0.5" end="2" start2="1" end2="3"/>)",
         [](const TEffect& e) { EXPECT_EQ(e.Scale, (std::array<float, 4>{0.5f, 2, 1, 3})); }},
        {R"(<LifeTime min="999.9" max="1500.7"/>)",
         [](const TEffect& e) { EXPECT_EQ(e.Lifetime, (std::array<int, 2>{999, 1500})); }},
        {R"(<genspeed VALUE="33"/>)", [](const TEffect& e) { EXPECT_FLOAT_EQ(e.GenSpeed, 33); }},
        {R"(<TIMEOUT value="250.8"/><timedelay Value="40.2"/>)",
         [](const TEffect& e) { EXPECT_EQ(e.TimeOut, 250); EXPECT_EQ(e.TimeDelay, 40); }},
        {R"(<Image blend="4" value="pic"/>)",
         [](const TEffect& e) { EXPECT_EQ(e.Blend, 4); EXPECT_TRUE(e.Image); EXPECT_TRUE(e.ImageId.empty()); }},
        {R"(<Image value="strip"/>)",
         [](const TEffect& e) { EXPECT_FALSE(e.Image); EXPECT_EQ(e.ImageId, "strip"); EXPECT_TRUE(e.AnimStrip); }},
        {R"(<Image value="nothing"/>)",
         [](const TEffect& e) { EXPECT_FALSE(e.Image); EXPECT_TRUE(e.ImageId.empty()); }},
        {R"(<Shadow enabled="1" min="2" max="5"/>)",
         [](const TEffect& e) { EXPECT_EQ(e.ShadowEnabled, 1); EXPECT_EQ(e.Shadow, (FloatRange{2, 5})); }},
        {R"(<ZigZag enabled="1" radius_dt="0.5" radius_min="10" speed="3"/>)",
         [](const TEffect& e) {
             EXPECT_EQ(e.ZigZag, 1); EXPECT_FLOAT_EQ(e.ZigZag_Radius_dt, 0.5f);
             EXPECT_FLOAT_EQ(e.ZigZag_Radius_min, 10); EXPECT_FLOAT_EQ(e.ZigZag_speed, 3);
         }},
        {R"(<PosX min="-3" max="4"/><Dir min="10" max="20"/><Speed min="1" max="2"/><Rotation min="-5" max="5"/>)",
         [](const TEffect& e) {
             EXPECT_EQ(e.PosX, (FloatRange{-3, 4})); EXPECT_EQ(e.Dir, (FloatRange{10, 20}));
             EXPECT_EQ(e.Speed, (FloatRange{1, 2})); EXPECT_EQ(e.Rotation, (FloatRange{-5, 5}));
         }},
        {R"(<Red start="255" End="10"/><Green start="128"/><Blue End="64"/><Alpha start="1" end="0.25"/>)",
         [](const TEffect& e) {
             ASSERT_TRUE(e.Color);
             EXPECT_EQ(e.Color->r0, 255); EXPECT_EQ(e.Color->r1, 10);
             EXPECT_EQ(e.Color->g0, 128); EXPECT_EQ(e.Color->g1, 0);
             EXPECT_EQ(e.Color->b0, 0); EXPECT_EQ(e.Color->b1, 64);
             EXPECT_FLOAT_EQ(e.Color->a0, 1); EXPECT_FLOAT_EQ(e.Color->a1, 0.25f);
             EXPECT_EQ(e.alpha, (FloatRange{1, 0.25f}));
         }},
        {R"(<Heritage><c name="colorRed"/><c name=""/><c name="colorblue"/></Heritage>)",
         [](const TEffect& e) {
             EXPECT_TRUE(e.HasHeritage);
             EXPECT_EQ(e.Heritage, (std::vector<std::string>{"colorRed", "colorblue"}));
             EXPECT_TRUE(e.InheritRed); EXPECT_FALSE(e.InheritGreen); EXPECT_TRUE(e.InheritBlue);
         }},
        {R"(<Child name="spark"/><Trajectory id="1"/><Glowing enabled="1"/><Salute enabled="1" emitter="x"/>)",
         [](const TEffect& e) {
             EXPECT_EQ(e.ChildName, "spark"); EXPECT_EQ(e.Trajectory, 1); EXPECT_EQ(e.Glowing, 1);
             EXPECT_EQ(e.Salute, 1); EXPECT_EQ(e.SaluteEmitter, "x");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        auto e = Fx(c.xml);
        ASSERT_TRUE(e);
        c.check(*e);
    }
}

TEST_F(FxTest, BrokenOrMissingFilesGiveLoaderDefaults) {
    static const char kEmbeddedNul[] = "<e>\0\0<Scale start=\"2\"";
    const std::vector<std::string> inputs = {"", "<<<>>>", "<effect><GenSpeed value=", "no xml at all",
                                             "<effect><GenSpeed value=\"abc\"/></effect>",
                                             std::string(kEmbeddedNul, sizeof kEmbeddedNul - 1)};
    for (const auto& in : inputs) {
        auto e = TEffect::Load(Text(in, "broken.xml"));
        ASSERT_TRUE(e);
        EXPECT_EQ(e->TimeOut, 0);
        EXPECT_TRUE(e->Color);
        auto em = TEmitter::Create(0, 0, e);
        Run(*em, 500, 50);  // must not hang whatever GenSpeed came out
    }
    auto none = TEffect::Load(nullptr);
    ASSERT_TRUE(none);
    EXPECT_FLOAT_EQ(none->GenSpeed, 0);
    EXPECT_EQ(none->Scale[0], 1);
}

// Times beyond an int (or no number at all) in a damaged file: the whole
// milliseconds stop at the ends of an int instead of wrapping to the other sign.
TEST_F(FxTest, TimesBeyondAnIntStopAtItsEnds) {
    struct Case {
        const char* value;
        int ms;
    } cases[] = {
        {"1e39", INT32_MAX}, {"-1e39", INT32_MIN}, {"3e9", INT32_MAX}, {"-3e9", INT32_MIN}, {"1500.7", 1500},
    };
    for (const Case& c : cases) {
        const std::string v = std::string("\"") + c.value + "\"";
        auto e = Fx("<LifeTime min=" + v + " max=" + v + "/><TimeOut value=" + v + "/><TimeDelay value=" + v + "/>");
        ASSERT_TRUE(e) << c.value;
        EXPECT_EQ(e->Lifetime[0], c.ms) << c.value;
        EXPECT_EQ(e->Lifetime[1], c.ms) << c.value;
        EXPECT_EQ(e->TimeOut, c.ms) << c.value;
        EXPECT_EQ(e->TimeDelay, c.ms) << c.value;
    }
}

// ---------------------------------------------------------------- timing

TEST_F(FxTest, TimeOutOf500AtTenPerSecondGivesFourParticles) {
    auto fx = Fx(R"(<GenSpeed value="10"/><TimeOut value="500"/><LifeTime min="300" max="300"/>)");
    auto e = TEmitter::Create(5, 5, fx);
    int spawned = 0;
    size_t last = 0;
    for (int i = 0; i < 700 && !e->GenerationStop; ++i) {
        AdvanceClock(1);
        e->Update(1);
        if (e->ParticleCount() > last) spawned += static_cast<int>(e->ParticleCount() - last);
        last = e->ParticleCount();
    }
    EXPECT_EQ(spawned, 4);
    EXPECT_EQ(e->GenerationStop, 1);
    EXPECT_EQ(e->Death, 0);  // the last particle is still alive
    Run(*e, 400, 10);
    EXPECT_EQ(e->ParticleCount(), 0u);
    EXPECT_EQ(e->Death, 1);
}

TEST_F(FxTest, FirstParticleComesStrictlyAfterOneInterval) {
    struct Case { const char* speed; int interval; };
    for (Case c : {Case{"10", 100}, Case{"3", 333}, Case{"1000", 1}}) {
        SCOPED_TRACE(c.speed);
        auto fx = Fx(std::string("<GenSpeed value=\"") + c.speed + "\"/><LifeTime min=\"100000\" max=\"100000\"/>");
        auto e = TEmitter::Create(0, 0, fx);
        AdvanceClock(1);
        e->Update(1);  // starts the generation clock
        AdvanceClock(c.interval);
        e->Update(1);
        EXPECT_EQ(e->ParticleCount(), 0u);
        AdvanceClock(1);
        e->Update(1);
        EXPECT_EQ(e->ParticleCount(), 1u);
        AdvanceClock(c.interval * 10);
        e->Update(1);
        EXPECT_EQ(e->ParticleCount(), 11u);
    }
}

TEST_F(FxTest, NoOrOutOfRangeGenSpeedMakesNothing) {
    for (const char* body : {"", R"(<GenSpeed value="0"/>)", R"(<GenSpeed value="-5"/>)",
                             R"(<GenSpeed value="5000"/>)"}) {
        SCOPED_TRACE(body);
        auto e = TEmitter::Create(0, 0, Fx(std::string(body) + R"(<LifeTime min="10" max="10"/>)"));
        Run(*e, 2000, 20);
        EXPECT_EQ(e->ParticleCount(), 0u);
        EXPECT_EQ(e->Death, 0);
        e->GenerationStop = 1;
        e->Update(1);
        EXPECT_EQ(e->Death, 1);
    }
}

TEST_F(FxTest, TimeDelayHoldsGenerationBack) {
    auto e = TEmitter::Create(0, 0, Fx(R"(<GenSpeed value="100"/><TimeDelay value="1000"/><LifeTime min="1e6" max="1e6"/>)"));
    Run(*e, 1000, 10);
    EXPECT_EQ(e->ParticleCount(), 0u);
    Run(*e, 200, 10);
    EXPECT_GT(e->ParticleCount(), 0u);
}

TEST_F(FxTest, LateUpdateBurstsUnlessClockRestartedOrPaused) {
    auto fx = Fx(R"(<GenSpeed value="10"/><LifeTime min="1e6" max="1e6"/>)");
    auto late = TEmitter::Create(0, 0, fx);
    auto resumed = TEmitter::Create(0, 0, fx);
    auto paused = TEmitter::Create(0, 0, fx);
    AdvanceClock(1);
    for (auto* e : {late.get(), resumed.get(), paused.get()}) e->Update(1);
    paused->Pause = 1;
    AdvanceClock(5000);
    paused->Update(1);  // paused: generation clock is dropped
    EXPECT_EQ(paused->OldTime, 0);
    paused->Pause = 0;
    resumed->OldTime = ClockMs();
    for (auto* e : {late.get(), resumed.get(), paused.get()}) e->Update(1);
    EXPECT_EQ(late->ParticleCount(), 49u);  // 5000 ms at 100 ms, strictly after each
    EXPECT_EQ(resumed->ParticleCount(), 0u);
    EXPECT_EQ(paused->ParticleCount(), 0u);
    // The burst spawns all at the current position.
    for (size_t i = 0; i < late->ParticleCount(); ++i) EXPECT_FLOAT_EQ(late->ParticleAt(i).x, 0);
}

// ---------------------------------------------------------------- particles

TEST_F(FxTest, ScaleAndSpinFollowTheirFormulas) {
    TParticle p;
    p.StartScale = 1;
    p.EndScale = 3;
    p.Lifetime = 1000;
    AdvanceClock(500);
    p.angle = 355;
    p.angleSpeed = 10;
    p.Update(1);
    EXPECT_NEAR(p.Scale, 1 + 2 * 500.0f / 1500.0f, 1e-5);
    EXPECT_FLOAT_EQ(p.angle, 5);
    AdvanceClock(500);
    p.Update(0);
    EXPECT_FLOAT_EQ(p.Scale, 2);
}

TEST_F(FxTest, MotionGravityAndSinusoid) {
    TParticle p;
    p.SpeedX = 2;
    p.GravitationY = 0.5f;
    p.Dir = 90;  // along +x
    p.Speed = 1;
    p.Update(2);
    EXPECT_NEAR(p.x, 2 * 2 + 1 * 2, 1e-4);
    EXPECT_NEAR(p.y, 0, 1e-4);
    EXPECT_FLOAT_EQ(p.SpeedY, 1);
    p.Update(1);
    EXPECT_NEAR(p.y, 1, 1e-4);

    TParticle s;
    s.Trajectory = TEmitter::SINUSOID;
    s.Dir = 0;  // travelling down: swings along x
    s.TrajectoryAngle = 90;
    s.Update(2);
    EXPECT_NEAR(s._x, -30, 1e-3);
    EXPECT_NEAR(s._y, 0, 1e-3);
    EXPECT_EQ(s.TrajectoryAngle, 100);
    s.TrajectoryAngle = 359;
    s.Update(1);
    EXPECT_EQ(s.TrajectoryAngle, 0);
}

TEST_F(FxTest, CirclingMovesTheSpawnPoint) {
    auto fx = Fx(R"(<ZigZag enabled="1" radius_min="10" radius_dt="1" speed="90"/>)");
    auto e = TEmitter::Create(100, 100, fx);
    EXPECT_FLOAT_EQ(e->zigzag_radius, 10);
    e->Update(1);
    EXPECT_NEAR(e->x, 100, 1e-4);
    EXPECT_NEAR(e->y, 110, 1e-4);
    e->Update(1);  // t = 90, radius 11
    EXPECT_NEAR(e->x, 111, 1e-4);
    EXPECT_NEAR(e->y, 100, 1e-4);
}

TEST_F(FxTest, SpawnUsesEmitterMultipliersAndSharedColour) {
    auto fx = Fx(R"(<GenSpeed value="100"/><LifeTime min="1e6" max="1e6"/><ScaleX min="2" max="2"/>
                    <Alpha start="1" end="0.5"/><PosX min="3" max="3"/>)");
    auto e = TEmitter::Create(10, 20, fx);
    e->ScaleMult = 0.5f;
    e->AlphaMult = 0.5f;
    e->_x = 7;
    Run(*e, 12, 1);
    ASSERT_EQ(e->ParticleCount(), 1u);
    const TParticle& p = e->ParticleAt(0);
    EXPECT_FLOAT_EQ(p.ScaleX, 1);
    EXPECT_FLOAT_EQ(p.ScaleY, 1);
    EXPECT_FLOAT_EQ(p.Color.a0, 0.5f);
    EXPECT_FLOAT_EQ(p.Color.a1, 0.25f);
    EXPECT_FLOAT_EQ(fx->Color->a0, 1);  // the recipe is untouched
    EXPECT_FLOAT_EQ(p.x, 10 + 3 + 7);
    // Recolouring the effect affects later spawns only.
    fx->Color = MakeColorAlpha(9, 9, 9, 1);
    Run(*e, 10, 1);
    ASSERT_EQ(e->ParticleCount(), 2u);
    EXPECT_EQ(e->ParticleAt(0).Color.r0, 0);
    EXPECT_EQ(e->ParticleAt(1).Color.r0, 9);
}

TEST_F(FxTest, AnimatedParticlesRunTheirOwnFrames) {
    auto fx = Fx(R"(<GenSpeed value="100"/><LifeTime min="1e6" max="1e6"/><Image value="strip"/>
                    <AnimDir rand="1"/><AnimSpeed min="10" max="10"/><Frame min="0" max="5"/>)");
    auto e = TEmitter::Create(0, 0, fx);
    Run(*e, 300, 1);
    ASSERT_GT(e->ParticleCount(), 10u);
    bool sawBackward = false;
    for (size_t i = 0; i < e->ParticleCount(); ++i) {
        TParticle& p = e->ParticleAt(i);
        EXPECT_TRUE(p.Animated);
        EXPECT_EQ(p.Image, strip);
        EXPECT_GE(p.Frame, 0);
        EXPECT_LT(p.Frame, 6);
        if (p.AnimDir) {
            sawBackward = true;
            for (int k = 0; k < 10; ++k) { AdvanceClock(10); p.Draw(); }
            EXPECT_EQ(p.Frame, 0);  // counts down and stays
        }
    }
    EXPECT_TRUE(sawBackward);
}

// ---------------------------------------------------------------- trails

TEST_F(FxTest, TrailsMoveWithTheirParticleAndOutliveIt) {
    effects["trail"] = Fx(R"(<GenSpeed value="100"/><LifeTime min="50" max="50"/>)");
    auto fx = Fx(R"(<GenSpeed value="10"/><TimeOut value="150"/><LifeTime min="200" max="200"/>
                    <SpeedX min="2" max="2"/><Child name="trail"/>)");
    auto e = TEmitter::Create(0, 0, fx);
    Run(*e, 102, 1);
    ASSERT_EQ(e->ParticleCount(), 1u);
    TParticle& p = e->ParticleAt(0);
    ASSERT_TRUE(p.Child);
    EXPECT_EQ(p.Child->Parent, fx);
    const float startX = p.Child->x;
    Run(*e, 10, 1);
    EXPECT_NEAR(p.Child->x - startX, 20, 1e-3);
    EXPECT_NEAR(p.Child->x, p.x, 1e-3);
    // Past its lifetime the particle hides while its trail fades out.
    Run(*e, 200, 1);
    ASSERT_EQ(e->ParticleCount(), 1u);
    EXPECT_EQ(e->ParticleAt(0).Hidden, 1);
    ASSERT_TRUE(e->ParticleAt(0).Child);
    EXPECT_EQ(e->ParticleAt(0).Child->GenerationStop, 1);
    EXPECT_EQ(e->Death, 0);
    Run(*e, 100, 1);
    EXPECT_EQ(e->ParticleCount(), 0u);
    EXPECT_EQ(e->Death, 1);
}

TEST_F(FxTest, UnknownTrailEffectMakesNothing) {
    auto e = TEmitter::Create(0, 0, Fx(R"(<GenSpeed value="10"/><LifeTime min="50" max="50"/><Child name="nope"/>)"));
    Run(*e, 102, 1);
    ASSERT_EQ(e->ParticleCount(), 1u);
    e->GenerationStop = 1;
    e->Update(1);
    EXPECT_EQ(e->ParticleAt(0).Child, nullptr);  // the recipe-less trail ended at once
    Run(*e, 100, 1);
    EXPECT_EQ(e->ParticleCount(), 0u);
    EXPECT_EQ(e->Death, 1);
}

TEST_F(FxTest, HeritageTakesChosenChannelsFromTheParentEffect) {
    effects["trail"] = Fx(R"(<GenSpeed value="100"/><LifeTime min="1e6" max="1e6"/>
        <Red start="1" End="2"/><Green start="3" End="4"/><Blue start="5" End="6"/><Alpha start="1"/>
        <Heritage><a name="COLORRED"/><a name="colorBlue"/><a name="sparkle"/></Heritage>)");
    auto fx = Fx(R"(<GenSpeed value="10"/><LifeTime min="1e6" max="1e6"/><Child name="trail"/>)");
    fx->Color = MakeColorAlpha(100, 110, 120, 1);
    fx->Color->EndColor(200, 210, 220, 0);
    auto e = TEmitter::Create(0, 0, fx);
    Run(*e, 120, 1);
    ASSERT_EQ(e->ParticleCount(), 1u);
    TEmitter* trail = e->ParticleAt(0).Child;
    ASSERT_TRUE(trail);
    ASSERT_GT(trail->ParticleCount(), 0u);
    const TColor& c = trail->ParticleAt(0).Color;
    EXPECT_EQ(c.r0, 100); EXPECT_EQ(c.r1, 200);
    EXPECT_EQ(c.g0, 3);   EXPECT_EQ(c.g1, 4);
    EXPECT_EQ(c.b0, 120); EXPECT_EQ(c.b1, 220);
    // Without a parent the same names do nothing.
    auto alone = TEmitter::Create(0, 0, effects["trail"]);
    Run(*alone, 20, 1);
    ASSERT_GT(alone->ParticleCount(), 0u);
    EXPECT_EQ(alone->ParticleAt(0).Color.r0, 1);
    EXPECT_EQ(alone->ParticleAt(0).Color.b0, 5);
}

TEST_F(FxTest, PoolStopsGrowingInSteadyState) {
    effects["trail"] = Fx(R"(<GenSpeed value="50"/><LifeTime min="40" max="60"/>)");
    auto e = TEmitter::Create(0, 0, Fx(R"(<GenSpeed value="200"/><LifeTime min="100" max="300"/><Child name="trail"/>)"));
    Run(*e, 1000, 5);
    const size_t pool = e->PoolSize();
    Run(*e, 3000, 5);
    EXPECT_LE(e->PoolSize(), pool + 5);
    EXPECT_GT(e->ParticleCount(), 20u);
}

}  // namespace
