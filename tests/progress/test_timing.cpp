// The player's timing: "timing.ini" read leniently and written whole, and
// the calibration measuring the sound delay from clicks along with a steady
// beat, then nudged and kept on "ok" or dropped on "cancel".
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/GameGlobals.h"
#include "gui/LayoutTestSupport.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"
#include "progress/TCalibration.h"
#include "progress/TimingFile.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(TimingFile, EachSettingThatCannotBeReadFallsBackToZero) {
    struct Case {
        const char* what;
        std::string text;
        int audio, video;
        bool damaged;
    };
    const Case cases[] = {
        {"as the game writes it", TimingText(35, -20), 35, -20, false},
        {"no file content", "", 0, 0, false},
        {"spaces, a plus sign, CRLF", "  audio_offset_ms=+12\r\nvideo_offset_ms =  7 \r\n", 12, 7, false},
        {"names a later version may add", "audio_offset_ms = 5\nmetronome = loud\n", 5, 0, false},
        {"held at the limits", "audio_offset_ms = 900\nvideo_offset_ms = -301\n", 300, -300, true},
        {"not a number", "audio_offset_ms = soon\nvideo_offset_ms = 4\n", 0, 4, true},
        {"a fraction", "audio_offset_ms = 12.5\n", 0, 0, true},
        {"a number too big for any integer", "video_offset_ms = 99999999999999999999999\n", 0, 0, true},
        {"a line without a value", "audio_offset_ms 40\n", 0, 0, true},
        {"nothing after the sign", "audio_offset_ms = +\n", 0, 0, true},
        {"random bytes", std::string("\x01\xff\x00=\x80", 5), 0, 0, true},
        {"bigger than any such file", "audio_offset_ms = 10\n" + std::string(20000, '#'), 0, 0, true},
    };
    for (const Case& c : cases) {
        const TimingValues v = ReadTimingText(Bytes(c.text));
        EXPECT_EQ(v.audioMs, c.audio) << c.what;
        EXPECT_EQ(v.videoMs, c.video) << c.what;
        EXPECT_EQ(v.damaged, c.damaged) << c.what;
    }
}

class TimingFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("totem-timing-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        saved_ = TimingFilePath;
        TimingFilePath = (dir_ / "timing.ini").string();
        AudioOffsetMs = VideoOffsetMs = 0;
    }
    void TearDown() override {
        TimingFilePath = saved_;
        AudioOffsetMs = VideoOffsetMs = 0;
        std::filesystem::remove_all(dir_);
    }
    void Write(const std::string& text) const { std::ofstream(TimingFilePath, std::ios::binary) << text; }
    std::filesystem::path dir_;
    std::string saved_;
};

TEST_F(TimingFileOnDisk, SavedSettingsLoadBackAndNoFileMeansNoDelay) {
    AudioOffsetMs = 7;
    VideoOffsetMs = 99;
    LoadTiming();
    EXPECT_EQ(AudioOffsetMs, 0) << "no file: no delay";
    EXPECT_EQ(VideoOffsetMs, 0);
    EXPECT_FALSE(std::filesystem::exists(TimingFilePath)) << "reading creates nothing";

    AudioOffsetMs = 42;
    VideoOffsetMs = -15;
    ASSERT_TRUE(SaveTiming());
    AudioOffsetMs = VideoOffsetMs = 0;
    LoadTiming();
    EXPECT_EQ(AudioOffsetMs, 42);
    EXPECT_EQ(VideoOffsetMs, -15);
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir_, ec))
        EXPECT_EQ(e.path().filename(), "timing.ini") << "no temporary file is left behind";
}

TEST_F(TimingFileOnDisk, ADamagedFileLoadsWhatItCanAndASaveReplacesIt) {
    Write("audio_offset_ms = 20\nvideo_offset_ms = ~~~\n");
    LoadTiming();
    EXPECT_EQ(AudioOffsetMs, 20);
    EXPECT_EQ(VideoOffsetMs, 0);
    ASSERT_TRUE(SaveTiming());
    EXPECT_FALSE(ReadTimingText(Bytes(TimingText(AudioOffsetMs, VideoOffsetMs))).damaged);
    std::ifstream in(TimingFilePath, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, TimingText(20, 0));
}

TEST_F(TimingFileOnDisk, AFolderThatCannotBeWrittenIsReportedNotPretended) {
    TimingFilePath = (dir_ / "missing" / "timing.ini").string();
    EXPECT_FALSE(SaveTiming());
}

