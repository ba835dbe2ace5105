// The options: "options.dat" read leniently and written whole, and the
// dialog applying the volume at once, the display mode on "ok" only, and
// putting everything back on "cancel".
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "game/GameGlobals.h"
#include "gui/LayoutTestSupport.h"
#include "media/Audio.h"
#include "progress/TOptions.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FloatBytes(float v, int flag) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24), uint8_t(flag)};
}

TEST(OptionsFile, EachPartThatCannotBeReadFallsBackToItsDefault) {
    struct Case {
        const char* what;
        Bytes bytes;
        float volume;
        int fullScreen;
        bool damaged;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"the default file", {0x00, 0x00, 0x00, 0x3F, 0x01}, 0.5f, 1, false},
        {"quiet, windowed", FloatBytes(0.25f, 0), 0.25f, 0, false},
        {"below audible reads as silence", FloatBytes(0.02f, 0), 0.0f, 0, false},
        {"empty", {}, 0.5f, 1, true},
        {"too short for the flag", {0x00, 0x00, 0x80, 0x3E}, 0.25f, 1, true},
        {"too short for the volume", {0x00, 0x00}, 0.5f, 1, true},
        {"volume not a number", FloatBytes(nan, 0), 0.5f, 0, true},
        {"volume above 1", FloatBytes(2.0f, 0), 0.5f, 0, true},
        {"volume below 0", FloatBytes(-1.0f, 1), 0.5f, 1, true},
        {"flag neither 0 nor 1", FloatBytes(0.75f, 7), 0.75f, 1, true},
    };
    for (const Case& c : cases) {
        const OptionsValues v = ReadOptionsBytes(c.bytes);
        EXPECT_EQ(v.volume, c.volume) << c.what;
        EXPECT_EQ(v.fullScreen, c.fullScreen) << c.what;
        EXPECT_EQ(v.damaged, c.damaged) << c.what;
    }
}

class OptionsTest : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        Layout(R"(<window id="window_options" size="440 360" pos="-1 -1"/>
            <scrollbarh id="sound" window_id="window_options" image_empty="IMG_TRACK" image_full="IMG_TRACK" image_marker="IMG_KNOB" height="24" pos="60 130"/>
            <checkbox id="full_screen" window_id="window_options" image_checked="IMG_KNOB" image_unchecked="IMG_KNOB" pos="60 190"/>
            <button id="ok" window_id="window_options" image="IMG_BTN" pos="60 276"/>
            <button id="cancel" window_id="window_options" image="IMG_BTN" pos="240 276"/>)");
        dir_ = std::filesystem::temp_directory_path() / ("totem-options-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        saved_ = OptionsFilePath;
        OptionsFilePath = (dir_ / "options.dat").string();
        savedVolume_ = SoundVolume;
        savedFull_ = FullScreen;
        SoundVolume = 0.5f;
        FullScreen = 0;
        UseManualMixer();
        std::vector<int16_t> pcm(44100, 8000);
        music_ = MakeSound(pcm);
        MenuMusic = PlaySound(music_);
        ASSERT_TRUE(MenuMusic);
        MenuMusic->SetVolume(SoundVolume);
    }
    void TearDown() override {
        if (IsSkipped()) return;
        if (MenuMusic) MenuMusic->Stop();
        MenuMusic = nullptr;
        OptionsFilePath = saved_;
        SoundVolume = savedVolume_;
        FullScreen = savedFull_;
        std::filesystem::remove_all(dir_);
        LayoutTest::TearDown();
    }
    static SoundPtr MakeSound(const std::vector<int16_t>& mono);
    // How loud the menus' song plays now: one mixed sample.
    static int Loudness() {
        int16_t out[2] = {};
        MixerRender(out, 1);
        return std::abs(out[0]);
    }
    Bytes FileBytes() const {
        std::ifstream in(OptionsFilePath, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path dir_;
    std::string saved_;
    float savedVolume_ = 0;
    int savedFull_ = 0;
    SoundPtr music_;
};

SoundPtr OptionsTest::MakeSound(const std::vector<int16_t>& mono) {
    // A WAV in memory: 16-bit mono at the mixer's rate.
    Bytes wav;
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) wav.push_back(uint8_t(v >> (8 * i))); };
    auto put16 = [&](uint16_t v) { wav.push_back(uint8_t(v)); wav.push_back(uint8_t(v >> 8)); };
    const uint32_t data = uint32_t(mono.size() * 2);
    wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
    put32(36 + data);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16); put16(1); put16(1); put32(MIXER_RATE); put32(MIXER_RATE * 2); put16(2); put16(16);
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    put32(data);
    for (int16_t s : mono) put16(uint16_t(s));
    return LoadSound(OpenMemory(wav, "tone.wav"), SOUND_LOOP);
}

TEST_F(OptionsTest, TheSliderSetsTheVolumeAtOnceAndOkKeepsItInFiveBytes) {
    const auto options = OpenOptions();
    Frame();
    const int before = Loudness();
    ASSERT_GT(before, 0);
    options->ScrollBarChanged(TOptions::Scroll_SOUND_ID, 1.0f);
    EXPECT_EQ(SoundVolume, 1.0f);
    EXPECT_NEAR(Loudness(), 2 * before, 2) << "the song follows the slider at once";
    options->ScrollBarChanged(TOptions::Scroll_SOUND_ID, 0.02f);
    EXPECT_EQ(SoundVolume, 0.0f) << "the far left end is silence";
    EXPECT_EQ(Loudness(), 0);
    Key(KEY_ENTER);
    EXPECT_EQ(FileBytes(), (Bytes{0, 0, 0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(OptionsFilePath + ".tmp"));
    EXPECT_FALSE(WidgetManager->Contains(options.get()));
}

TEST_F(OptionsTest, CancelPutsTheVolumeAndTheFlagBackAndWritesNothing) {
    const auto options = OpenOptions();
    Frame();
    const int before = Loudness();
    options->ScrollBarChanged(TOptions::Scroll_SOUND_ID, 0.9f);
    options->CheckBoxChecked(TOptions::CB_FullScreen_ID, 1);
    Key(KEY_ESCAPE);
    EXPECT_EQ(SoundVolume, 0.5f);
    EXPECT_EQ(FullScreen, 0);
    EXPECT_NEAR(Loudness(), before, 2);
    EXPECT_FALSE(std::filesystem::exists(OptionsFilePath));
}

TEST_F(OptionsTest, FullScreenToggledTwiceAndOkWritesTheFileWithoutReopening) {
    const auto options = OpenOptions();
    Frame();
    options->CheckBoxChecked(TOptions::CB_FullScreen_ID, 1);
    options->CheckBoxChecked(TOptions::CB_FullScreen_ID, 0);
    options->DePress(TOptions::Button_OK_ID);
    EXPECT_EQ(FileBytes(), OptionsBytes(0.5f, 0));
    EXPECT_TRUE(DisplayIsOpen());
}

TEST_F(OptionsTest, AMissingFileIsCreatedWithTheDefaultsAndADamagedOneStillLoads) {
    TOptions::LoadOptions();
    EXPECT_EQ(FileBytes(), (Bytes{0x00, 0x00, 0x00, 0x3F, 0x01}));
    EXPECT_EQ(SoundVolume, 0.5f);
    EXPECT_EQ(FullScreen, 1);
    std::ofstream(OptionsFilePath, std::ios::binary | std::ios::trunc) << "x";
    SoundVolume = 0.1f;
    TOptions::LoadOptions();
    EXPECT_EQ(SoundVolume, 0.5f);
    EXPECT_EQ(FullScreen, 1);
}

}  // namespace
