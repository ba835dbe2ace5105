#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "../media/AudioFixtures.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "progress/Prizes.h"
#include "progress/ProgressGlobals.h"
#include "progress/TPrizeWidget.h"
#include "progress/TPrizesControl.h"

namespace progress_test {

// Every prize picture global, in the table's order.
inline std::vector<ImagePtr*> PrizeImageGlobals() {
    return {&IMAGE_PRIZES_5STARS,   &IMAGE_PRIZES_10STARS,  &IMAGE_PRIZES_5LINES,   &IMAGE_PRIZES_10LINES,
            &IMAGE_PRIZES_5MELODY,  &IMAGE_PRIZES_10MELODY, &IMAGE_PRIZES_15MELODY, &IMAGE_PRIZES_10SERIES,
            &IMAGE_PRIZES_20SERIES, &IMAGE_PRIZES_40SERIES, &IMAGE_PRIZES_100SERIES, &IMAGE_PRIZES_x2,
            &IMAGE_PRIZES_x4,       &IMAGE_PRIZES_ALLNOTES, &IMAGE_PRIZES_NOTES,    &IMAGE_PRIZES_LINES,
            &IMAGE_PRIZES_MELODY,   &IMAGE_PRIZES_LONG};
}

// A level's prizes armed for a fresh profile, 64 × 64 pictures, a widget
// manager to show the pop-ups in, and a fanfare the mixer can be asked about:
// every start of it adds the same amount to the first mixed sample.
class PrizeTest : public ::testing::Test {
protected:
    static constexpr int kFanfare = 1000;

    void SetUp() override {
        UseDrivenClock(1000);
        GameClock = 0;
        for (ImagePtr* image : PrizeImageGlobals()) *image = CreateImage(64, 64);
        UseManualMixer();
        // Fanfares are counted by their summed loudness, so they must play at
        // the loudness measured here, whatever an earlier test left.
        savedVolume_ = SoundVolume;
        SoundVolume = 1;
        SOUND_RESULT_ACHIVEMENT = LoadSound(OpenMemory(audio_fixtures::Wav16(1, std::vector<int>(32, kFanfare))));
        ASSERT_TRUE(SOUND_RESULT_ACHIVEMENT);
        PlaySound(SOUND_RESULT_ACHIVEMENT);
        oneFanfare_ = FirstSample();
        ASSERT_GT(oneFanfare_, 0);
        WidgetManager = std::make_shared<TWidgetmanager>();
        UserList.clear();
        CurrentUser = std::make_shared<TUser>();
        CurrentUser->name = "Ann";
        UserList.push_back(CurrentUser);
        PrizeWidgets.clear();
        TPrizesControl::CreatePrizes();
    }

    void TearDown() override {
        TPrizeWidget::RemoveAll();
        ArmedPrizes.clear();
        NewPrizes.clear();
        WidgetManager = nullptr;
        UserList.clear();
        CurrentUser = nullptr;
        for (ImagePtr* image : PrizeImageGlobals()) *image = nullptr;
        SOUND_RESULT_ACHIVEMENT = nullptr;
        SoundVolume = savedVolume_;
        CloseAudio();
        UseRealClock();
    }

    // How many fanfares started since the last call (they are mixed away).
    int FanfaresStarted() const { return (FirstSample() + oneFanfare_ / 2) / oneFanfare_; }

    // Mixes past the end of every fanfare playing; the first sample mixed.
    static int FirstSample() {
        std::vector<int16_t> mix(2 * 64);
        MixerRender(mix.data(), 64);
        return std::abs(static_cast<int>(mix[0]));
    }

    int oneFanfare_ = 0;
    float savedVolume_ = 0;

    static std::vector<std::string> Names(const std::vector<PrizePtr>& prizes) {
        std::vector<std::string> names;
        for (const PrizePtr& p : prizes) names.push_back(ClassNameOf(p));
        return names;
    }

    static std::vector<int> PopUpTops() {
        std::vector<int> tops;
        for (const PrizeWidgetPtr& w : PrizeWidgets) tops.push_back(static_cast<int>(w->_y));
        return tops;
    }

    static bool Armed(const std::string& name) {
        return std::any_of(ArmedPrizes.begin(), ArmedPrizes.end(),
                           [&](const PrizePtr& p) { return ClassNameOf(p) == name; });
    }

    static void Send(const std::string& name, int times = 1) {
        for (int i = 0; i < times; ++i) TPrizesControl::SendEvent(name);
    }

    // Frames of the widget manager while `ms` of GameClock pass.
    static void Pass(int ms) {
        for (int t = 0; t < ms; t += 17) {
            GameClock += 17;
            WidgetManager->Update(1);
        }
    }
};

}  // namespace progress_test
