#include "media/AudioTestSupport.h"

using audio_fixtures::DecodeOggWhole;
using audio_fixtures::SineOgg;

namespace {

// One long stereo track shared by the tests below (encoding it takes a moment).
struct Track {
    std::vector<uint8_t> ogg;
    std::vector<int16_t> pcm;  // the reference decode, interleaved stereo
    int64_t frames() const { return int64_t(pcm.size() / 2); }
};

const Track& LongTrack() {
    static const Track track = [] {
        Track t;
        t.ogg = SineOgg(2, 44100, STREAM_ABOVE_SECONDS + 1.0);
        t.pcm = DecodeOggWhole(t.ogg);
        return t;
    }();
    return track;
}

class StreamTest : public ManualMixerTest {
protected:
    // The track inside a larger file at an odd offset, read through a window,
    // as sounds stored in the data pack are.
    static SoundPtr LoadFromPack(int flags = 0) {
        const Track& t = LongTrack();
        std::vector<uint8_t> pack(777 + t.ogg.size() + 555, 0xCD);
        std::fill(pack.begin(), pack.begin() + 777, uint8_t(0xAB));
        std::copy(t.ogg.begin(), t.ogg.end(), pack.begin() + 777);
        return LoadSound(OpenWindow(OpenMemory(pack), 777, int64_t(t.ogg.size()), "song.ogg"), flags);
    }
    // Compares `count` mixed frames (one side) with the reference from `from`.
    static void ExpectMatches(const std::vector<int16_t>& mix, int side, int64_t mixFrom, int64_t refFrom,
                              int64_t count) {
        const auto& pcm = LongTrack().pcm;
        for (int64_t k = 0; k < count; ++k) {
            int64_t r = (refFrom + k) % LongTrack().frames();
            ASSERT_EQ(mix[size_t(2 * (mixFrom + k) + side)], pcm[size_t(2 * r + side)])
                << "mixed frame " << mixFrom + k;
        }
    }
};

TEST_F(StreamTest, LongTrackIsStreamedAndMatchesTheWholeDecode) {
    const Track& t = LongTrack();
    ASSERT_GT(t.frames(), int64_t(STREAM_ABOVE_SECONDS * 44100));
    auto s = LoadFromPack();
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->Streamed());
    EXPECT_EQ(s->Frames(), t.frames());
    EXPECT_EQ(s->Channels(), 2);
    auto ch = PlaySound(s);
    // Render in uneven pieces, with frame updates in between as the game does.
    std::vector<int16_t> mix;
    int64_t done = 0;
    int piece = 0;
    while (done < t.frames()) {
        int n = int(std::min<int64_t>(t.frames() - done, 500 + (piece++ * 997) % 3000));
        auto part = Render(n);
        mix.insert(mix.end(), part.begin(), part.end());
        done += n;
        if (piece % 3 == 0) AudioUpdate();
    }
    EXPECT_EQ(ch->Playing(), 0);
    EXPECT_EQ(ch->Position(), t.frames());
    ExpectMatches(mix, 0, 0, 0, t.frames());
    ExpectMatches(mix, 1, 0, 0, t.frames());
    EXPECT_EQ(FirstSound(Render(100), 0), -1);
}

TEST_F(StreamTest, ShortOggIsDecodedWhole) {
    auto ogg = SineOgg(2, 44100, 1.0);
    auto pcm = DecodeOggWhole(ogg);
    auto s = Load(ogg);
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->Streamed());
    EXPECT_EQ(s->Frames(), int64_t(pcm.size() / 2));
    PlaySound(s);
    auto mix = Render(int(pcm.size() / 2));
    EXPECT_EQ(mix, pcm);
}

TEST_F(StreamTest, TwoChannelsOfOneStreamDecodeIndependently) {
    auto s = LoadFromPack();
    ASSERT_TRUE(s && s->Streamed());
    auto a = PlaySound(s);
    a->SetPan(-1);
    Render(50000);
    auto b = PlaySound(s);
    b->SetPan(1);
    auto mix = Render(40000);
    ExpectMatches(mix, 0, 0, 50000, 40000);
    // b plays the right channel of the track from its start.
    const auto& pcm = LongTrack().pcm;
    for (int k = 0; k < 40000; ++k) ASSERT_EQ(mix[size_t(2 * k + 1)], pcm[size_t(2 * k + 1)]) << k;
    EXPECT_EQ(a->Position(), 90000);
    EXPECT_EQ(b->Position(), 40000);
}

TEST_F(StreamTest, LoopingStreamRestartsSeamlessly) {
    const Track& t = LongTrack();
    auto s = LoadFromPack(SOUND_LOOP);
    ASSERT_TRUE(s && s->Streamed());
    auto ch = PlaySound(s);
    Render(int(t.frames() - 3000));
    auto seam = Render(20000);
    ExpectMatches(seam, 0, 0, t.frames() - 3000, 20000);
    ExpectMatches(seam, 1, 0, t.frames() - 3000, 20000);
    EXPECT_EQ(ch->Playing(), 1);
    EXPECT_EQ(ch->Position(), 17000);
}

