#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "media/Audio.h"
#include "media/OggEncoder.h"
#include "media/TStream.h"

namespace {

std::vector<float> Tone(size_t frames, int channels, double hz, double amplitude) {
    std::vector<float> s(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[i * channels + c] = static_cast<float>(amplitude * std::sin(2 * M_PI * hz * double(i) / 44100.0));
    return s;
}

}  // namespace

TEST(OggEncoder, SameInputAndSerialGiveTheSameBytes) {
    const auto tone = Tone(22050, 2, 440, 0.5);
    std::vector<uint8_t> a, b, c;
    OggEncodeSettings settings;
    settings.serial = 77;
    ASSERT_TRUE(EncodeOggVorbis(tone.data(), 22050, settings, a, nullptr));
    ASSERT_TRUE(EncodeOggVorbis(tone.data(), 22050, settings, b, nullptr));
    settings.serial = 78;
    ASSERT_TRUE(EncodeOggVorbis(tone.data(), 22050, settings, c, nullptr));
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    ASSERT_GE(a.size(), 4u);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "OggS");
}

TEST(OggEncoder, TheGameDecodesWhatWasEncoded) {
    UseSilentMixer();
    for (int channels : {1, 2}) {
        const size_t frames = 44100 / 2;
        const auto tone = Tone(frames, channels, 330, 0.6);
        std::vector<uint8_t> bytes;
        OggEncodeSettings settings;
        settings.channels = channels;
        std::string error;
        ASSERT_TRUE(EncodeOggVorbis(tone.data(), frames, settings, bytes, &error)) << error;
        SoundPtr sound = LoadSound(OpenMemory(bytes, "tone.ogg"), 0);
        ASSERT_TRUE(sound) << "channels " << channels;
        EXPECT_EQ(sound->Frames(), int64_t(frames)) << "channels " << channels;
        EXPECT_EQ(sound->Channels(), channels);
        EXPECT_EQ(sound->Rate(), 44100);
    }
}

TEST(OggEncoder, RefusesWhatItCannotEncode) {
    const auto tone = Tone(100, 2, 440, 0.5);
    struct Case {
        const char* what;
        OggEncodeSettings settings;
        size_t frames;
    } cases[] = {
        {"three channels", {3, 44100, 0.4f, 1}, 100},
        {"rate too low", {2, 100, 0.4f, 1}, 100},
        {"no samples", {2, 44100, 0.4f, 1}, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out{1, 2, 3};
        std::string error;
        EXPECT_FALSE(EncodeOggVorbis(tone.data(), c.frames, c.settings, out, &error)) << c.what;
        EXPECT_TRUE(out.empty()) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}
