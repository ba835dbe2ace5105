#include <filesystem>
#include <fstream>

#include "media/AudioTestSupport.h"

using audio_fixtures::MakeWav;
using audio_fixtures::SineOgg;
using audio_fixtures::Wav16;

namespace {

using LoadTest = ManualMixerTest;

struct WavCase {
    const char* name;
    int channels, rate, bits;
};

// Each case is loaded and played at volume 1, pan 0; what comes out must be
// the file's samples (8-bit ones scaled to 16 bits), a mono file on both
// sides, at the right speed.
TEST_F(LoadTest, WavFormatsDecodeToTheirSamples) {
    const WavCase cases[] = {
        {"16-bit mono", 1, 44100, 16},  {"16-bit stereo", 2, 44100, 16},
        {"8-bit mono", 1, 44100, 8},    {"8-bit stereo", 2, 44100, 8},
        {"16-bit mono 22050", 1, 22050, 16}, {"8-bit stereo 11025", 2, 11025, 8},
    };
    for (const WavCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int frames = 120;
        std::vector<int> samples;   // as stored in the file
        std::vector<int> expected;  // as 16-bit values
        for (int i = 0; i < frames; ++i) {
            for (int ch = 0; ch < c.channels; ++ch) {
                if (c.bits == 8) {
                    int v = (i * 2 + ch * 60) % 256;
                    samples.push_back(v);
                    expected.push_back((v - 128) * 256);
                } else {
                    int v = (ch == 0 ? 1 : -1) * (i * 250 - 12000);
                    samples.push_back(v);
                    expected.push_back(v);
                }
            }
        }
        auto s = Load(MakeWav(c.channels, c.rate, c.bits, samples));
        ASSERT_TRUE(s);
        EXPECT_FALSE(s->Streamed());
        EXPECT_EQ(s->Channels(), c.channels);
        EXPECT_EQ(s->Rate(), c.rate);
        EXPECT_EQ(s->Frames(), frames);
        const int stretch = 44100 / c.rate;  // output frames per source frame
        auto ch = PlaySound(s);
        auto mix = Render(frames * stretch - 1);
        EXPECT_EQ(ch->Playing(), 1);
        auto last = Render(1);
        mix.insert(mix.end(), last.begin(), last.end());
        EXPECT_EQ(ch->Playing(), 0);
        for (int i : {0, 1, 57, frames - 1}) {
            int left = expected[size_t(i * c.channels)];
            int right = expected[size_t(i * c.channels + c.channels - 1)];
            EXPECT_EQ(mix[size_t(2 * i * stretch)], left) << "frame " << i;
            EXPECT_EQ(mix[size_t(2 * i * stretch + 1)], right) << "frame " << i;
        }
        if (stretch == 2) {  // halfway between two source frames: their mean
            int a = expected[size_t(10 * c.channels)], b = expected[size_t(11 * c.channels)];
            EXPECT_NEAR(mix[size_t(2 * 21)], (a + b) / 2.0, 0.5);
        }
    }
}

TEST_F(LoadTest, WavSkipsUnknownChunksAndAcceptsAnOddDataLength) {
    // A LIST chunk between the header and the data, and an 8-bit mono file of
    // odd length with its pad byte.
    std::vector<uint8_t> wav = MakeWav(1, 44100, 8, {128, 200, 50});
    std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    wav.insert(wav.begin() + 36, list.begin(), list.end());
    uint32_t riff = uint32_t(wav.size() - 8);
    for (int i = 0; i < 4; ++i) wav[size_t(4 + i)] = uint8_t(riff >> (8 * i));
    auto s = Load(wav);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Frames(), 3);
    PlaySound(s);
    auto mix = Render(3);
    EXPECT_EQ(mix[0], 0);
    EXPECT_EQ(mix[2], 72 * 256);
    EXPECT_EQ(mix[4], -78 * 256);
}

std::vector<uint8_t> Cut(std::vector<uint8_t> b, size_t n) {
    b.resize(std::min(n, b.size()));
    return b;
}

std::vector<uint8_t> Garbage(size_t n, uint32_t seed, const char* magic = nullptr) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> b(n);
    for (auto& x : b) x = uint8_t(rng());
    if (magic) std::copy(magic, magic + 4, b.begin());
    return b;
}

TEST_F(LoadTest, BadInputGivesNullWithoutReadingOutOfBounds) {
    const std::vector<uint8_t> wav = Wav16(2, Ramp(400));
    const std::vector<uint8_t> ogg = SineOgg(1, 22050, 0.5);
    ASSERT_TRUE(Load(wav));
    ASSERT_TRUE(Load(ogg));
    auto withField = [&](size_t at, uint32_t v, int bytes) {
        std::vector<uint8_t> b = wav;
        for (int i = 0; i < bytes && at + size_t(i) < b.size(); ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
        return b;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"three bytes", {'R', 'I', 'F'}},
        {"riff only", Cut(wav, 12)},
        {"header cut inside fmt", Cut(wav, 30)},
        {"no data chunk", Cut(wav, 36)},
        {"data cut short", Cut(wav, wav.size() - 7)},
        {"data size larger than file", withField(40, 0x7FFFFFF0u, 4)},
        {"compressed format tag", withField(20, 2, 2)},
        {"24-bit samples", withField(34, 24, 2)},
        {"three channels", withField(22, 3, 2)},
        {"zero rate", withField(24, 0, 4)},
        {"block size mismatch", withField(32, 3, 2)},
        {"empty data", MakeWav(1, 44100, 16, {})},
        {"random bytes", Garbage(5000, 1)},
        {"random bytes after RIFF", Garbage(5000, 2, "RIFF")},
        {"random bytes after OggS", Garbage(5000, 3, "OggS")},
        {"ogg cut in its headers", Cut(ogg, 100)},
        {"ogg cut after its headers", Cut(ogg, 4000)},
        {"ogg cut in the middle", Cut(ogg, ogg.size() / 2)},
        {"ogg missing its last byte", Cut(ogg, ogg.size() - 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Load(c.bytes), nullptr);
        EXPECT_EQ(Load(c.bytes, SOUND_LOOP), nullptr);
    }
    EXPECT_EQ(LoadSound(std::string("no/such/sound.ogg")), nullptr);
    EXPECT_EQ(LoadSound(StreamPtr()), nullptr);
}

TEST_F(LoadTest, OggCorruptedInTheMiddleFailsOrPlaysSafely) {
    // Flipped bytes inside the audio pages must not crash loading or playing;
    // the loader may reject the file or play what it can.
    std::vector<uint8_t> ogg = SineOgg(2, 44100, 0.5);
    for (size_t at = ogg.size() / 3; at < ogg.size() / 3 + 200; ++at) ogg[at] ^= 0x5A;
    auto s = Load(ogg);
    if (s) {
        auto ch = PlaySound(s);
        Render(int(s->Frames()) + 10);
        EXPECT_EQ(ch->Playing(), 0);
    }
}

TEST_F(LoadTest, LoadsFromAFilePath) {
    auto dir = std::filesystem::temp_directory_path() / "totem_audio_load";
    std::filesystem::create_directories(dir);
    auto wav = Wav16(1, Ramp(50));
    std::ofstream(dir / "beep.wav", std::ios::binary).write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
    auto s = LoadSound((dir / "beep.wav").string());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Frames(), 50);
    std::filesystem::remove_all(dir);
}

}  // namespace
