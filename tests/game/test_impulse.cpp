#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "../media/AudioFixtures.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "core/TLine.h"
#include "game/TImpulseEffect.h"
#include "game/TImpulseEffectController.h"
#include "game/GameGlobals.h"
#include "game/TBat.h"
#include "game/TGryph.h"
#include "media/Audio.h"
#include "media/Clock.h"

namespace {

// The rule the fan follows: 350 ms plus 50 ms per line boundary away from the
// middle of the catcher's line.
float ExpectedLineTime(int boundary, int batLine) { return 350.0f + std::fabs(boundary - (batLine + 0.5f)) * 50.0f; }

SoundPtr ConstantSound(int level) {
    return LoadSound(OpenMemory(audio_fixtures::MakeWav(1, 44100, 16, std::vector<int>(4410, level))));
}

class ImpulseTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseDrivenClock(1000);
        UseSilentMixer();
        GameClock = 1000;
        SoundVolume = 1;
        // Six distinct slanted paths, so a wrong line index shows.
        for (int i = 0; i < 6; ++i)
            ImpulseLines[i] = TLine::Create(MakeVector(200.0f + 80 * i, 560.0f + 3 * i), MakeVector(330.0f + 30 * i, 241));
        Bat = TBat::Create();
        EFFECT_IMPULSE_STAR = TEffect::New();
        EFFECT_IMPULSE_LONGNOTE = TEffect::New();
        EFFECT_IMPULSE_MELODY = TEffect::New();
        SOUND_GRYPH_CLICK = ConstantSound(1000);
        SOUND_GRYPH_LONG = ConstantSound(2000);
        SOUND_GRYPH_MELODY = ConstantSound(4000);
        TImpulseEffectController::Reset();
    }
    void TearDown() override {
        TImpulseEffectController::Reset();
        CloseAudio();
        Bat = nullptr;
        SOUND_GRYPH_CLICK = SOUND_GRYPH_LONG = SOUND_GRYPH_MELODY = nullptr;
        EFFECT_IMPULSE_STAR = EFFECT_IMPULSE_LONGNOTE = EFFECT_IMPULSE_MELODY = nullptr;
        UseRealClock();
    }
    static void EndOf(int i, float& x, float& y) { ImpulseLines[i]->GetPoint(1, x, y); }
};

TEST_F(ImpulseTest, LinesNearTheCatcherAreTravelledFaster) {
    const struct {
        int batLine;
        std::vector<float> worked;  // worked examples
    } cases[] = {
        {0, {375, 375, 425, 475, 525, 575}},
        {2, {475, 425, 375, 375, 425, 475}},
        {4, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.batLine);
        Bat->LineNum = c.batLine;
        ImpulseEffectPtr impulse = TImpulseEffect::Create(TEffect::New());
        EXPECT_EQ(impulse->StartTime, 1000);
        for (int i = 0; i < 6; ++i) {
            EXPECT_FLOAT_EQ(impulse->LineTime[i], ExpectedLineTime(i, c.batLine));
            if (!c.worked.empty()) {
                EXPECT_FLOAT_EQ(impulse->LineTime[i], c.worked[size_t(i)]);
            }
            // Every emitter starts at the player's end of its own line.
            float x, y;
            ImpulseLines[i]->GetPoint(0, x, y);
            EXPECT_FLOAT_EQ(impulse->Emitter[i]->x, x);
            EXPECT_FLOAT_EQ(impulse->Emitter[i]->y, y);
        }
    }
}

TEST_F(ImpulseTest, HalfWayAnEmitterIsAtItsMidpointSmallerAndFainter) {
    Bat->LineNum = 2;
    GameClock = 1000.5f;  // the start is truncated
    ImpulseEffectPtr impulse = TImpulseEffect::Create(TEffect::New());
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        GameClock = impulse->StartTime + impulse->LineTime[i] * 0.5f;
        impulse->Update(1);
        float x, y;
        ImpulseLines[i]->GetPoint(0.5f, x, y);
        EXPECT_NEAR(impulse->Emitter[i]->x, x, 1e-3);
        EXPECT_NEAR(impulse->Emitter[i]->y, y, 1e-3);
        EXPECT_FLOAT_EQ(impulse->Emitter[i]->ScaleMult, 1.25f);
        EXPECT_FLOAT_EQ(impulse->Emitter[i]->AlphaMult, 0.5f);
    }
}

TEST_F(ImpulseTest, AnEmitterStopsOnTheFirstUpdatePastItsLineEnd) {
    Bat->LineNum = 0;
    ImpulseEffectPtr impulse = TImpulseEffect::Create(TEffect::New());
    // At exactly 375 ms the fastest emitter sits at the far end, still running.
    GameClock = 1375;
    impulse->Update(1);
    float x, y;
    EndOf(0, x, y);
    EXPECT_EQ(impulse->Emitter[0]->Death, 0);
    EXPECT_NEAR(impulse->Emitter[0]->x, x, 1e-3);
    EXPECT_NEAR(impulse->Emitter[0]->y, y, 1e-3);
    EXPECT_NEAR(impulse->Emitter[0]->AlphaMult, 0, 1e-6);
    EXPECT_NEAR(impulse->Emitter[0]->ScaleMult, 1, 1e-6);
    GameClock = 1376;
    impulse->Update(1);
    EXPECT_EQ(impulse->Emitter[0]->Death, 1);
    EXPECT_EQ(impulse->Emitter[1]->Death, 1);  // also 375 ms
    EXPECT_EQ(impulse->Emitter[2]->Death, 0);
    // A stopped emitter is no longer moved.
    const float stoppedX = impulse->Emitter[0]->x;
    GameClock = 1500;
    impulse->Update(1);
    EXPECT_FLOAT_EQ(impulse->Emitter[0]->x, stoppedX);
    EXPECT_EQ(impulse->Death, 0);
    // The impulse ends with its slowest line, 575 ms.
    GameClock = 1575;
    impulse->Update(1);
    EXPECT_EQ(impulse->Death, 0);
    EXPECT_EQ(impulse->Emitter[5]->Death, 0);
    GameClock = 1576;
    impulse->Update(1);
    EXPECT_EQ(impulse->Death, 1);
    for (const auto& e : impulse->Emitter) EXPECT_EQ(e->Death, 1);
}

