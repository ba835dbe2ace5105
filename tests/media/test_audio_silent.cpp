#include <cstdlib>
#include <functional>
#include <random>
#include <thread>

#include "media/AudioTestSupport.h"
#include "media/Clock.h"
#include "media/Input.h"

using audio_fixtures::Wav16;

namespace {

class SilentMixerTest : public ::testing::Test {
protected:
    void SetUp() override { UseDrivenClock(5000); }
    void TearDown() override {
        CloseAudio();
        UseRealClock();
    }
};

TEST_F(SilentMixerTest, ChannelPlaysForTheSoundsLengthOnTheClock) {
    UseSilentMixer();
    EXPECT_FALSE(AudioDeviceOpen());
    // Half a second at 44.1 kHz, and a quarter second at 22.05 kHz.
    auto half = LoadSound(OpenMemory(Wav16(1, std::vector<int>(22050, 1000))));
    auto quarter = LoadSound(OpenMemory(Wav16(2, std::vector<int>(2 * 5513, 1000), 22050)));
    ASSERT_TRUE(half && quarter);
    auto a = PlaySound(half);
    auto b = PlaySound(quarter);
    int elapsed = 0;
    while (elapsed < 700) {
        AdvanceClock(16);
        elapsed += 16;
        AudioUpdate();
        int64_t mixed = int64_t(elapsed) * 44100 / 1000;
        SCOPED_TRACE(elapsed);
        EXPECT_EQ(a->Playing(), mixed < 22050 ? 1 : 0);
        EXPECT_EQ(b->Playing(), mixed < 2 * 5513 ? 1 : 0);
        if (mixed < 22050) {
            EXPECT_EQ(a->Position(), mixed);
        }
    }
}

TEST_F(SilentMixerTest, UnevenUpdatesAddUpWithoutDrift) {
    UseSilentMixer();
    auto s = LoadSound(OpenMemory(Wav16(1, std::vector<int>(441000, 1))), SOUND_LOOP);
    auto ch = PlaySound(s);
    // 7 ms steps do not map to whole frames; after 1001 of them the position
    // must still be exactly 7.007 s of frames.
    for (int i = 0; i < 1001; ++i) {
        AdvanceClock(7);
        AudioUpdate();
    }
    EXPECT_EQ(ch->Position(), 7007 * 441 / 10);
    // A paused channel does not move; nor does anything while the clock stands.
    ch->SetPaused(1);
    AdvanceClock(500);
    AudioUpdate();
    AudioUpdate();
    EXPECT_EQ(ch->Position(), 7007 * 441 / 10);
}

TEST(AudioDevice, MissingDeviceLogsOneLineAndRunsSilently) {
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    std::string driver = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    UseDrivenClock(0);
    ::testing::internal::CaptureStdout();
    OpenAudio();
    OpenAudio();  // a second call changes nothing and prints nothing
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(AudioDeviceOpen());
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    auto s = LoadSound(OpenMemory(Wav16(1, std::vector<int>(4410, 1))));
    auto ch = PlaySound(s);
    AdvanceClock(99);
    AudioUpdate();
    EXPECT_EQ(ch->Playing(), 1);
    AdvanceClock(1);
    AudioUpdate();
    EXPECT_EQ(ch->Playing(), 0);
    CloseAudio();
    UseRealClock();
    if (saved)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

TEST(AudioDevice, DeviceCallbackPlaysASoundToItsEnd) {
    // Runs where the dummy or a real driver is available; the callback must
    // consume the sound in about its real length.
    OpenAudio();
    if (!AudioDeviceOpen()) {
        CloseAudio();
        GTEST_SKIP() << "no audio device here";
    }
    auto s = LoadSound(OpenMemory(Wav16(1, std::vector<int>(2205, 500))));
    auto ch = PlaySound(s);
    EXPECT_EQ(ch->Playing(), 1);
    for (int i = 0; i < 300 && ch->Playing(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        AudioUpdate();
    }
    EXPECT_EQ(ch->Playing(), 0);
    EXPECT_GE(ch->Position(), 2205);
    CloseAudio();
}

// Headphones unplugged mid-level: the tracks must keep their time with the
// chart, silently, and play aloud again once a device is found.
TEST(AudioDevice, RemovedDevicePlaysOnSilentlyInTimeAndComesBackOnRetry) {
    OpenAudio();
    if (!AudioDeviceOpen()) {
        CloseAudio();
        GTEST_SKIP() << "no audio device here";
    }
    UseDrivenClock(1000);
    auto track = LoadSound(OpenMemory(Wav16(1, std::vector<int>(44100 * 5, 700))));
    auto ch = PlaySound(track);
    for (int i = 0; i < 100 && ch->Position() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        AudioUpdate();
    }
    RetryAudioDevice();  // with the device there, nothing changes
    EXPECT_TRUE(AudioDeviceOpen());

    InjectAudioDeviceRemoved();
    PollEvents();
    EXPECT_FALSE(AudioDeviceOpen());
    const int64_t removedAt = ch->Position();
    AdvanceClock(500);
    AudioUpdate();
    EXPECT_EQ(ch->Playing(), 1);
    EXPECT_EQ(ch->Position(), removedAt + 22050) << "half a second of the clock, half a second of sound";

    RetryAudioDevice();
    ASSERT_TRUE(AudioDeviceOpen());
    const int64_t backAt = ch->Position();
    for (int i = 0; i < 200 && ch->Position() == backAt; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        AudioUpdate();
    }
    EXPECT_GT(ch->Position(), backAt) << "the device plays the channel on from where it was";
    CloseAudio();
    UseRealClock();
}

}  // namespace

namespace {

TEST(AudioDevice, MainThreadWorksOnChannelsWhileTheDevicePlays) {
    // Starting, restarting, retuning and stopping channels, streamed ones
    // included, while the audio thread mixes them. Meant to be run under the
    // sanitizers as well; here it checks that playback moves and ends cleanly.
    OpenAudio();
    if (!AudioDeviceOpen()) {
        CloseAudio();
        GTEST_SKIP() << "no audio device here";
    }
    auto song = LoadSound(OpenMemory(audio_fixtures::SineOgg(2, 22050, STREAM_ABOVE_SECONDS + 0.5)), SOUND_LOOP);
    auto blip = LoadSound(OpenMemory(Wav16(1, std::vector<int>(500, 3000))));
    ASSERT_TRUE(song && song->Streamed() && blip);
    auto a = CueSound(song);
    auto b = CueSound(song);
    StartCued({a, b});
    std::mt19937 rng(7);
    std::vector<ChannelPtr> blips;
    for (int i = 0; i < 60; ++i) {
        blips.push_back(PlaySound(blip, blips.empty() || rng() % 2 ? nullptr : blips[rng() % blips.size()]));
        blips.back()->SetRate(0.5f + float(rng() % 8) * 0.25f);
        b->SetPan(float(int(rng() % 3) - 1));
        a->SetVolume(float(rng() % 4) / 4.0f);
        if (i % 20 == 10) b = PlaySound(song, b);
        if (i % 7 == 0) blips[rng() % blips.size()]->Stop();
        AudioUpdate();
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
    EXPECT_GT(a->Position(), 0);
    EXPECT_EQ(a->Playing(), 1);
    a->Stop();
    b->Stop();
    EXPECT_EQ(a->Playing(), 0);
    CloseAudio();
    for (auto& ch : blips) EXPECT_EQ(ch->Playing(), 0);
}

}  // namespace

// The mixer's count of channels, which a soak compares at rest: it holds
// what plays, what is paused and what is cued, and lets go of what ended.
TEST_F(SilentMixerTest, ChannelCountHoldsLiveChannelsAndLetsGoOfEndedOnes) {
    UseSilentMixer();
    const int idle = MixerChannelCount();
    auto half = LoadSound(OpenMemory(Wav16(1, std::vector<int>(22050, 1000))));  // 500 ms
    auto loop = LoadSound(OpenMemory(Wav16(1, std::vector<int>(4410, 1000))), SOUND_LOOP);
    ASSERT_TRUE(half && loop);
    ChannelPtr once, looping, cued;
    struct Step {
        const char* what;
        std::function<void()> act;
        int held;  // channels above the idle count afterwards
    };
    const Step steps[] = {
        {"a sound plays", [&] { once = PlaySound(half); }, 1},
        {"a loop plays", [&] { looping = PlaySound(loop); }, 2},
        {"a sound is cued", [&] { cued = CueSound(half); }, 3},
        {"a channel restarted is still one", [&] { PlaySound(half, once); }, 3},
        {"the loop is paused", [&] { looping->SetPaused(1); }, 3},
        {"the sound ends; paused and cued stay", [&] {
             AdvanceClock(600);
             AudioUpdate();
         }, 2},
        {"the cued one is stopped", [&] { cued->Stop(); }, 1},
        {"the loop is stopped", [&] { looping->Stop(); }, 0},
        {"a new sound that ends unseen", [&] {
             PlaySound(half);
             AdvanceClock(600);
             AudioUpdate();
         }, 0},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(MixerChannelCount(), idle + s.held) << s.what;
    }
}