TEST_F(StreamTest, PausedStreamResumesAtTheSameSampleAfterLongFrames) {
    auto s = LoadFromPack();
    auto ch = PlaySound(s);
    Render(12345);
    ch->SetPaused(1);
    for (int i = 0; i < 5; ++i) {
        Render(44100);
        AudioUpdate();
    }
    EXPECT_EQ(ch->Position(), 12345);
    ch->SetPaused(0);
    auto mix = Render(2000);
    ExpectMatches(mix, 0, 0, 12345, 2000);
}

TEST_F(StreamTest, StreamAtDoubleRateReadsEveryOtherFrame) {
    auto s = LoadFromPack();
    auto ch = PlaySound(s);
    ch->SetRate(2.0f);
    auto mix = Render(100000);
    const auto& pcm = LongTrack().pcm;
    for (int k = 0; k < 100000; ++k) ASSERT_EQ(mix[size_t(2 * k)], pcm[size_t(4 * k)]) << k;
    EXPECT_EQ(ch->Position(), 200000);
}

// Tracks put back in step after the game stalled: two channels of one track
// (one heard on the left, one on the right, as the band and lead tracks) move
// together, whether the track is streamed or held decoded, looping or not.
TEST_F(StreamTest, SeekMovesChannelsTogetherToTheSameSample) {
    const Track& t = LongTrack();
    std::vector<int> samples(t.pcm.begin(), t.pcm.end());
    const std::vector<uint8_t> wav = audio_fixtures::Wav16(2, samples);
    struct Case {
        const char* name;
        bool streamed, loops;
        int64_t ms;
        bool paused;
    };
    const int64_t lengthMs = t.frames() * 1000 / 44100;
    const Case cases[] = {
        {"streamed, forward", true, false, 7000, false},   {"streamed, back", true, false, 300, false},
        {"held, forward", false, false, 7000, false},      {"held, back", false, false, 300, false},
        {"streamed, paused", true, false, 2500, true},     {"streamed loop, wraps", true, true, lengthMs + 1000, false},
        {"held loop, wraps", false, true, lengthMs + 1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = c.streamed ? LoadFromPack(c.loops ? SOUND_LOOP : 0) : Load(wav, c.loops ? SOUND_LOOP : 0);
        ASSERT_TRUE(s);
        ASSERT_EQ(s->Streamed(), c.streamed);
        auto a = PlaySound(s), b = PlaySound(s);
        a->SetPan(-1);
        b->SetPan(1);
        Render(60000);
        AudioUpdate();
        if (c.paused) a->SetPaused(1), b->SetPaused(1);
        ASSERT_TRUE(SeekChannels({a, b}, c.ms));
        const int64_t frame = (c.ms * 44100 / 1000) % t.frames();
        EXPECT_EQ(a->Position(), frame);
        EXPECT_EQ(b->Position(), frame);
        if (c.paused) {
            EXPECT_EQ(a->Playing(), 0) << "a seek does not unpause";
            EXPECT_EQ(FirstSound(Render(1000), 0), -1);
            a->SetPaused(0), b->SetPaused(0);
        }
        const auto mix = Render(30000);
        ExpectMatches(mix, 0, 0, frame, 30000);
        ExpectMatches(mix, 1, 0, frame, 30000);
        a->Stop();
        b->Stop();
        AudioUpdate();
    }
}

TEST_F(StreamTest, SeekPastTheEndFinishesAndSeekBackPlaysAgain) {
    const Track& t = LongTrack();
    for (bool streamed : {true, false}) {
        SCOPED_TRACE(streamed ? "streamed" : "held");
        std::vector<int> samples(t.pcm.begin(), t.pcm.end());
        auto s = streamed ? LoadFromPack() : Load(audio_fixtures::Wav16(2, samples));
        ASSERT_TRUE(s);
        auto ch = PlaySound(s);
        Render(1000);
        ASSERT_TRUE(SeekChannels({ch}, t.frames() * 1000 / 44100 + 500));
        EXPECT_EQ(ch->Playing(), 0);
        EXPECT_EQ(FirstSound(Render(2000), 0), -1);
        AudioUpdate();  // the finished channel leaves the mixer's list
        ASSERT_TRUE(SeekChannels({ch}, 1000));
        EXPECT_EQ(ch->Playing(), 1);
        const auto mix = Render(5000);
        ExpectMatches(mix, 0, 0, 44100, 5000);
        ch->Stop();
    }
}

TEST_F(StreamTest, SeekSkipsNullAndStoppedChannels) {
    auto s = LoadFromPack();
    auto a = PlaySound(s), b = PlaySound(s);
    Render(1000);
    b->Stop();
    EXPECT_TRUE(SeekChannels({nullptr, b, a}, 2000));
    EXPECT_EQ(a->Position(), 88200);
    EXPECT_EQ(b->Playing(), 0);
    EXPECT_EQ(AudioLeadMs(), 0) << "the manual mixer's positions are what is mixed";
    EXPECT_FALSE(AudioKeepsTime()) << "the manual mixer moves only when a test mixes";
    UseSilentMixer();
    EXPECT_TRUE(AudioKeepsTime());
    EXPECT_EQ(AudioLeadMs(), 0);
}

}  // namespace
