#include <cmath>

#include "media/AudioTestSupport.h"

using audio_fixtures::Wav16;

namespace {

using MixerTest = ManualMixerTest;

TEST_F(MixerTest, CuedChannelsStartOnTheSameOutputSample) {
    // An impulse on the left and a ramp on the right, cued at different
    // moments; neither may sound before StartCued, and both must begin on the
    // first frame after it.
    std::vector<int> impulse(200, 0);
    impulse[0] = 12000;
    auto a = Load(Wav16(1, impulse));
    auto b = Load(Wav16(1, Ramp(200)));
    ASSERT_TRUE(a && b);
    auto ca = CueSound(a);
    ca->SetPan(-1);
    auto before = Render(333);
    auto cb = CueSound(b);
    cb->SetPan(1);
    auto between = Render(77);
    EXPECT_EQ(ca->Playing(), 0);
    EXPECT_EQ(cb->Playing(), 0);
    EXPECT_EQ(FirstSound(before, 0), -1);
    EXPECT_EQ(FirstSound(between, 0), -1);
    EXPECT_EQ(FirstSound(between, 1), -1);

    StartCued({ca, cb});
    EXPECT_EQ(ca->Playing(), 1);
    EXPECT_EQ(cb->Playing(), 1);
    auto after = Render(50);
    EXPECT_EQ(FirstSound(after, 0), 0);
    EXPECT_EQ(FirstSound(after, 1), 0);
    EXPECT_EQ(after[0], 12000);
    EXPECT_EQ(after[1], RampAt(0));
    EXPECT_EQ(after[2 * 10 + 1], RampAt(10));
}

TEST_F(MixerTest, PauseAndResumeContinueAtTheSameSample) {
    auto s = Load(Wav16(1, Ramp(4000)));
    ASSERT_TRUE(s);
    auto ch = PlaySound(s);
    auto first = Render(1000);
    EXPECT_EQ(first[2 * 999], RampAt(999));
    ch->SetPaused(1);
    EXPECT_EQ(ch->Playing(), 0);
    EXPECT_EQ(ch->Position(), 1000);
    auto paused = Render(500);
    EXPECT_EQ(FirstSound(paused, 0), -1);
    EXPECT_EQ(ch->Position(), 1000);
    ch->SetPaused(0);
    EXPECT_EQ(ch->Playing(), 1);
    auto resumed = Render(3);
    EXPECT_EQ(resumed[0], RampAt(1000));
    EXPECT_EQ(resumed[2], RampAt(1001));
    EXPECT_EQ(ch->Position(), 1003);
}

TEST_F(MixerTest, VolumeScalesAndZeroSilences) {
    auto s = Load(Wav16(1, std::vector<int>(64, 20000)));
    ASSERT_TRUE(s);
    for (float volume : {1.0f, 0.5f, 0.25f, 0.0f}) {
        auto ch = PlaySound(s);
        ch->SetVolume(volume);
        auto mix = Render(32);
        ch->Stop();
        SCOPED_TRACE(volume);
        EXPECT_EQ(mix[0], std::lrint(20000 * volume));
        EXPECT_EQ(mix[1], std::lrint(20000 * volume));
        EXPECT_EQ(mix[63], std::lrint(20000 * volume));
    }
}

TEST_F(MixerTest, PanMovesTheSoundBetweenSides) {
    struct Case {
        float pan;
        float left, right;  // gains
    };
    const Case cases[] = {{0.0f, 1, 1}, {-1.0f, 1, 0}, {1.0f, 0, 1}, {0.5f, 0.5f, 1}, {-0.25f, 1, 0.75f}};
    auto mono = Load(Wav16(1, std::vector<int>(16, 16000)));
    // Stereo source: the left channel carries 10000, the right -6000.
    std::vector<int> lr;
    for (int i = 0; i < 16; ++i) lr.insert(lr.end(), {10000, -6000});
    auto stereo = Load(Wav16(2, lr));
    ASSERT_TRUE(mono && stereo);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pan);
        auto m = PlaySound(mono);
        m->SetPan(c.pan);
        auto mix = Render(8);
        m->Stop();
        EXPECT_EQ(mix[8], std::lrint(16000 * c.left));
        EXPECT_EQ(mix[9], std::lrint(16000 * c.right));
        auto s = PlaySound(stereo);
        s->SetPan(c.pan);
        mix = Render(8);
        s->Stop();
        EXPECT_EQ(mix[8], std::lrint(10000 * c.left));
        EXPECT_EQ(mix[9], std::lrint(-6000 * c.right));
    }
}

TEST_F(MixerTest, RateChangesSpeedAndLength) {
    const int n = 1000;
    auto s = Load(Wav16(1, Ramp(n)));
    ASSERT_TRUE(s);
    struct Case {
        float rate;
        int length;  // output frames until the end
    };
    for (Case c : {Case{2.0f, 500}, Case{0.5f, 2000}, Case{4.0f, 250}}) {
        SCOPED_TRACE(c.rate);
        auto ch = PlaySound(s);
        ch->SetRate(c.rate);
        auto mix = Render(c.length - 1);
        EXPECT_EQ(ch->Playing(), 1);
        Render(1);
        EXPECT_EQ(ch->Playing(), 0);
        // Output frame k reads source position k·rate, interpolated linearly.
        for (int k : {0, 1, 7, c.length / 2, c.length - 2}) {
            double p = k * double(c.rate);
            int i = int(p);
            double expected = RampAt(i) + (p - i) * 7;
            EXPECT_NEAR(mix[size_t(2 * k)], expected, 0.5) << "frame " << k;
        }
    }
}

