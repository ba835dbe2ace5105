#pragma once
// Helpers shared by the audio tests: a fixture that mixes by hand and ways to
// read the mix back.
#include <gtest/gtest.h>

#include <vector>

#include "media/Audio.h"
#include "media/TStream.h"
#include "media/AudioFixtures.h"

class ManualMixerTest : public ::testing::Test {
protected:
    void SetUp() override { UseManualMixer(); }
    void TearDown() override { CloseAudio(); }

    // The next `frames` frames of the mix, interleaved left/right.
    static std::vector<int16_t> Render(int frames) {
        std::vector<int16_t> out(size_t(frames) * 2, int16_t(0x5A5A));
        MixerRender(out.data(), frames);
        return out;
    }
    static SoundPtr Load(const std::vector<uint8_t>& bytes, int flags = 0) {
        return LoadSound(OpenMemory(bytes), flags);
    }
    // A mono 16-bit sound whose frame i is 100 + 7·i, easy to recognise anywhere.
    static std::vector<int> Ramp(int frames) {
        std::vector<int> s(size_t(frames), 0);
        for (int i = 0; i < frames; ++i) s[size_t(i)] = 100 + 7 * i;
        return s;
    }
    static int RampAt(int i) { return 100 + 7 * i; }
};

// Index of the first frame whose channel `side` (0 left, 1 right) is not
// zero, or -1.
inline int FirstSound(const std::vector<int16_t>& mix, int side) {
    for (size_t f = 0; f * 2 < mix.size(); ++f)
        if (mix[f * 2 + size_t(side)] != 0) return int(f);
    return -1;
}