TEST(CalibrationProposal, IsTheMedianLatenessOfTheClicksNearABeat) {
    std::vector<int32_t> beats;
    for (int i = 0; i < 16; ++i) beats.push_back(10000 + i * TCalibration::BEAT_MS);
    struct Case {
        const char* what;
        std::vector<int> lateness;  // one click per beat, from the first
        bool proposed;
        int proposal;
    };
    const Case cases[] = {
        {"on the beat", std::vector<int>(16, 0), true, 0},
        {"steadily late", std::vector<int>(16, 40), true, 40},
        {"steadily early", std::vector<int>(16, -25), true, -25},
        {"late with jitter and a stray", {110, 130, 120, 115, 125, 120, 290, 118, 122}, true, 120},
        {"an even count takes the middle two", {10, 20, 30, 40, 50, 60}, true, 35},
        {"half a beat off says nothing", {300, 300, 300, 300, 300, 300, 300}, false, 0},
        {"too few clicks", {40, 40, 40, 40, 40}, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> clicks;
        for (size_t i = 0; i < c.lateness.size(); ++i) clicks.push_back(beats[i] + c.lateness[i]);
        int proposal = 12345;
        EXPECT_EQ(TCalibration::Proposal(beats, clicks, proposal), c.proposed) << c.what;
        if (c.proposed) {
            EXPECT_EQ(proposal, c.proposal) << c.what;
        }
    }
}

// The calibration dialog on a layout of its own, under the driven clock, one
// millisecond a frame so a click lands exactly when the test puts it.
class CalibrationTest : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        Layout(R"(<window id="window_calibration" size="560 460" pos="-1 -1"/>
            <label id="status" window_id="window_calibration" text="121" font="FONT_T" pos="280 84" x_centered="1"/>
            <button id="start" window_id="window_calibration" image="IMG_BTN" pos="210 200"/>
            <button id="audio_less" window_id="window_calibration" image="IMG_KNOB" pos="60 270"/>
            <label id="audio" window_id="window_calibration" text="122" font="FONT_T" pos="280 282" x_centered="1"/>
            <button id="audio_more" window_id="window_calibration" image="IMG_KNOB" pos="470 270"/>
            <button id="video_less" window_id="window_calibration" image="IMG_KNOB" pos="60 320"/>
            <label id="video" window_id="window_calibration" text="123" font="FONT_T" pos="280 332" x_centered="1"/>
            <button id="video_more" window_id="window_calibration" image="IMG_KNOB" pos="470 320"/>
            <button id="ok" window_id="window_calibration" image="IMG_BTN" pos="100 392"/>
            <button id="cancel" window_id="window_calibration" image="IMG_BTN" pos="320 392"/>)");
        TextTable[121] = "idle";
        TextTable[122] = "sound %s";
        TextTable[123] = "picture %s";
        TextTable[126] = "too few";
        TextTable[127] = "late %s";
        dir_ = std::filesystem::temp_directory_path() / ("totem-calibration-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        saved_ = TimingFilePath;
        TimingFilePath = (dir_ / "timing.ini").string();
        AudioOffsetMs = 10;
        VideoOffsetMs = -5;
        UseDrivenClock(50000);
        UseManualMixer();
        dialog = OpenCalibration();
        Frame();
    }
    void TearDown() override {
        if (IsSkipped()) return;
        dialog.reset();
        TimingFilePath = saved_;
        AudioOffsetMs = VideoOffsetMs = 0;
        std::filesystem::remove_all(dir_);
        CloseAudio();
        UseRealClock();
        LayoutTest::TearDown();
    }

    // Presses "start" and plays the run through, with a press of Space
    // `lateness[i]` ms after the i-th measured beat (none where absent). With
    // one-millisecond frames each beat plays exactly when it is due: the
    // first one beat after "start", then one every BEAT_MS.
    void Measure(const std::vector<int>& lateness) {
        // A run right after another waits out a beat (see below).
        AdvanceClock(TCalibration::BEAT_MS);
        const int32_t first = ClockMs() + TCalibration::BEAT_MS;
        dialog->DePress(TCalibration::Button_START_ID);
        ASSERT_TRUE(dialog->Measuring());
        std::vector<int32_t> due;
        for (size_t i = 0; i < lateness.size(); ++i)
            due.push_back(first + (TCalibration::COUNT_IN_BEATS + int(i)) * TCalibration::BEAT_MS + lateness[i]);
        for (int guard = 0; dialog->Measuring() && guard < 20000; ++guard) {
            const int32_t now = ClockMs();
            for (const int32_t t : due)
                if (t == now) InjectKey(KEY_SPACE, true), InjectKey(KEY_SPACE, false);
            Frame();
            AdvanceClock(1);
        }
        EXPECT_FALSE(dialog->Measuring()) << "the run ends on its own";
    }

    std::shared_ptr<TCalibration> dialog;
    std::filesystem::path dir_;
    std::string saved_;
};