TEST_F(MixerTest, RateChangeTakesEffectMidSound) {
    auto s = Load(Wav16(1, Ramp(2000)));
    auto ch = PlaySound(s);
    Render(100);
    ch->SetRate(2.0f);
    auto mix = Render(10);
    EXPECT_EQ(mix[0], RampAt(100));
    EXPECT_EQ(mix[2], RampAt(102));
    EXPECT_EQ(ch->Position(), 120);
}

TEST_F(MixerTest, SoundFinishesAfterItsLength) {
    auto s = Load(Wav16(1, Ramp(300)));
    auto ch = PlaySound(s);
    auto mix = Render(299);
    EXPECT_EQ(ch->Playing(), 1);
    EXPECT_EQ(mix[2 * 298], RampAt(298));
    mix = Render(10);
    EXPECT_EQ(mix[0], RampAt(299));
    EXPECT_EQ(mix[2], 0);
    EXPECT_EQ(ch->Playing(), 0);
    EXPECT_EQ(ch->Position(), 300);
    AudioUpdate();  // forgets the finished channel; the handle stays valid
    EXPECT_EQ(ch->Playing(), 0);
}

TEST_F(MixerTest, LoopingSoundRepeatsWithoutAGap) {
    const int n = 100;
    auto s = Load(Wav16(1, Ramp(n)), SOUND_LOOP);
    ASSERT_TRUE(s && s->Loops());
    auto ch = PlaySound(s);
    auto mix = Render(1050);
    for (int k = 0; k < 1050; ++k) ASSERT_EQ(mix[size_t(2 * k)], RampAt(k % n)) << "frame " << k;
    EXPECT_EQ(ch->Playing(), 1);
    EXPECT_EQ(ch->Position(), 50);
    // Across the seam at half speed, the last frame blends into the first.
    ch->SetRate(0.5f);
    Render(99);
    mix = Render(2);
    EXPECT_EQ(mix[0], (RampAt(99) + RampAt(0)) / 2);
    EXPECT_EQ(mix[2], RampAt(0));
}

TEST_F(MixerTest, StoppedChannelIgnoresEverythingAndIsNotReused) {
    auto s = Load(Wav16(1, Ramp(500)));
    auto ch = PlaySound(s);
    Render(10);
    ch->Stop();
    ch->SetPaused(0);
    ch->SetVolume(1);
    ch->SetRate(2);
    EXPECT_EQ(ch->Playing(), 0);
    EXPECT_EQ(FirstSound(Render(100), 0), -1);
    auto again = PlaySound(s, ch);
    ASSERT_TRUE(again);
    EXPECT_NE(again, ch);
    EXPECT_EQ(ch->Playing(), 0);
    EXPECT_EQ(again->Playing(), 1);
}

TEST_F(MixerTest, PlayingOnAChannelReplacesItsSoundAndSettings) {
    std::vector<int> loud(400, 9000);
    auto a = Load(Wav16(1, loud), SOUND_LOOP);
    auto b = Load(Wav16(1, Ramp(400)));
    auto ch = PlaySound(a);
    ch->SetVolume(0.5f);
    ch->SetPan(-0.5f);
    ch->SetRate(3.0f);
    ch->SetPaused(1);
    Render(50);
    auto same = PlaySound(b, ch);
    EXPECT_EQ(same, ch);
    EXPECT_EQ(ch->Playing(), 1);
    auto mix = Render(4);
    // Only the new sound, at volume 1, centred, at normal speed.
    EXPECT_EQ(mix[0], RampAt(0));
    EXPECT_EQ(mix[1], RampAt(0));
    EXPECT_EQ(mix[6], RampAt(3));
    EXPECT_EQ(mix[7], RampAt(3));
    // A cue on a playing channel leaves it paused at the start of the new sound.
    CueSound(a, ch);
    EXPECT_EQ(ch->Playing(), 0);
    EXPECT_EQ(ch->Position(), 0);
    EXPECT_EQ(FirstSound(Render(20), 0), -1);
}

TEST_F(MixerTest, ChannelsAddUpAndClipAtFullScale) {
    auto s = Load(Wav16(1, std::vector<int>(32, 20000)));
    auto a = PlaySound(s);
    auto b = PlaySound(s);
    auto mix = Render(4);
    EXPECT_EQ(mix[0], 32767);
    a->SetVolume(0.25f);
    b->SetVolume(0.25f);
    mix = Render(4);
    EXPECT_EQ(mix[0], 10000);
}

TEST_F(MixerTest, NullSoundStartsNothing) {
    EXPECT_EQ(PlaySound(nullptr), nullptr);
    EXPECT_EQ(CueSound(nullptr), nullptr);
    StartCued({nullptr});
    EXPECT_EQ(FirstSound(Render(10), 0), -1);
}

}  // namespace
