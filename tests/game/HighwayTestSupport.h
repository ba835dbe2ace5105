#pragma once
// A real highway for the rules-of-play tests: the game controller with its
// highway, a song folder written on the spot (an in-memory chart and two short
// Ogg tracks), a driven clock, the mixer run by hand and input injected
// through the window system. Each frame is one call of the highway's Update
// with the clock moved first, as the main loop does it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../media/GraphicsTestSupport.h"
#include "MidiBuilder.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "fx/TEffect.h"
#include "game/TImpulseEffectController.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/HighwayGeometry.h"
#include "game/TBat.h"
#include "game/TBonus50.h"
#include "game/TFret.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TMidiNote.h"
#include "game/TNote.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"
#include "media/OggEncoder.h"

namespace highway_test {

// Chart note numbers at octave shift 0 are the game's own numbers.
constexpr int kLine0 = 84;
constexpr int kFret = 89;
constexpr int kBonus = 91;
constexpr int kFlash = 92;
// Velocities: a plain short note, a long note (keeps its length), a starred one.
constexpr int kPlain = 70;
constexpr int kLong = 100;
constexpr int kStarred = 127;

constexpr float kWindowLow = HighwayGeometry::kCatchWindowOpen;
constexpr float kWindowHigh = HighwayGeometry::kCatchWindowClose;

// The two tracks: the lead ("guitar.ogg") a tone on the left only, the band
// ("song.ogg") a tone on the right only, so the mix tells them apart.
inline const std::vector<uint8_t>& TrackOgg(bool lead) {
    static const auto make = [](bool left) {
        constexpr int kRate = 44100;
        constexpr size_t kFrames = size_t(kRate) * 6;
        std::vector<float> pcm(kFrames * 2, 0.0f);
        const double hz = left ? 440.0 : 660.0;
        for (size_t i = 0; i < kFrames; ++i)
            pcm[i * 2 + (left ? 0 : 1)] = float(0.5 * std::sin(2 * M_PI * hz * double(i) / kRate));
        OggEncodeSettings settings;
        settings.serial = left ? 11 : 12;
        std::vector<uint8_t> out;
        std::string error;
        EncodeOggVorbis(pcm.data(), kFrames, settings, out, &error);
        return out;
    };
    static const std::vector<uint8_t> guitar = make(true);
    static const std::vector<uint8_t> song = make(false);
    return lead ? guitar : song;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline EffectPtr TestEffect() {
    EffectPtr e = TEffect::New();
    e->alpha = {1, 0};
    return e;
}

class HighwayTest : public gfxtest::DisplayTest {
protected:
    GamePtr game;
    TGryph* gryph = nullptr;
    std::filesystem::path songs;

    void SetUp() override {
        gfxtest::DisplayTest::SetUp();
        if (IsSkipped()) return;
        UseDrivenClock(1000);
        UseManualMixer();
        GameClock = 0;
        LevelSpeed = 1.0f;
        SoundVolume = 1.0f;
        const int rgb[5][3] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {200, 200, 40}, {150, 60, 220}};
        for (int i = 0; i < 5; ++i) LineColors[i] = TColor::Create(rgb[i][0], rgb[i][1], rgb[i][2]);
        ColorWhite = TColor::Create(255, 255, 255);
        ColorGold = TColor::Create(243, 206, 0);
        FastScalePulse = TCurveValue::Create(1, 1, 2);
        SlowScalePulse = TCurveValue::Create(1, 1, 10);
        for (EffectPtr* e : {&EFFECT_NOTE, &EFFECT_NOTE_STAR, &EFFECT_MELODY, &EFFECT_LINE, &EFFECT_NOTE_GOLD,
                             &EFFECT_BONUS50, &EFFECT_BONUS50_PICK, &EFFECT_STARSLONG, &EFFECT_IMPULSE_STAR,
                             &EFFECT_IMPULSE_LONGNOTE, &EFFECT_IMPULSE_MELODY})
            *e = TestEffect();
        TImpulseEffectController::Reset();
        ClearGameplayEvents();
        ResetInput();

        songs = std::filesystem::temp_directory_path() /
                ("totem_ruletests_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(songs);
        std::filesystem::create_directories(songs);
        TGryph::SongsFolder = songs.string() + "/";

        WidgetManager = std::make_shared<TWidgetmanager>();
        game = std::make_shared<TGame>();
        WidgetManager->AddWidget(game);
        ASSERT_TRUE(game->Gryph) << "the controller builds its highway when it enters the widget manager";
        gryph = game->Gryph.get();
        game->LevelInfo = std::make_shared<TLevelInfo>();
        game->LevelInfo->id = 1;
        game->LevelInfo->song = "song";
        game->LevelInfo->complexity = 0;
        game->LevelInfo->speed = 1.0f;
    }

    void TearDown() override {
        if (gryph) gryph->StopGame();
        gryph = nullptr;
        if (game && WidgetManager) WidgetManager->RemoveWidget(game);
        game = nullptr;
        WidgetManager = nullptr;
        Bat = nullptr;
        CurrentLevelStat = nullptr;
        TImpulseEffectController::Reset();
        ResetInput();
        CloseAudio();
        UseRealClock();
        LevelSpeed = 1.0f;
        TGryph::SongsFolder = "media/songs/";
        std::error_code ignored;
        if (!songs.empty()) std::filesystem::remove_all(songs, ignored);
        gfxtest::DisplayTest::TearDown();
    }

    static void ResetInput() {
        MoveMouse(400, 300);
        PollEvents();
        ClearKeys();
        ClearMouse();
    }

    // Writes the song folder "song" with `chart` and starts it at `speed`.
    void LoadChart(const midi_test::Chart& chart, float speed = 1.0f) {
        const std::filesystem::path folder = songs / "song";
        std::filesystem::create_directories(folder);
        WriteFile(folder / "notes.mid", chart.Build());
        WriteFile(folder / "guitar.ogg", TrackOgg(true));
        WriteFile(folder / "song.ogg", TrackOgg(false));
        LevelSpeed = speed;
        game->LevelInfo->speed = speed;
        ASSERT_EQ(gryph->Load("song", 0, 0), 0);
        ASSERT_TRUE(Bat);
        ASSERT_TRUE(CurrentLevelStat);
        EXPECT_EQ(GameClock, 0.0f) << "loading starts the song clock at 0";
    }

    // A chart whose one note comes long after any test is over, so the
    // highway stays empty for items a test puts on it itself.
    void LoadQuietChart() { LoadChart(midi_test::Chart().Note(200000, kLine0, kPlain)); }

    // One frame of `ms` milliseconds (dt counts 17 ms units, as the main loop's).
    void Frame(float ms = 17) {
        GameClock += ms;
        AdvanceClock(int32_t(ms));
        PollEvents();
        gryph->Update(ms / 17.0f);
    }
    void Run(int totalMs, float step = 17) {
        for (float done = 0; done + step <= float(totalMs) + 0.001f; done += step) Frame(step);
    }
    // Frames until the song clock reaches `songMs` (the last frame may be short).
    void RunUntil(int songMs, float step = 17) {
        while (GameClock + step <= float(songMs)) Frame(step);
        if (GameClock < float(songMs)) Frame(float(songMs) - GameClock);
    }

    // The catcher on `line`: its target and its line, as after moving there.
    void PutBatOn(int line) {
        Bat->mx = HighwayGeometry::CatchPoint(line).x;
        Bat->LineNum = line;
    }

    // Injected presses are seen by MouseDown/KeyDown from the next poll on.
    static void Mouse(bool down) { InjectMouseButton(1, down); }
    static void Space(bool down) { InjectKey(KEY_SPACE, down); }

    // Puts an item on the highway at progress t now, as the spawn would.
    template <typename T>
    std::shared_ptr<T> Put(std::shared_ptr<T> item, float t, int noteNumber) {
        item->owner = gryph;
        item->MidiNote = std::make_shared<TMidiNote>();
        item->MidiNote->note = noteNumber;
        item->MidiNote->single = 1;
        item->time = t;
        item->UpdTime = GameClock;
        gryph->Items.push_front(item);
        return item;
    }
    NotePtr PutNote(int line, float t, int starred = 0, float length = 0) {
        return Put(TNote::Create(line, 1, length, starred), t, kLine0 + line);
    }
    FretPtr PutFret(float t) { return Put(TFret::Create(), t, kFret); }

    // Progress an item put on now at `t` has after `ms` of frames at speed s.
    static float After(float t, float ms, float speed) { return t + ms / 30.0f * speed; }

    static int Prizes(const std::string& name) { return CountGameplayEvents(EventTarget::Prizes, name); }
    static int Hints(const std::string& name) { return CountGameplayEvents(EventTarget::Hints, name); }

    std::vector<int> ComboValues() const {
        std::vector<int> v;
        for (const auto& r : gryph->RazogrevList) v.push_back(r->value);
        return v;
    }
    void FillCombo(std::initializer_list<int> values) {
        gryph->RazogrevList.clear();
        for (int v : values) gryph->RazogrevList.push_back(TRazogrevValue::Create(v));
    }
    void FillCombo(int count, int value) {
        gryph->RazogrevList.clear();
        for (int i = 0; i < count; ++i) gryph->RazogrevList.push_back(TRazogrevValue::Create(value));
    }

    // Loudness of the lead (left) and band (right) in the mix of the next
    // 4096 frames; the first half is skipped so a volume change has settled.
    struct Levels {
        double lead, band;
    };
    static Levels Listen() {
        std::vector<int16_t> mix(4096 * 2);
        MixerRender(mix.data(), 4096);
        double l = 0, r = 0;
        for (size_t f = 2048; f < 4096; ++f) {
            l += double(mix[f * 2]) * mix[f * 2];
            r += double(mix[f * 2 + 1]) * mix[f * 2 + 1];
        }
        return {std::sqrt(l / 2048), std::sqrt(r / 2048)};
    }
    // A tone of amplitude 0.5 at full volume has an RMS of about 11600.
    static constexpr double kAudible = 4000;
    static constexpr double kSilent = 300;
};

}  // namespace highway_test