TEST_F(CalibrationTest, ClicksAtAKnownLatenessAreProposedAsTheSoundDelay) {
    for (int lateness : {0, 47, -30, 180}) {
        SCOPED_TRACE(lateness);
        Measure(std::vector<int>(TCalibration::MEASURED_BEATS, lateness));
        EXPECT_NEAR(dialog->AudioMs, lateness, 2);
    }
    EXPECT_EQ(AudioOffsetMs, 10) << "nothing is in force before ok";
}

TEST_F(CalibrationTest, TooFewClicksProposeNothing) {
    Measure({40, 40, 40});
    EXPECT_EQ(dialog->AudioMs, 10) << "the value shown stays";
}

TEST_F(CalibrationTest, NudgesThenOkPutTheValuesInForceAndInTheFile) {
    Measure(std::vector<int>(TCalibration::MEASURED_BEATS, 60));
    dialog->DePress(TCalibration::Button_AUDIO_MORE_ID);
    dialog->DePress(TCalibration::Button_VIDEO_LESS_ID);
    dialog->DePress(TCalibration::Button_VIDEO_LESS_ID);
    EXPECT_NEAR(dialog->AudioMs, 65, 2);
    EXPECT_EQ(dialog->VideoMs, -15);
    const int audio = dialog->AudioMs;
    dialog->DePress(TCalibration::Button_OK_ID);
    EXPECT_FALSE(WidgetManager->Contains(dialog.get()));
    EXPECT_EQ(AudioOffsetMs, audio);
    EXPECT_EQ(VideoOffsetMs, -15);
    AudioOffsetMs = VideoOffsetMs = 0;
    LoadTiming();
    EXPECT_EQ(AudioOffsetMs, audio);
    EXPECT_EQ(VideoOffsetMs, -15);
}

TEST_F(CalibrationTest, CancelLeavesEverythingAsItWas) {
    Measure(std::vector<int>(TCalibration::MEASURED_BEATS, 90));
    dialog->DePress(TCalibration::Button_VIDEO_MORE_ID);
    dialog->DePress(TCalibration::Button_CANCEL_ID);
    EXPECT_FALSE(WidgetManager->Contains(dialog.get()));
    EXPECT_EQ(AudioOffsetMs, 10);
    EXPECT_EQ(VideoOffsetMs, -5);
    EXPECT_FALSE(std::filesystem::exists(TimingFilePath));
}

// The player clicks along with the pointer resting on "start": a click that
// comes just after the run ended is a late one for the last beat, not a new
// run; a beat later "start" starts again.
TEST_F(CalibrationTest, AClickJustAfterTheRunDoesNotStartAnother) {
    Measure(std::vector<int>(TCalibration::MEASURED_BEATS, 40));
    dialog->DePress(TCalibration::Button_START_ID);
    EXPECT_FALSE(dialog->Measuring());
    EXPECT_NEAR(dialog->AudioMs, 40, 2) << "the result stays on show";
    AdvanceClock(TCalibration::BEAT_MS);
    dialog->DePress(TCalibration::Button_START_ID);
    EXPECT_TRUE(dialog->Measuring());
}

TEST_F(CalibrationTest, NudgesStopAtTheLimitsAndButtonsWaitWhileMeasuring) {
    for (int i = 0; i < 100; ++i) dialog->DePress(TCalibration::Button_AUDIO_MORE_ID);
    EXPECT_EQ(dialog->AudioMs, MAX_OFFSET_MS);
    dialog->DePress(TCalibration::Button_START_ID);
    dialog->DePress(TCalibration::Button_CANCEL_ID);
    EXPECT_TRUE(WidgetManager->Contains(dialog.get())) << "a press during the run is a click, not a button";
    EXPECT_TRUE(dialog->Measuring());
}

}  // namespace