TEST_F(ImpulseTest, EachImpulseEffectPlaysItsOwnSoundAndOthersNone) {
    const EffectPtr other = TEffect::New();
    const struct {
        const EffectPtr* effect;
        const SoundPtr* sound;  // null: silent
    } cases[] = {
        {&EFFECT_IMPULSE_LONGNOTE, &SOUND_GRYPH_LONG},
        {&EFFECT_IMPULSE_MELODY, &SOUND_GRYPH_MELODY},
        {&EFFECT_IMPULSE_STAR, &SOUND_GRYPH_CLICK},
        {&other, nullptr},
    };
    auto mixOf = [](const std::function<void()>& play) {
        CloseAudio();
        UseManualMixer();
        play();
        std::vector<int16_t> out(64 * 2, 0);
        MixerRender(out.data(), 64);
        return out;
    };
    const std::vector<int16_t> silence(64 * 2, 0);
    for (const auto& c : cases) {
        const std::vector<int16_t> heard = mixOf([&] { TImpulseEffect::Create(*c.effect); });
        const std::vector<int16_t> expected = mixOf([&] {
            if (c.sound) PlayGameSound(*c.sound);
        });
        EXPECT_EQ(heard, expected);
        EXPECT_EQ(heard == silence, c.sound == nullptr);
    }
    // A missing effect must not pass for an impulse effect that failed to load.
    EFFECT_IMPULSE_MELODY = nullptr;
    EXPECT_EQ(mixOf([] { TImpulseEffect::Create(nullptr); }), silence);
}

TEST_F(ImpulseTest, ImpulsesRunIndependentlyAndLeaveSeparately) {
    Bat->LineNum = 0;  // slowest line 575 ms
    TImpulseEffectController::CreateImpulse(EFFECT_IMPULSE_STAR);
    Bat->LineNum = 2;  // slowest line 475 ms
    TImpulseEffectController::CreateImpulse(EFFECT_IMPULSE_STAR);
    ASSERT_EQ(ImpulseEffects.size(), 2u);
    const ImpulseEffectPtr first = ImpulseEffects[0], second = ImpulseEffects[1];
    for (int i = 0; i < 6; ++i) EXPECT_NE(first->Emitter[i], second->Emitter[i]);

    GameClock = 1200;
    TImpulseEffectController::Update(1);
    // Same boundary, same moment, different speeds: different places.
    EXPECT_NE(first->Emitter[5]->y, second->Emitter[5]->y);

    GameClock = 1476;
    TImpulseEffectController::Update(1);
    ASSERT_EQ(ImpulseEffects.size(), 1u);
    EXPECT_EQ(ImpulseEffects[0], first);
    EXPECT_EQ(second->Death, 1);
    EXPECT_EQ(first->Death, 0);

    GameClock = 1576;
    TImpulseEffectController::Update(1);
    EXPECT_TRUE(ImpulseEffects.empty());
    EXPECT_EQ(first->Death, 1);
}

TEST_F(ImpulseTest, ResetDropsEveryLiveImpulse) {
    TImpulseEffectController::CreateImpulse(EFFECT_IMPULSE_MELODY);
    TImpulseEffectController::CreateImpulse(EFFECT_IMPULSE_LONGNOTE);
    ASSERT_EQ(ImpulseEffects.size(), 2u);
    TImpulseEffectController::Reset();
    EXPECT_TRUE(ImpulseEffects.empty());
}

TEST_F(ImpulseTest, TheEmittersJoinTheHighwaysBackList) {
    auto gryph = std::make_shared<TGryph>();
    ASSERT_EQ(CurrentGryph, gryph.get());
    const size_t before = gryph->EmittersBack.size();
    ImpulseEffectPtr impulse = TImpulseEffect::Create(EFFECT_IMPULSE_STAR);
    ASSERT_EQ(gryph->EmittersBack.size(), before + 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(gryph->EmittersBack[before + size_t(i)], impulse->Emitter[i]);
        EXPECT_EQ(impulse->Emitter[i]->Config, EFFECT_IMPULSE_STAR);
        EXPECT_EQ(impulse->Emitter[i]->DrawUnder, 0);
    }
}

TEST_F(ImpulseTest, WithoutAHighwayOrCatcherTheImpulseStillRuns) {
    ASSERT_EQ(CurrentGryph, nullptr);
    Bat = nullptr;
    ImpulseEffectPtr impulse = TImpulseEffect::Create(TEffect::New());
    // No catcher: timed as if it stood on the first line.
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(impulse->LineTime[i], ExpectedLineTime(i, 0));
    GameClock = 2000;
    impulse->Update(1);
    EXPECT_EQ(impulse->Death, 1);
}

}  // namespace
