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

}  // namespace
